#!/usr/bin/env bash
# Prints the suite's figures; never fails a build. Needs scripts/build.sh first.
# About thirteen minutes: the daemon is watched for ten.
#   size and imports of each shipped program (the 32-bit package), and the package
#   the installer's size against the zip's, and a silent install and removal timed
#   start-to-exit of a refusing panelblank.exe against an empty program
#   the display-off broadcast with and without a hung window on the desktop, and
#   the Enhanced blanker's threads over 60 s of re-blanking past a hung window
#   working sets: blanker and tray against empty message-loop programs
#   CPU: the tray idle over 60 s; the blanker after its display-off broadcast
#   and the daemon, each over 5 minutes, per 60 s. CPU comes from Linux's own
#   count of each thread's time on the processor, in nanoseconds: Wine's
#   GetProcessTimes counts in 10 ms ticks and forgets threads that have ended,
#   so it can even go down. No thread of these programs ends while measured.
#   The blanker's floor: a program with its own calls only (a cursor read every
#   3 s on one thread, a message loop on another); under Wine each cursor read
#   is a round trip to the display server. The daemon's floor likewise: its
#   reads every 10 s (cursor, last input, console session) and a message loop.
#   the daemon's working set and handles after 1 and after 10 minutes
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
trap 'wine_session_end' EXIT
tools=$WIN_BUILD/e2e-tools
stat_of() { helper proc-stats "$1" | sed -n "s/^$2=//p"; }
per_minute() { awk -v ms="$1" -v s="$2" 'BEGIN {printf "%.1f", ms * 60 / s}'; }
cpu_ms() { cat /proc/"$1"/task/*/schedstat | awk '{ns += $1} END {printf "%.1f", ns / 1e6}'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.1f", a - b}'; }

echo "## Programs (build/win32/package)"
printf '%-18s %8s  %-8s  %s\n' program bytes target imports
declare -A target=([nocturo.exe]=57344 [panelblank.exe]=57344 [nocturotray.exe]=32768
                   [nocturodaemon.exe]=65536 [panelprobe.exe]=32768)
for exe in build/win32/package/*.exe; do
  name=$(basename "$exe")
  imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | sort | paste -sd' ')
  printf '%-18s %8d  <= %-5s  %s\n' "$name" "$(stat -c %s "$exe")" "$((${target[$name]:-0} / 1024))K" "$imports"
done
printf '%-18s %8d  %-8s  %s\n' "(empty program)" "$(stat -c %s build/win32/e2e-tools/empty.exe)" "" "GUI, for comparison"
printf '%-18s %8d  %-8s  %s\n' "(one thread)" "$(stat -c %s build/win32/e2e-tools/idle_loop.exe)" "" "message loop and one pthread"
zip=build/nocturo-$(scripts/version.sh)-win32.zip
[ -f "$zip" ] && echo "package: $(stat -c %s "$zip") bytes zipped, $(unzip -l "$zip" | tail -1 | awk '{print $1}') unpacked (target: at most 300 KiB unpacked)"
msi=${zip%.zip}.msi
[ -f "$msi" ] && [ -f "$zip" ] && echo "installer: $(stat -c %s "$msi") bytes, $(awk -v m="$(stat -c %s "$msi")" \
  -v z="$(stat -c %s "$zip")" 'BEGIN {printf "%.2f", m / z}') times the zip (target: at most 1.5)"
echo
echo "## Under Wine ($WINEARCH build: $WIN_BUILD)"
if [ -f "$msi" ]; then
  msi_win=$("$WINE_LOADER" winepath -w "$msi" 2>/dev/null | tr -d '\r')
  t0=$(date +%s%3N); "$WINE_LOADER" msiexec /i "$msi_win" /qn >/dev/null 2>&1; t1=$(date +%s%3N)
  "$WINE_LOADER" msiexec /x "$msi_win" /qn >/dev/null 2>&1; t2=$(date +%s%3N)
  echo "silent install $((t1 - t0)) ms, silent removal $((t2 - t1)) ms"
fi
run=$(mktemp -d "$root/build/bench-XXXX")
cp "$WIN_BUILD"/package/*.exe "$tools"/{empty,block_input_only,idle_loop,message_loop}.exe dist/*.vbs "$run/"
printf '[setting]\r\ntype=1\r\ndaemon=1\r\nminute=180\r\n' > "$run/info.ini"
printf '[setting]\r\ntype=1\r\ndefault=1' > "$run/tpinfo.ini"

start_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
time_runs() {  # program, runs: prints the median start-to-exit in ms
  for _ in $(seq "$2"); do
    t0=$(start_ms); (cd "$run" && "$WINE_LOADER" "./$1" >/dev/null 2>&1); echo $(($(start_ms) - t0))
  done | median
}
echo "refusing panelblank.exe: median $(time_runs panelblank.exe 15) ms start to exit;" \
     "empty program $(time_runs empty.exe 15) ms; one that only blocks input $(time_runs block_input_only.exe 15) ms"

# The broadcast's bound is one second a window. A window whose program has not
# retrieved messages for about 5 s is hung, as Windows and Wine see it, and is
# skipped at once; one that stopped answering just now costs the bound, for each
# of its program's top-level windows.
broadcast_ms() { helper monitor-off | sed -n 's/^ms=//p'; }
plain=$(for _ in 1 2 3; do broadcast_ms; done | median)
(exec "$WINE_LOADER" "$tools/nochelper.exe" hung-window 120000 >/dev/null 2>&1) & hung=$!
helper wait-window NocHung NocHung 20000 >/dev/null
fresh=$(broadcast_ms)
sleep 6
stale=$(broadcast_ms)
echo "display-off broadcast: $plain ms (median of 3) with no hung window; $stale ms with a hung window" \
     "(target: at most 1100 ms, the bound plus 10 %); $fresh ms with a program that stopped answering" \
     "just now (the 1000 ms bound for each of its top-level windows)"
mkdir -p "$run/enhanced" && cp "$WIN_BUILD/package/nocturo.exe" "$run/enhanced/reblank.exe"
printf '[setting]\r\ntype=3\r\n' > "$run/enhanced/info.ini"
(cd "$run/enhanced" && exec "$WINE_LOADER" ./reblank.exe >/dev/null 2>&1) & reblank=$!
helper wait-window RenderWindow Nocturo 20000 >/dev/null
helper display-state reblank.exe 1 >/dev/null
threads_start=$(stat_of reblank.exe threads)
sleep 60
echo "Enhanced blanker re-blanking past a hung window: $(stat_of reblank.exe threads) threads after 60 s," \
     "$threads_start at start (target: no more than at start)"
kill "$reblank" "$hung" 2>/dev/null
wait "$reblank" "$hung" 2>/dev/null
helper end-process reblank.exe
helper end-process nochelper.exe

declare -A pid cpu0
start() {  # key, program, arguments
  local key=$1; shift
  (cd "$run" && exec "$WINE_LOADER" "$@" >/dev/null 2>&1) & pid[$key]=$!
}
start loop ./message_loop.exe
start tray_floor ./message_loop.exe icon
start thread_loop ./idle_loop.exe
start cursor_floor ./idle_loop.exe cursor
start daemon_floor ./idle_loop.exe daemon
start tray ./nocturotray.exe
start daemon ./nocturodaemon.exe
start blanker ./nocturo.exe
helper wait-window RenderWindow Nocturo 20000 >/dev/null
helper wait-window DOCKWIN dockwin 20000 >/dev/null
helper wait-window RenderWindow NocturoDaemon 20000 >/dev/null
sleep 5  # past the blanker's display-off broadcast at 4 s and the daemon's start-up
for key in "${!pid[@]}"; do cpu0[$key]=$(cpu_ms "${pid[$key]}"); done
rss() { awk '/VmRSS/ {print $2}' "/proc/${pid[$1]}/status"; }
echo "working set: blanker $(rss blanker) KiB; an empty message loop with one thread $(rss thread_loop) KiB" \
     "(target: within 2 times)"
echo "working set: tray $(rss tray) KiB; an empty one-thread message loop $(rss loop) KiB (target: within" \
     "1.5 times); one that also has a hidden window and an icon, as every tray program must: $(rss tray_floor) KiB"
sleep 55
echo "tray CPU over 60 s idle: $(minus "$(cpu_ms "${pid[tray]}")" "${cpu0[tray]}") ms (target: 0 ms);" \
     "empty message loop: $(minus "$(cpu_ms "${pid[loop]}")" "${cpu0[loop]}") ms"
echo "daemon after 1 minute: working set $(stat_of nocturodaemon.exe working_set_kb) KiB," \
     "handles $(stat_of nocturodaemon.exe handles), threads $(stat_of nocturodaemon.exe threads)"
sleep 240
declare -A used
for key in blanker daemon thread_loop cursor_floor daemon_floor; do
  used[$key]=$(minus "$(cpu_ms "${pid[$key]}")" "${cpu0[$key]}")
  echo "CPU of the $key over 300 s: ${used[$key]} ms, $(per_minute "${used[$key]}" 300) ms per 60 s (target for the programs: at most 5)"
done
for pair in blanker:cursor_floor daemon:daemon_floor; do
  echo "${pair%:*} against its floor (${pair#*:}): $(awk -v a="${used[${pair%:*}]}" -v b="${used[${pair#*:}]}" \
       'BEGIN {if (b > 0) printf "%.2f", a / b; else print "n/a"}') times (target: at most 1.2)"
done
sleep 300
echo "daemon after 10 minutes: working set $(stat_of nocturodaemon.exe working_set_kb) KiB," \
     "handles $(stat_of nocturodaemon.exe handles), threads $(stat_of nocturodaemon.exe threads)"
kill "${pid[@]}" 2>/dev/null
wait "${pid[@]}" 2>/dev/null
# The daemon installed its start-at-logon shortcut in this prefix.
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/StartUp/startnocturodaemon.vbs.lnk
rm -rf "$run"
