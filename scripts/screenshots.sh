#!/usr/bin/env bash
# Retakes the user guide's pictures under Wine on a display of its own:
#   docs/images/tray-menu.png   the tray's menu with the left-click submenu open
#   docs/images/banner.png      the blanker's banner console
# Needs the package (scripts/build.sh), ImageMagick and a CJK font.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v import >/dev/null || ! fc-list | grep -qi wenquanyi; then
  [ "$(id -u)" = 0 ] || { echo "screenshots: run as root to install imagemagick and fonts-wqy-microhei" >&2; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends imagemagick fonts-wqy-microhei >/dev/null
fi
unset DISPLAY  # never the user's desktop
source scripts/wine-env.sh
trap wine_session_end EXIT
helper() { "$WINE_LOADER" "$WIN_BUILD/e2e-tools/nochelper.exe" "$@" 2>/dev/null | tr -d '\r'; }
# The console's own font has no Chinese glyphs.
"$WINE_LOADER" reg add 'HKCU\Console' /v FaceName /d "WenQuanYi Micro Hei Mono" /f >/dev/null 2>&1

folder=$(mktemp -d "$root/build/shots-XXXX")
unzip -q build/nocturo-3.0.5.1-win32.zip -d "$folder"
folder=$folder/nocturo-3.0.5.1
out=docs/images

(cd "$folder" && exec "$WINE_LOADER" ./nocturotray.exe >/dev/null 2>&1) &
helper wait-window DOCKWIN dockwin 20000 >/dev/null
helper move 300 200 >/dev/null
helper post DOCKWIN dockwin 0x401 108 0x204 >/dev/null   # the right button's press on the icon
helper wait-window "#32768" "" 10000 >/dev/null
sleep 1
xdotool mousemove 340 293; sleep 0.5; xdotool mousemove 345 294; sleep 1.5  # over 鼠标左键
import -window root -crop 300x180+290+190 +repage "$out/tray-menu.png"
helper post DOCKWIN dockwin 0x1F 0 0 >/dev/null          # WM_CANCELMODE closes the menu
helper post DOCKWIN dockwin 0x111 208 0 >/dev/null       # 退出
helper wait-process nocturotray.exe vanish 20000 >/dev/null
sleep 1

(cd "$folder" && exec "$WINE_LOADER" ./nocturo.exe >/dev/null 2>&1) &
blanker=$!
# The banner shows for about two seconds, once its console is up: take it
# when its four lines are there.
for _ in $(seq 40); do
  import -window root -crop 730x100+0+20 +repage "$out/banner.png"
  [ "$(convert "$out/banner.png" -crop 730x50+0+50 -format '%[fx:mean>0.02]' info:)" = 1 ] && break
  sleep 0.25
done
while kill -0 "$blanker" 2>/dev/null; do helper move $((RANDOM % 800)) $((RANDOM % 600)) >/dev/null; sleep 1; done
rm -rf "$(dirname "$folder")"
echo "pictures: $out/tray-menu.png $out/banner.png"
