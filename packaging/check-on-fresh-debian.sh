#!/usr/bin/env bash
# Installs the Debian package on a bare Debian 12 and starts it from the menu entry's command, as a
# player would: run inside a fresh root, beside the .deb (cd build && cpack -G DEB makes it), e.g.
#   ../shared/tools/fresh-debian.sh CHECKOUT-WITH-THE-DEB 'bash packaging/check-on-fresh-debian.sh'
# Xvfb and EGL are installed only for this check, after the package's own Depends were shown.
set -e
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt install -y ./vov-aruzezudor_*_amd64.deb
echo "== installed: $(dpkg-query -W vov-aruzezudor)"
dpkg-query -W -f='== brought by the package: ${Package} ${Version}\n' libgl1 libgl1-mesa-dri libsdl2-2.0-0 libsdl2-mixer-2.0-0 || echo "== a GL or SDL library is missing"
apt-get install -y -qq --no-install-recommends xvfb xauth libegl1 libegl-mesa0 >/dev/null
useradd -m player
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/io.github.vovaruzezudor.vovaruzezudor.desktop)
echo "== menu entry's command: $exec_line"
runuser -u player -- sh -c "cd / && SDL_VIDEO_X11_FORCE_EGL=1 SDL_AUDIODRIVER=dummy xvfb-run -a -s '-screen 0 1280x720x24' timeout 15 $exec_line; echo \"== game ran 15 s: rc=\$? (124: still running when stopped)\""
ls -la /home/player/.local/share/vov-aruzezudor
test -s /home/player/.local/share/vov-aruzezudor/config.ini && echo "== per-user config.ini written"
dpkg --verify vov-aruzezudor && echo "== installed files unchanged"
