#!/usr/bin/env bash
# Retakes the user guide's pictures under Wine on a display of its own:
#   docs/images/tray-icon.png   the icon at the taskbar's right end, with its tooltip
#   docs/images/tray-menu.png   the menu a right click on the icon opens, shortcut submenu open
#   docs/images/banner.png      the blanker's banner
# The first two come from Wine's own taskbar, clicked with the real mouse.
# Needs the package (scripts/build.sh), ImageMagick, xterm and a CJK font.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v import >/dev/null || ! command -v xterm >/dev/null || ! grep -qi wenquanyi <<< "$(fc-list)"; then
  [ "$(id -u)" = 0 ] || { echo "screenshots: run as root to install imagemagick, xterm and fonts-wqy-microhei" >&2; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends imagemagick xterm fonts-wqy-microhei >/dev/null
fi
unset DISPLAY  # never the user's desktop
source scripts/wine-env.sh
wine_shell_desktop on
trap 'wine_shell_desktop off; wine_session_end' EXIT

shots=$(mktemp -d "$root/build/shots-XXXX")
folder=$(wine_unpack_package "$shots")
out=docs/images

printf '\r\nhotkey=1' >>"$folder/tpinfo.ini"  # Ctrl+Alt+B chosen: checked, and in the tooltip
(cd "$folder" && exec "$WINE_LOADER" ./nocturotray.exe >/dev/null 2>&1) &
helper wait-window DOCKWIN dockwin 20000 >/dev/null
read -r bar_x bar_y bar_w bar_h <<< "$(wine_window_rect Shell_TrayWnd "")"
icon_x=$((bar_x + bar_w - 10)) icon_y=$((bar_y + bar_h / 2))
sleep 1
xdotool mousemove $((icon_x - 2)) "$icon_y"; sleep 0.3; xdotool mousemove "$icon_x" "$icon_y"; sleep 2.5
import -window root -crop 260x70+$((bar_x + bar_w - 260))+$((bar_y + bar_h - 70)) +repage "$out/tray-icon.png"

xdotool click 3
read -r menu_x menu_y menu_w menu_h <<< "$(wine_window_rect "#32768" "" 10000)"
# 快捷键 is the seventh item, the third from the bottom: over it, its submenu opens.
xdotool mousemove $((menu_x + menu_w / 2)) $((menu_y + menu_h - 42)); sleep 0.3
xdotool mousemove $((menu_x + menu_w / 2 + 2)) $((menu_y + menu_h - 42)); sleep 1.5
import -window root -crop 340x200+$((bar_x + bar_w - 340))+$((bar_y + bar_h - 200)) +repage "$out/tray-menu.png"
helper key 0x1B >/dev/null; helper key 0x1B >/dev/null   # Escape closes the submenu, then the menu
helper post DOCKWIN dockwin 0x111 208 0 >/dev/null        # 退出
helper wait-process nocturotray.exe vanish 20000 >/dev/null

# Wine's console gives every character one cell as wide as the font's widest
# glyph, so with any Chinese font the Latin letters come out spread apart. The
# banner is shown instead in a terminal that gives a Latin letter one cell and
# a Chinese one two, as a Windows console does: nocturo.exe's own banner
# command, up to its pause, run by Wine's cmd.exe.
banner=$(helper banner | sed -n 's/^banner=//p' | iconv -f GBK -t UTF-8)
banner=${banner%% && c:\\Windows\\System32\\ping*}
xterm -fa "WenQuanYi Micro Hei Mono" -fs 11 -bg black -fg "#c0c0c0" -geometry 72x5+0+0 \
  -e bash -c '"$0" cmd.exe /c "$1" 2>/dev/null; sleep 8' "$WINE_LOADER" "${banner#/c }" 2>/dev/null &
terminal=$!
sleep 4
import -window root -crop 640x76+2+2 +repage "$out/banner.png"
kill "$terminal" 2>/dev/null || true
rm -rf "$shots"
echo "pictures: $out/tray-icon.png $out/tray-menu.png $out/banner.png"
