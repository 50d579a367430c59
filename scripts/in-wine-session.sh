#!/usr/bin/env bash
# Runs one command (a Wine test) inside the Wine session, on a display of its
# own so that no test touches the user's desktop, and ends the session after.
unset DISPLAY
source "$(dirname "$0")/wine-env.sh"
trap wine_session_end EXIT
"$@"
