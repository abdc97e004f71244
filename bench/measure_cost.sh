#!/usr/bin/env bash
# The game's cost beside its floor (vov_floor: the same window doing only the GL work every frame
# must do), in one run, measured from outside as a player's system sees it: the CPU of all threads
# from /proc, the peak resident memory (VmHWM), the time from start to the window, and the game's
# CPU while another window has the focus. Needs Xvfb and xdotool. With SHOT (a .png path) the
# screen is saved as the game's CPU is read, to see that it was the main menu left alone (needs
# /usr/bin/python3 with PIL).
#     bench/measure_cost.sh BUILD_DIR [SECONDS] [SHOT]
set -u
build=${1:?build folder holding run/, bench/vov_floor}
secs=${2:-10}
shot=${3:-}
export SDL_VIDEO_X11_FORCE_EGL=1 SDL_AUDIODRIVER=dummy
work=$(mktemp -d)
fb=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work" "$fb"' EXIT
for f in Vedezaviva.zez Countries Flags vov-aruzezudor; do ln -s "$(realpath "$build/run/$f")" "$work/$f"; done
ln -s "$(realpath "$build/bench/vov_floor")" "$work/vov_floor"
printf 'LANGUAGE=ENGLISH\nFULLSCREEN=NO\nBGMVOLUME=128\nSFXVOLUME=128\n' >"$work/config.ini"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x720x24 -nolisten tcp -fbdir "$fb" >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
tck=$(getconf CLK_TCK)

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Starts a program; $pid, $wid and $window (milliseconds until its window exists) are set.
start() {
    local t0; t0=$(now_ms)
    (cd "$work" && exec "./$1" "${@:2}") >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 600); do
        wid=$(xdotool search --all --pid "$pid" --name "^Vov Aruzezudor$" 2>/dev/null | head -1)
        [ -n "$wid" ] && break
        sleep 0.005
    done
    window=$(($(now_ms) - t0))
}
# CPU share of one core (all threads) over $secs seconds.
cpu() {
    local a b; a=$(ticks "$1"); sleep "$secs"; b=$(ticks "$1")
    awk -v a="$a" -v b="$b" -v t="$tck" -v s="$secs" 'BEGIN {printf "%.1f", 100 * (b - a) / t / s}'
}
# The X screen (Xvfb keeps it as an XWD file) written as a PNG.
screenshot() {
    /usr/bin/python3 - "$fb/Xvfb_screen0" "$1" <<'PY'
import struct, sys
from PIL import Image
data = open(sys.argv[1], "rb").read()
head = struct.unpack(">25I", data[:100])
width, height, pitch, colours = head[4], head[5], head[12], head[19]
start = head[0] + 12 * colours
Image.frombuffer("RGBX", (width, height), data[start:start + pitch * height], "raw", "BGRX", pitch, 1).convert("RGB").save(sys.argv[2])
PY
}
hwm() { awk '/VmHWM/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }

start vov_floor 600
floor_pid=$pid floor_wid=$wid
# Focused, as the game will be: a window without the focus (SDL asks again and again for the input
# grab it wants) holds Xvfb at three quarters of a core and slows the floor to under 40 frames a
# second, a floor cheaper than any focused game. A focus given before the window is mapped can be
# lost, so it is given twice.
for _ in 1 2; do xdotool windowfocus --sync "$floor_wid" 2>/dev/null; sleep 2; done
sleep 2
floor_cpu=$(cpu "$floor_pid")
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
echo "floor: window ${window} ms, CPU ${floor_cpu} %, peak resident $(hwm "$floor_pid") MB"

# Stopped while the game is measured: once the game has the focus, the floor's window would hold
# Xvfb at three quarters of a core (above) and take the game's CPU. It goes on for the focus test.
kill -STOP "$floor_pid"
start vov-aruzezudor
game_pid=$pid game_wid=$wid
xdotool windowfocus --sync "$game_wid" 2>/dev/null
# The logos cut short (Return would go on to Play; the main menu ignores Escape). A loaded machine
# may still be loading when the first presses come, so they go on for 15 s.
for _ in $(seq 1 30); do xdotool key Escape; sleep 0.5; done
sleep 8                                                       # the main menu, left alone
game_cpu=$(cpu "$game_pid")
[ -n "$shot" ] && screenshot "$shot"
echo "load average: $(cut -d" " -f1-3 /proc/loadavg)"
echo "game, main menu: window ${window} ms, CPU ${game_cpu} %, peak resident $(hwm "$game_pid") MB"
kill -CONT "$floor_pid"
xdotool windowfocus --sync "$floor_wid" 2>/dev/null
sleep 2
echo "game, another window focused: CPU $(cpu "$game_pid") %"
kill "$game_pid" "$floor_pid" 2>/dev/null
wait "$game_pid" "$floor_pid" 2>/dev/null # not Xvfb: it runs until the trap ends it
