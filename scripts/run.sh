#!/usr/bin/env bash
# Installs what is missing, builds the package, unpacks it into a fresh folder
# and starts the tray through its launcher script under Wine, as a user would.
# Without a desktop it plays the user on Wine's own taskbar, with the mouse: a
# left click on the icon, the blanker starts, the mouse moves, the blanker
# ends; a right click opens the menu (a screenshot is saved), and 退出 in it
# ends the tray.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
source scripts/wine-env.sh
trap wine_session_end EXIT
if [ -n "$own_xvfb" ]; then
  # A desktop with a taskbar, for this run only: the tests keep the plain session.
  wine_shell_desktop on
  trap 'wine_shell_desktop off; wine_session_end' EXIT
fi

rm -rf "$root/build/try" && mkdir -p "$root/build/try"
folder=$(wine_unpack_package "$root/build/try")
echo "Package: $root/build/$(basename "$folder")-win32.zip, unpacked into $folder"
if [ "$WINEARCH" = win64 ]; then
  echo "This machine runs no 32-bit code: the 64-bit twins of the programs stand in for the package's."
fi
running() { helper wait-process "$1" appear 0 >/dev/null; }

echo "Starting the tray through startnocturotray.vbs (wscript.exe, from another folder) on display $DISPLAY..."
(cd "$root" && "$WINE_LOADER" wscript.exe "$(sed 's|/|\\|g; s|^|Z:|' <<< "$folder")\\startnocturotray.vbs" >/dev/null 2>&1)
helper wait-window DOCKWIN dockwin 20000 >/dev/null
echo "The tray runs: its hidden window \"dockwin\" is there and its icon is in the notification area."

if [ -z "$own_xvfb" ]; then
  echo "Left-click the moon icon in the notification area: the screen blanks in Normal mode; move the"
  echo "mouse to end it. Right-click it for the menu. Choose 退出 (exit) in the menu to finish here."
  while running nocturotray.exe; do sleep 1; done
  echo "The tray has ended."
  exit 0
fi

read -r bar_x bar_y bar_w bar_h <<< "$(wine_window_rect Shell_TrayWnd "")"
icon_x=$((bar_x + bar_w - 10)) icon_y=$((bar_y + bar_h / 2))
echo "No desktop here, so this script is the user, on Wine's taskbar in Xvfb display $DISPLAY (1024x768)."
echo "The moon icon sits at the taskbar's right end, at ($icon_x, $icon_y): that is where to look."
echo "- A left click on the icon with the mouse..."
xdotool mousemove "$icon_x" "$icon_y" click 1
helper wait-process panelblank.exe appear 20000 >/dev/null
echo "- panelblank.exe started; tpinfo.ini now reads: $(tr '\r\n' '  ' < "$folder/tpinfo.ini")"
echo "- It arms after 2 s; then the mouse moves, once a second..."
for i in $(seq 30); do
  running panelblank.exe || break
  xdotool mousemove $((200 + 7 * i)) $((300 + 3 * i))
  sleep 1
done
if running panelblank.exe; then echo "- The blanker did not end."; exit 1; fi
echo "- The blanker saw the mouse move and ended; the display is back."
echo "- A right click on the icon opens the menu at the pointer..."
xdotool mousemove "$icon_x" "$icon_y" click 3
read -r menu_x menu_y menu_w menu_h <<< "$(wine_window_rect "#32768" "" 10000)"
# Onto the menu's first item, so the icon's tooltip goes.
xdotool mousemove $((menu_x + menu_w / 2)) $((menu_y + 12))
sleep 1
shot=$root/build/try/tray-menu.png
import -window root "$shot"
echo "- Screenshot of the open menu: $shot"
echo "- 退出 (exit), the menu's last item: Up from the first item, then Enter..."
helper key 0x26 >/dev/null
helper key 0x0D >/dev/null
helper wait-process nocturotray.exe vanish 20000 >/dev/null
if running nocturotray.exe; then echo "- The tray did not end."; exit 1; fi
echo "The tray has ended. Done."
