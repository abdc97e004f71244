#!/usr/bin/env bash
# Builds Vov Aruzezudor from a bare Debian 12 and then plays it or tests it.
#   ./build.sh play   build, then start the game
#   ./build.sh test   build, then run every test
# Missing Debian packages are installed first (as root, or through sudo).
set -eu
cd "$(dirname "$0")"
what=${1:-play}

packages="cmake make g++ pkg-config clang libclang-rt-14-dev libsdl2-dev libsdl2-mixer-dev libstb-dev python3-glad
  libgtest-dev libbenchmark-dev xvfb xauth xdotool libgl1-mesa-dri libegl-mesa0 python3-numpy python3-pil"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  sudo=""; [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

jobs=$(nproc 2>/dev/null || echo 2)
# CI adds its own options (warnings as errors) through VOV_CMAKE_ARGS.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VOV_CMAKE_ARGS:-}
cmake --build build -j"$jobs"

case "$what" in
  play) cd build/run && exec ./vov-aruzezudor ;;
  test) cd build && exec ctest --output-on-failure -j"$jobs" -LE "sweep|corrupt" ;;
  *) echo "usage: $0 play|test" >&2; exit 2 ;;
esac
