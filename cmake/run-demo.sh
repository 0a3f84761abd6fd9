#!/usr/bin/env bash
# The demo of `make run`: Kelvary on the bundled demo server "Demo" (direct
# access to samples/essbase), remembering Demo and SAMPLE, in build/demo and
# never in the user's own store or Wine prefix.
# Usage: run-demo.sh window     WINDOWS_BUILD_DIR   Kelvary.exe under Wine
#        run-demo.sh cli        NATIVE_BUILD_DIR    kelvary-cli check, no display needed
#        run-demo.sh screenshot WINDOWS_BUILD_DIR DOCS_DIR   pictures of every window (inside Xvfb)
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

# The demo server in the prefix's registry, whether Wine's windows are left
# to a window manager (yes on a desktop, no under Xvfb, which has none) and
# the screen's DPI.
seed_prefix() {
  local managed=$1 dpi=$2 reg=$demo/demo.reg
  printf 'Windows Registry Editor Version 5.00\r\n\r\n' >"$reg"
  printf '[HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers\\Demo]\r\n' >>"$reg"
  printf '"Path"="%s"\r\n"Access"="0"\r\n\r\n' "$(windows_path "$essbase" | sed 's/\\/\\\\/g')" >>"$reg"
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="%s"\r\n' "$managed" >>"$reg"
  printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$dpi" >>"$reg"
  "$wine" regedit /S "$(windows_path "$reg")" </dev/null >/dev/null 2>&1
}

prepare_window() {
  prefix=$demo/wineprefix
  "$root/cmake/wine-prefix.sh" "$prefix"
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
  seed_prefix "$1" "$2"
  cp -f "$build/Kelvary.exe" "$demo/Kelvary.exe"
  printf 'Demo,SAMPLE\r\n' >"$demo/Kelvary.ini"
}

case $mode in
  cli)
    run_cli
    ;;
  window)
    prepare_window Y 96
    echo "Kelvary is open on the demo server: press \"Check Calculation\"."
    "$wine" "$demo/Kelvary.exe" </dev/null >/dev/null 2>&1 || true
    "$root/cmake/wine-prefix.sh" "$prefix" --kill
    ;;
  screenshot)
    # docs/screens/NAME-DPIdpi.png for every window the driver offers, at
    # 100 % and 150 %; docs/kelvary.png is the main window with estimates at 100 %.
    docs=$3
    mkdir -p "$docs/screens"
    for dpi in 96 144; do
      # A copy of the samples: the finish alert's picture lets the log grow.
      essbase=$demo/essbase
      rm -rf "$essbase"
      cp -r "$root/samples/essbase" "$essbase"
      prepare_window N "$dpi"
      "$wine" "$demo/Kelvary.exe" </dev/null >/dev/null 2>&1 &
      coproc driver { "$wine" "$build/tools/screenshots/kelvary-screenshot-driver.exe" 2>/dev/null; }
      driver_pid=$driver_PID
      exec {offers}<&"${driver[0]}" {taken}>&"${driver[1]}"
      # Each window from its own X window: a copy of the whole screen shows
      # some of Wine's windows black.
      while read -r name title <&"$offers"; do
        png=$docs/screens/$name-${dpi}dpi.png
        title=${title%$'\r'}
        if [ "$title" = "*screen*" ]; then
          # What stands outside any one window (a notification): the screen,
          # cut to what is drawn on it.
          xwd -root -silent | /usr/bin/convert xwd:- -trim +repage -strip "$png"
        else
          xwd -name "$title" -silent | /usr/bin/convert xwd:- -strip "$png"
        fi
        echo "Wrote $png"
        echo >&"$taken"
      done
      exec {offers}<&- {taken}>&-
      status=0
      wait "$driver_pid" || status=$?
      "$root/cmake/wine-prefix.sh" "$prefix" --kill
      wait
      if [ "$status" -ne 0 ]; then
        echo "run-demo: the screenshot driver stopped with status $status at $dpi DPI" >&2
        exit 1
      fi
    done
    cp "$docs/screens/main-estimates-96dpi.png" "$docs/kelvary.png"
    echo "Wrote $docs/kelvary.png"
    ;;
esac
