#!/usr/bin/env bash
# Starts the real game under a virtual X server with an EGL core context, waits until its window is
# up and drawing, then stops it the way a desktop does (SIGTERM, which SDL turns into a quit).
# The game must end by itself with exit code 0.
set -u
game=${1:?game binary}
export SDL_VIDEO_X11_FORCE_EGL=1 SDL_AUDIODRIVER=dummy
log=$(mktemp)
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
  "$0" & pid=$!
  for i in $(seq 1 100); do
    if xdotool search --name "^Vov Aruzezudor$" >/dev/null 2>&1; then break; fi
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  if ! xdotool search --name "^Vov Aruzezudor$" >/dev/null 2>&1; then echo "no window"; kill -9 $pid; exit 90; fi
  sleep 2
  kill -0 $pid || { echo "game died early"; wait $pid; exit 91; }
  kill -TERM $pid
  for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "game ignored SIGTERM"; kill -9 $pid; exit 92; fi
  wait $pid
' "$game" >"$log" 2>&1
rc=$?
cat "$log"; rm -f "$log"
echo "exit code: $rc"
exit $rc
