#!/usr/bin/env bash
# The demo of `make run`: Kelvary on the bundled demo server "Demo" (direct
# access to samples/essbase), remembering Demo and SAMPLE, in build/demo and
# never in the user's own store or Wine prefix.
# Usage: run-demo.sh window     WINDOWS_BUILD_DIR   Kelvary.exe under Wine
#        run-demo.sh cli        NATIVE_BUILD_DIR    kelvary-cli check, no display needed
#        run-demo.sh screenshot WINDOWS_BUILD_DIR PNG   the window after a check (inside Xvfb)
set -euo pipefail
mode=$1
build=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$root/build/demo
essbase=$root/samples/essbase
wine=/usr/lib/wine/wine64
mkdir -p "$demo"

# A Linux path as Wine shows it: the file system's root is drive Z:.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

run_cli() {
  local store=$demo/registry.reg
  rm -f "$store"
  export KELVARY_REGISTRY_FILE=$store
  "$build/kelvary-cli" servers add Demo --path "$essbase"
  exec "$build/kelvary-cli" check --server Demo --app SAMPLE --detail
}

# The demo server in the prefix's registry, and whether Wine's windows are
# left to a window manager: yes on a desktop, no under Xvfb, which has none.
seed_prefix() {
  local managed=$1 reg=$demo/demo.reg
  printf 'Windows Registry Editor Version 5.00\r\n\r\n' >"$reg"
  printf '[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\Demo]\r\n' >>"$reg"
  printf '"Path"="%s"\r\n"Access"="0"\r\n\r\n' "$(windows_path "$essbase" | sed 's/\\/\\\\/g')" >>"$reg"
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="%s"\r\n' "$managed" >>"$reg"
  "$wine" regedit /S "$(windows_path "$reg")" </dev/null >/dev/null 2>&1
}

prepare_window() {
  prefix=$demo/wineprefix
  "$root/cmake/wine-prefix.sh" "$prefix"
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
  seed_prefix "$1"
  cp -f "$build/Kelvary.exe" "$demo/Kelvary.exe"
  printf 'Demo,SAMPLE\r\n' >"$demo/Kelvary.ini"
}

case $mode in
  cli)
    run_cli
    ;;
  window)
    prepare_window Y
    echo "Kelvary is open on the demo server: press \"Check Calculation\"."
    "$wine" "$demo/Kelvary.exe" </dev/null >/dev/null 2>&1 || true
    "$root/cmake/wine-prefix.sh" "$prefix" --kill
    ;;
  screenshot)
    png=$3
    prepare_window N
    "$wine" "$demo/Kelvary.exe" </dev/null >/dev/null 2>&1 &
    geometry=$demo/window-geometry.txt
    if ! "$wine" "$build/tests/ui/kelvary-screenshot-driver.exe" </dev/null >"$geometry" 2>/dev/null; then
      echo "run-demo: Kelvary did not show the demo report" >&2
      "$root/cmake/wine-prefix.sh" "$prefix" --kill
      exit 1
    fi
    xwd -root -silent | /usr/bin/convert xwd:- -crop "$(tr -d '\r\n' <"$geometry")" +repage -strip "$png"
    "$root/cmake/wine-prefix.sh" "$prefix" --kill
    wait
    echo "Wrote $png"
    ;;
esac
