#!/usr/bin/env bash
# Installs what is missing, builds the package, unpacks it into a fresh folder
# and starts the tray through its launcher script under Wine, as a user would.
# Without a desktop it plays the user: a left click on the icon, the blanker
# starts, the mouse moves, the blanker ends, the tray exits.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
source scripts/wine-env.sh
trap wine_session_end EXIT

name=nocturo-3.0.5.1
folder=$root/build/try
rm -rf "$folder" && mkdir -p "$folder"
unzip -q "build/$name-win32.zip" -d "$folder"
folder=$folder/$name
echo "Package: $root/build/$name-win32.zip, unpacked into $folder"
if [ "$WINEARCH" = win64 ]; then
  echo "This machine runs no 32-bit code: the 64-bit twins of the programs stand in for the package's."
  cp "$WIN_BUILD"/package/*.exe "$folder/"
fi
helper() { "$WINE_LOADER" "$WIN_BUILD/e2e-tools/nochelper.exe" "$@" 2>/dev/null | tr -d '\r'; }
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

echo "No desktop here, so this script is the user."
echo "- A left click on the icon (WM_TRAYICON with WM_LBUTTONDOWN to the tray's window)..."
helper post DOCKWIN dockwin 0x401 108 0x201 >/dev/null
helper wait-process panelblank.exe appear 20000 >/dev/null
echo "- panelblank.exe started; tpinfo.ini now reads: $(tr '\r\n' '  ' < "$folder/tpinfo.ini")"
echo "- It arms after 2 s; then the mouse moves, once a second..."
for i in $(seq 30); do
  running panelblank.exe || break
  helper move $((200 + 7 * i)) $((300 + 3 * i)) >/dev/null
  sleep 1
done
if running panelblank.exe; then echo "- The blanker did not end."; exit 1; fi
echo "- The blanker saw the mouse move and ended; the display is back."
echo "- 退出 (exit) from the tray's menu (WM_COMMAND 208)..."
helper post DOCKWIN dockwin 0x111 208 0 >/dev/null
helper wait-process nocturotray.exe vanish 20000 >/dev/null
echo "The tray has ended. Done."
