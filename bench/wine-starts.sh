#!/usr/bin/env bash
# Counts starts Wine breaks: a program started about when the one before it
# ended, as the tests start them, with and without a program keeping the
# session's desktop (scripts/wine-env.sh). Each start is the helper looking
# once for a window that is not there: it must end with 1 within its wait.
# Usage: bench/wine-starts.sh [STARTS]   (default 150 each way, about 8 minutes)
set -uo pipefail
cd "$(dirname "$0")/.."
starts=${1:-150}
gaps=(0 0.2 0.5 0.8 0.9 1.0 1.1 1.2 1.5)  # Wine closes an unused desktop after about 1 s
for keep in 0 1; do
  (
    unset DISPLAY
    export NOCTURO_KEEP_DESKTOP=$keep
    source scripts/wine-env.sh
    trap wine_session_end EXIT
    wine_keep_desktop
    broken=0 codes=
    for i in $(seq "$starts"); do
      "$WINELOADER" "$WIN_BUILD/e2e-tools/nochelper.exe" wait-window NoSuchWindow "" 0 >/dev/null 2>&1
      code=$?
      [ $code -eq 1 ] || { broken=$((broken + 1)); codes="$codes $code"; }
      sleep "${gaps[i % ${#gaps[@]}]}"
    done
    echo "desktop kept: $keep  starts: $starts  broken: $broken${codes:+  (exit codes:$codes)}"
  )
done
