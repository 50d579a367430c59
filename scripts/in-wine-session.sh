#!/usr/bin/env bash
# Runs one Wine test program inside the Wine session, on a display of its own
# so that no test touches the user's desktop, and ends the session after.
#
# A failed case that bears Wine's marks (a loader error, a helper's impossible
# answer, a suite program's impossible exit code: e2e/wine_env.h) runs once
# more, alone, in a new session, and must pass there; each one so retried is
# added to build/e2e-flaky, which scripts/test.sh shows. A failure without
# those marks, or a program that did not run to its end, fails at once. Every
# case that bore a mark, passed or not, is added to build/e2e-marks.
set -u
here=$(cd "$(dirname "$0")" && pwd)
flaky=$here/../build/e2e-flaky marks=$here/../build/e2e-marks
first=$(mktemp) second=$(mktemp)
trap 'rm -f "$first" "$second"' EXIT
# "program<tab>verdict<tab>case<tab>where<tab>marks" for each case with marks.
note_marks() { awk -F'\t' -v program="$(basename "$1")" '$1 == "wine" || $1 == "passed" {print program "\t" $0}' "$2" >>"$marks"; }

# Runs the command in a new session; its report goes to the file $1.
session() (
  report=$1
  shift
  unset DISPLAY
  source "$here/wine-env.sh"
  trap wine_session_end EXIT
  wine_keep_desktop
  NOCTURO_E2E_REPORT=$report "$@"
)

session "$first" "$@"
status=$?
note_marks "$1" "$first"
[ $status -eq 0 ] && exit 0
# Every failure is Wine's, and the program reported to its end.
retry=$(awk -F'\t' '$1 == "wine" {cases = cases sep $2; sep = ":"} $1 == "failed" {bad = 1}
                    $1 == "ended" {ended = 1} END {if (!bad && ended) print cases}' "$first")
[ -n "$retry" ] || exit $status
echo "[ retry    ] Wine broke $retry: once more, in a new session"
session "$second" "$@" --gtest_filter="$retry"
status=$?
note_marks "$1" "$second"
[ $status -eq 0 ] || exit $status
awk -F'\t' -v program="$(basename "$1")" '$1 == "wine" {print program "\t" $2 "\t" $3 "\t" $4}' "$first" >>"$flaky"
exit 0
