#!/usr/bin/env bash
# The files of dist/ as a Windows user meets them, under Wine (inside Xvfb),
# each architecture in a fresh prefix of its own under build/dist-test:
# - its MSI installed quietly; the installed Kelvary.exe checks the demo
#   server and is closed, leaving its settings; the installed kelvary-cli.exe
#   checks a server reached through the Essbase API (the stand-in client
#   library of the same architecture, where a client installs its DLL); a
#   newer package replaces it in place; uninstalling removes every program file;
# - its portable zip unpacked into a read-only folder whose name has a blank and
#   letters outside the system code page (a profile named after its owner):
#   --version, a check of the demo server and one through the Essbase API, whose
#   log goes to the user's folder, a client library planted in the current folder
#   left alone, and Kelvary.exe's report, its settings going to the user's folder.
# Prints one line per property and ends with the number of failures.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$root/dist
work=$root/build/dist-test
essbase=$root/samples/essbase
wine=/usr/lib/wine/wine64
failures=0

pass() { echo "dist-test: ok    $*"; }
fail() { echo "dist-test: FAIL  $*"; failures=$((failures + 1)); }
# expect DESCRIPTION COMMAND...: the command's success is the property.
expect() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }
same_text() { diff -u "$1" "$2" >&2; }
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
run_wine() { "$wine" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

fresh_prefix() {
  prefix=$1
  "$root/cmake/wine-prefix.sh" "$prefix" --kill
  rm -rf "$prefix"
  "$root/cmake/wine-prefix.sh" "$prefix" || return 1
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
  local_appdata=$prefix/drive_c/users/$(id -un)/AppData/Local
}

add_server() {
  local name=$1 value key='HKCU\Software\Brennic\Kelvary\Servers\'$1
  shift
  for value in "$@"; do
    run_wine reg add "$key" /v "${value%%=*}" /d "${value#*=}" /f >/dev/null
  done
}

# The demo server read directly, and one reached through the stand-in library,
# which "downloads" the same demo log.
seed_servers() {
  local system_dir=$1 standin=$2
  add_server Demo "Path=$(windows_path "$essbase")" Access=0
  add_server Remote Access=1 DNS=essbase.example.com UserName=admin Password=s3cret
  cp "$standin" "$prefix/drive_c/windows/$system_dir/esbapin.dll"
  export KELVARY_STANDIN_LOGS
  KELVARY_STANDIN_LOGS=$(windows_path "$essbase/app/SAMPLE")
}

# The report Kelvary.exe ($1, started on SAMPLE) shows once the screenshot
# driver has pressed Check Calculation, into $2; the driver then closes it.
window_report() {
  "$wine" "$1" SAMPLE </dev/null >/dev/null 2>&1 &
  local window=$!
  run_wine "$build/tools/screenshots/kelvary-screenshot-driver.exe" --report-and-close >"$2"
  wait "$window"
}

# The Kelvary entries of the uninstall list, one per line: "{code}|||Kelvary".
installed_entries() { run_wine uninstaller --list | grep '|||Kelvary$'; }

installed_version() {
  local code
  code=$(installed_entries | cut -d'|' -f1)
  run_wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" \
    /v DisplayVersion "/reg:$bits" | awk '/DisplayVersion/ { print $3 }'
}

msi_property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'; }

# The same package one build newer: the MSI's three-field version, last field plus one.
newer_package() {
  local msi=$1 tree=$2 out=$3 version next
  version=$(msi_property "$msi" ProductVersion)
  next=${version%.*}.$((${version##*.} + 1))
  (cd "$root/build/$tree/packaging" &&
    wixl -a "$msi_arch" -D Version="$next" -D Publisher="$(msi_property "$msi" Manufacturer)" \
      -D Files=files -D Win64="$win64" -o "$out" "$root/packaging/Kelvary.wxs" 2>/dev/null)
  echo "$next"
}

test_installer() {
  local msi=$1 tree=$2 system_dir=$3
  local build=$root/build/$tree dir=$work/$msi_arch
  mkdir -p "$dir"
  fresh_prefix "$dir/prefix" || { fail "$msi_arch: Wine prefix"; return; }
  seed_servers "$system_dir" "$build/essbase_standin/esbapin.dll"
  local programs=$local_appdata/Programs/Kelvary
  local shortcut=$prefix/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Kelvary.lnk

  run_wine msiexec /i "$(windows_path "$msi")" /qn
  expect "$msi_arch: installed without administrator rights into the user's programs folder" \
    test -f "$programs/Kelvary.exe" -a -f "$programs/kelvary-cli.exe" -a -f "$programs/README.txt" \
    -a -f "$programs/LICENSE.txt"
  expect "$msi_arch: Start menu shortcut" test -f "$shortcut"
  expect "$msi_arch: one uninstall entry" test "$(installed_entries | wc -l)" -eq 1
  expect "$msi_arch: the entry's version is the package's" \
    test "$(installed_version)" = "$(msi_property "$msi" ProductVersion)"

  run_wine "$programs/kelvary-cli.exe" check --server Demo --app SAMPLE >"$dir/cli-direct.txt"
  expect "$msi_arch: installed kelvary-cli checks the demo server" \
    grep -q 'Started at' "$dir/cli-direct.txt"
  run_wine "$programs/kelvary-cli.exe" check --server Remote --app SAMPLE >"$dir/cli-remote.txt"
  expect "$msi_arch: installed kelvary-cli checks a server through the Essbase API" \
    same_text "$dir/cli-direct.txt" "$dir/cli-remote.txt"

  window_report "$programs/Kelvary.exe" "$dir/window.txt"
  expect "$msi_arch: installed Kelvary.exe shows the demo server's report" \
    same_text "$dir/cli-direct.txt" "$dir/window.txt"
  expect "$msi_arch: closing Kelvary.exe leaves the settings next to it" \
    test "$(tr -d '\r' <"$programs/Kelvary.ini")" = "Demo,SAMPLE"

  local next
  next=$(newer_package "$msi" "$tree" "$dir/newer.msi")
  run_wine msiexec /i "$(windows_path "$dir/newer.msi")" /qn
  expect "$msi_arch: a newer package replaces it in place: still one entry" \
    test "$(installed_entries | wc -l)" -eq 1
  expect "$msi_arch: the entry shows the newer version $next" test "$(installed_version)" = "$next"
  expect "$msi_arch: the upgrade keeps the programs and the settings" \
    test -f "$programs/Kelvary.exe" -a -f "$programs/Kelvary.ini"

  run_wine msiexec /x "$(windows_path "$dir/newer.msi")" /qn
  expect "$msi_arch: uninstalling removes the uninstall entry" test -z "$(installed_entries)"
  expect "$msi_arch: uninstalling removes every program file and the shortcut" \
    test ! -e "$programs/Kelvary.exe" -a ! -e "$programs/kelvary-cli.exe" \
    -a ! -e "$programs/README.txt" -a ! -e "$programs/LICENSE.txt" -a ! -e "$shortcut"
  # Still in the same prefix: the portable zip of the same architecture.
  test_portable_zip "$dir"
  "$root/cmake/wine-prefix.sh" "$prefix" --kill
}

# A folder that even root cannot write: a read-only bind mount where the
# system allows one, otherwise the owner's write bits taken away.
make_read_only() {
  if mount --bind "$1" "$1" 2>/dev/null; then
    mount -o remount,bind,ro "$1" "$1" 2>/dev/null || { umount "$1"; chmod -R a-w "$1"; }
  else
    chmod -R a-w "$1"
  fi
  ! touch "$1/.write-probe" 2>/dev/null
}

undo_read_only() {
  mountpoint -q "$1" && umount "$1"
  chmod -R u+w "$1"
}

test_portable_zip() {
  local dir=$1 zip folder
  zip=$(ls "$dist"/Kelvary-*-"$zip_arch".zip)
  folder="$dir/Kelvary Жук"
  [ -d "$folder" ] && undo_read_only "$folder"
  rm -rf "$folder" && mkdir -p "$folder" && unzip -q "$zip" -d "$folder"
  # Never leave a read-only mount behind in the build tree, whatever happens.
  trap 'undo_read_only "$folder"' EXIT
  if ! make_read_only "$folder"; then
    fail "$zip_arch: cannot make a read-only folder here"
    undo_read_only "$folder"
    return
  fi
  local version=${zip##*/Kelvary-}
  version=${version%-"$zip_arch".zip}
  expect "$zip_arch: kelvary-cli.exe --version from a read-only folder" \
    test "$(run_wine "$folder/kelvary-cli.exe" --version)" = "kelvary-cli $version"
  run_wine "$folder/kelvary-cli.exe" check --server Demo --app SAMPLE >"$dir/portable-direct.txt"
  expect "$zip_arch: kelvary-cli.exe checks the demo server from a read-only folder" \
    same_text "$dir/cli-direct.txt" "$dir/portable-direct.txt"
  # The downloaded copy cannot go beside the program: it goes to the user's own folder.
  local copy=$local_appdata/Kelvary/Remote_SAMPLE.log
  rm -f "$copy"
  run_wine "$folder/kelvary-cli.exe" check --server Remote --app SAMPLE >"$dir/portable-remote.txt"
  expect "$zip_arch: kelvary-cli.exe checks through the Essbase API from a read-only folder" \
    same_text "$dir/cli-direct.txt" "$dir/portable-remote.txt"
  expect "$zip_arch: the downloaded log lies in the user's own folder" test -f "$copy"

  # A client library in the current folder or on a relative PATH entry, where
  # a planted copy would receive the login, is never loaded: without the one
  # the client installs, the check fails for want of a library (exit 6).
  local installed=$prefix/drive_c/windows/$system_dir/esbapin.dll planted=$dir/planted code=0
  mkdir -p "$planted/essbase"
  cp "$installed" "$planted/esbapin.dll" && cp "$installed" "$planted/essbase/esbapin.dll"
  mv "$installed" "$installed.away"
  (cd "$planted" && WINEPATH='.;essbase' "$wine" "$folder/kelvary-cli.exe" check --server Remote --app SAMPLE \
    </dev/null >/dev/null 2>&1) || code=$?
  mv "$installed.away" "$installed"
  expect "$zip_arch: a client library planted in the current folder is never loaded" test "$code" -eq 6

  rm -f "$local_appdata/Kelvary/Kelvary.ini"
  window_report "$folder/Kelvary.exe" "$dir/portable-window.txt"
  expect "$zip_arch: Kelvary.exe from that folder shows the demo server's report" \
    same_text "$dir/cli-direct.txt" "$dir/portable-window.txt"
  expect "$zip_arch: closing it leaves the settings in the user's own folder" \
    test "$(tr -d '\r' <"$local_appdata/Kelvary/Kelvary.ini" 2>/dev/null)" = "Demo,SAMPLE"
  undo_read_only "$folder"
  trap - EXIT
}

for arch in x64 x86; do
  if [ "$arch" = x64 ]; then
    msi_arch=x64 zip_arch=win64 win64=yes bits=64 tree=windows system_dir=system32
  else
    msi_arch=x86 zip_arch=win32 win64=no bits=32 tree=windows32 system_dir=syswow64
  fi
  msi=$(ls "$dist"/Kelvary-*-"$msi_arch".msi 2>/dev/null)
  if [ -z "$msi" ]; then
    fail "$msi_arch: no MSI in dist/ (run make dist)"
    continue
  fi
  test_installer "$msi" "$tree" "$system_dir"
done

echo "dist-test: $failures failure(s)"
[ "$failures" -eq 0 ]
