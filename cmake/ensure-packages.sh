#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when run as
# root; otherwise prints the one line that would install them and stops.
set -u
packages="cmake ninja-build g++ time googletest libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev python3 g++-mingw-w64-x86-64 wine64 xvfb xauth fonts-wine clang-14 libclang-rt-14-dev"
# The 32-bit build and its tests under Wine, and the release files of make dist.
packages="$packages g++-mingw-w64-i686 wine32:i386 wixl msitools zip unzip"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
line="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y$missing"
case $missing in *:i386*) dpkg --print-foreign-architectures | grep -qx i386 ||
  line="dpkg --add-architecture i386 && $line" ;; esac
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages. Run as root:"
  echo "  $line"
  exit 1
fi
echo "Installing:$missing"
sh -c "$line"
