#!/usr/bin/env bash
# clang-tidy (.clang-tidy) over every source of ours in BUILD's compile commands, our headers
# included, on JOBS cores. Prints only the findings; fails when there is one.
# Usage: tools/tidy.sh BUILD JOBS
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
jobs=$2
root=$PWD
# Our top folders; the build folders hold no tracked file, so their generated code stays out.
dirs=$(git ls-files '*.cpp' '*.h' | grep / | cut -d/ -f1 | sort -u | paste -sd'|')
# run-clang-tidy colours its output and echoes each file's command and clang's count of the
# warnings it hid (those of Qt's and the system's headers); only the findings are worth reading.
run-clang-tidy -p "$build" -j "$jobs" -quiet -header-filter "^$root/($dirs)/" "^$root/($dirs)/" 2>&1 |
    sed -E -e 's/\x1b\[[0-9;]*m//g' -e '/^clang-tidy(-[0-9]+)? /d' \
        -e '/^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$/d'
