#!/usr/bin/env bash
# Makes sure a Wine prefix is ready for our tests and that its wineserver runs.
# Usage: wine-prefix.sh PREFIX [--kill]
# The prefix is ours alone (never ~/.wine); it is built once and marked ready.
set -u
prefix=$(realpath -m "$1")
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64

if [ "${2:-}" = "--kill" ]; then
  [ -d "$prefix" ] && "$server" -k >/dev/null 2>&1
  exit 0
fi

mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.kelvary-ready" ]; then
    rm -rf "$prefix"
    "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&-
    cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null
    # Without a window manager (Xvfb) Wine waits 2 s at every window destroy
    # unless its windows are unmanaged; a crash must not open winedbg's dialog.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&-
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 9>&-
    "$server" -w 9>&-
    touch "$prefix/.kelvary-ready"
  fi
) 9>"$prefix.lock" || exit 1

# A persistent wineserver, and Wine's own services, started with their output
# going nowhere: otherwise they inherit the test's pipes and outlive it, and
# CTest waits for those pipes to close.
if "$server" -p300 </dev/null >/dev/null 2>&1; then
  "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
fi
exit 0
