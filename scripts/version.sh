#!/usr/bin/env bash
# Prints the suite's version, from its one source: project(... VERSION ...) in CMakeLists.txt.
sed -n 's/^project(nocturo VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt"
