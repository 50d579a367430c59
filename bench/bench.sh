#!/usr/bin/env bash
# Prints the suite's figures; never fails a build. Needs scripts/build.sh first.
#   size and imports of each shipped program (the 32-bit package)
#   CPU time of a running blanker over 60 s, under Wine
#   start-to-exit of a refusing panelblank.exe against an empty program
#   working set of a running blanker against an empty message-loop program
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
trap 'wine_session_end' EXIT
tools=$WIN_BUILD/e2e-tools
helper() { "$WINE_LOADER" "$tools/nochelper.exe" "$@" 2>/dev/null | tr -d '\r'; }
stat_of() { helper proc-stats "$1" | awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}'; }

echo "## Programs (build/win32/package; target: at most 64 KiB, system DLLs only)"
printf '%-16s %8s  %s\n' program bytes imports
for exe in build/win32/package/*.exe; do
  imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print $3}' | sort | paste -sd' ')
  printf '%-16s %8d  %s\n' "$(basename "$exe")" "$(stat -c %s "$exe")" "$imports"
done
printf '%-16s %8d  %s\n' "(empty program)" "$(stat -c %s build/win32/e2e-tools/empty.exe)" "for comparison"
printf '%-16s %8d  %s\n' "(one thread)" "$(stat -c %s build/win32/e2e-tools/idle_loop.exe)" "empty message loop and one pthread"
echo
echo "## Under Wine ($WINEARCH build: $WIN_BUILD)"
run=$(mktemp -d "$root/build/bench-XXXX")
cp "$WIN_BUILD"/package/*.exe "$tools/empty.exe" "$tools/block_input_only.exe" "$tools/idle_loop.exe" "$run/"
printf '[setting]\r\ntype=1\r\n' > "$run/info.ini"

start_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
time_runs() {  # program, runs: prints the median start-to-exit in ms
  for _ in $(seq "$2"); do
    t0=$(start_ms); (cd "$run" && "$WINE_LOADER" "./$1" >/dev/null 2>&1); echo $(($(start_ms) - t0))
  done | median
}
refuse=$(time_runs panelblank.exe 15)
empty=$(time_runs empty.exe 15)
floor=$(time_runs block_input_only.exe 15)
echo "refusing panelblank.exe: median ${refuse} ms start to exit; empty program: ${empty} ms (target: within 1.2 times)"
echo "  an empty program that only blocks input (loads USER32 as the blanker must): ${floor} ms"

(cd "$run" && exec "$WINE_LOADER" ./idle_loop.exe >/dev/null 2>&1) & idle=$!
(cd "$run" && exec "$WINE_LOADER" ./nocturo.exe >/dev/null 2>&1) & blanker=$!
helper wait-window RenderWindow Nocturo 20000 >/dev/null
sleep 3
cpu0=$(stat_of nocturo.exe cpu_ms)
idle0=$(stat_of idle_loop.exe cpu_ms)
ws_blanker=$(stat_of nocturo.exe working_set_kb)
ws_idle=$(stat_of idle_loop.exe working_set_kb)
echo "working set: blanker ${ws_blanker} KiB; empty message-loop program ${ws_idle} KiB (target: within 2 times)"
sleep 60
cpu1=$(stat_of nocturo.exe cpu_ms)
idle1=$(stat_of idle_loop.exe cpu_ms)
echo "blanker CPU over 60 s after arming: $((cpu1 - cpu0)) ms (target: at most 10 ms);" \
     "empty message-loop program, same minute: $((idle1 - idle0)) ms (Wine counts in 10 ms ticks)"
kill "$blanker" "$idle" 2>/dev/null
wait "$blanker" "$idle" 2>/dev/null
rm -rf "$run"
