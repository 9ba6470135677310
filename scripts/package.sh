#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, builds everything, and runs cpack in
# build/, which writes build/morvela_<version>_<arch>.deb. Prints the package's name and size.
#   sudo apt install ./build/morvela_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
rm -f morvela_*.deb
cpack -G DEB >/dev/null
deb=$(ls morvela_*.deb)
# A package without its manual pages or menu entry means a tool was missing at configure time.
contents=$(dpkg-deb -c "$deb")
for f in ./usr/share/man/man1/morvela-cli.1.gz ./usr/share/man/man1/morvela.1.gz \
  ./usr/share/applications/org.morvela.Morvela.desktop; do
  grep -q " $f\$" <<<"$contents" || { echo "$deb lacks $f" >&2; exit 1; }
done
echo "$root/build/$deb ($(du -h "$deb" | cut -f1))"
