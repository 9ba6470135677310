#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks it as a packaged program is used:
#   install_test.sh BUILD_DIR layout GUI MAN   the files land where a desktop expects them, and
#       the installed morvela-cli, run by a user with an empty home, keeps its database and
#       settings below $HOME/.local/share/morvela and writes nowhere else
#   install_test.sh BUILD_DIR validate         the desktop entry and the AppStream metadata pass
#       their validators; exits 77 (skipped) when neither validator is installed
# GUI and MAN are ON or OFF: whether the desktop program and the manual pages were built.
set -euo pipefail
build=$1
mode=$2
work=$(mktemp -d "${MORVELA_TEST_TMP:-/tmp}/install.XXXXXX")
trap 'rm -rf "$work"' EXIT
root="$work/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
id=org.morvela.Morvela

if [ "$mode" = validate ]; then
  ran=0
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
    ran=1
  else
    echo "desktop-file-validate is missing (Debian: desktop-file-utils): desktop entry not validated"
  fi
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo"
    ran=1
  else
    echo "appstreamcli is missing (Debian: appstream): metadata not validated"
  fi
  [ "$ran" = 1 ] || exit 77
  exit 0
fi

gui=$3
man=$4
expected=(usr/bin/morvela-cli usr/share/doc/morvela/copyright usr/share/doc/morvela/changelog.gz)
if [ "$man" = ON ]; then expected+=(usr/share/man/man1/morvela-cli.1.gz); fi
if [ "$gui" = ON ]; then
  expected+=(usr/bin/morvela "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
    "usr/share/icons/hicolor/scalable/apps/$id.svg")
  if [ "$man" = ON ]; then expected+=(usr/share/man/man1/morvela.1.gz); fi
fi
for f in "${expected[@]}"; do
  [ -s "$root/$f" ] || fail "$f is not installed"
done
if [ "$man" = ON ]; then
  zcat "$root/usr/share/man/man1/morvela-cli.1.gz" | grep -qF -- '\-\-home' ||
    fail "the manual page of morvela-cli lacks its options"
fi

# A user with an empty home, starting the installed program from a folder of their own; none
# of the developer's settings (MORVELA_HOME, XDG_DATA_HOME) reach the run.
home="$work/home"
cwd="$work/cwd"
mkdir -p "$home" "$cwd"
find "$root" -printf '%p %s %T@\n' | sort >"$work/root.before"
run() {
  (cd "$cwd" && env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$root/usr/bin/morvela-cli" "$@")
}
run demo >"$work/demo.out" || fail "demo: $(cat "$work/demo.out")"
status=0
run tips week >"$work/tips.out" || status=$?
# 3: no fixtures this week, which the demo database's calendar may give.
[ "$status" = 0 ] || [ "$status" = 3 ] || fail "tips week ended with $status"
run info >"$work/info.out" || fail "info"
data="$home/.local/share/morvela"
grep -qF "Folder:         $data/ (the per-user data folder)" "$work/info.out" ||
  fail "info names another folder: $(grep Folder: "$work/info.out")"
[ -s "$data/Morvela.mdb" ] || fail "no database in $data"
[ -s "$data/Nastavenie.ini" ] || fail "no settings file in $data"
strays=$(find "$home" "$cwd" -mindepth 1 -not -path "$data" -not -path "$data/*" \
  -not -path "$home/.local" -not -path "$home/.local/share")
[ -z "$strays" ] || fail "written outside $data: $strays"
find "$root" -printf '%p %s %T@\n' | sort >"$work/root.after"
cmp -s "$work/root.before" "$work/root.after" || fail "the installed tree changed"
echo "installed into $root; demo, tips week and info kept to $data"
