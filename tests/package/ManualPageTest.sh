#!/usr/bin/env bash
# The manual page's OPTIONS section names the same options as --help.
# Usage: ManualPageTest.sh PROGRAM MANUAL_PAGE
set -euo pipefail
program=$1 page=$2

# An option column of --help ends at the first two blanks: "  -h, --help  Show ...".
from_help=$("$program" --help | sed -n 's/^  \(-[^ ]\([^ ]\| [^ ]\)*\).*/\1/p' |
    grep -o -e '--\?[a-z][a-z-]*' | sort -u)
# The tag line after each .TP of the OPTIONS section, "\-" read as "-".
from_page=$(awk '/^\.SH / { section = $2 } section == "OPTIONS" && previous == ".TP" { print } { previous = $0 }' "$page" |
    sed 's/\\-/-/g' | grep -o -e '--\?[a-z][a-z-]*' | sort -u)

if [[ -z $from_help || $from_help != "$from_page" ]]; then
    echo "FAIL: --help and $page name different options"
    diff <(echo "$from_help") <(echo "$from_page") || true
    exit 1
fi
echo "Both name:" $from_help
