#!/usr/bin/env bash
# Runs one cross-built program under Wine in the build tree's own prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# The program's output goes through files: Wine's desktop process keeps an
# inherited pipe open for a while after a GUI program ends.
set -u
prefix=$(realpath -m "$1")
shift
here=$(dirname "$(readlink -f "$0")")
"$here/wine-prefix.sh" "$prefix" || { echo "wine-run: cannot prepare $prefix" >&2; exit 1; }
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
out=$(mktemp) err=$(mktemp)
/usr/lib/wine/wine64 "$@" >"$out" 2>"$err"
rc=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $rc
