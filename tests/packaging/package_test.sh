#!/usr/bin/env bash
# Builds the Debian package from the build tree, checks what it holds and says, unpacks it into
# a scratch root and runs the installed command line there with a fresh user data folder.
# Usage: package_test.sh BUILD_DIR WORK_DIR VERSION
set -euo pipefail
build=$1 work=$2 version=$3
rm -rf "$work" && mkdir -p "$work"
fail() { echo "FAILED: $*" >&2; exit 1; }
note() { echo "not checked: $*"; }

command -v dpkg-deb >/dev/null || { echo "SKIPPED: dpkg-deb is not installed"; exit 0; }
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >cpack.log 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/package/zanfor_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb among: $(ls "$work/package" 2>&1)"

info=$(dpkg-deb --info "$deb")
for field in "Package: zanfor" "Version: $version" "Section: devel" "Maintainer: " \
  "Depends: .*libqt6widgets6" "Depends: .*libsqlite3-0" "Depends: .*libicu" \
  "Depends: .*libzip4" "Depends: .*fonts-ipafont-gothic | fonts-noto-cjk" \
  "Recommends: graphviz"; do
  grep -q -- "$field" <<<"$info" || fail "dpkg-deb --info lacks '$field':"$'\n'"$info"
done

contents=$(dpkg-deb --contents "$deb")
for file in bin/zanfor bin/zanfor-cli lib/zanfor/zanfor-cli-reports.so \
  share/zanfor/Template.xlsx share/zanfor/Zanfor2.html \
  share/applications/zanfor.desktop share/icons/hicolor/scalable/apps/zanfor.svg \
  share/mime/packages/zanfor.xml share/bash-completion/completions/zanfor-cli \
  share/man/man1/zanfor.1.gz share/man/man1/zanfor-cli.1.gz \
  share/doc/zanfor/copyright share/doc/zanfor/changelog.gz; do
  grep -q " \./usr/$file\$" <<<"$contents" || fail "the package lacks /usr/$file"
done

# Every dependency can be had on this system (apt resolves them without installing anything).
if command -v apt-get >/dev/null && apt-cache show libc6 >/dev/null 2>&1; then
  apt-get install -s -q "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get -s install"; }
else note "apt has no package lists here; dependencies not resolved"; fi

root=$work/root
dpkg-deb -x "$deb" "$root"
"$root/usr/bin/zanfor-cli" --help | head -1 | grep -q "使い方" || fail "--help from the scratch root"
# An installed program keeps its data in the user's folder and finds its resources there.
export XDG_DATA_HOME=$work/data HOME=$work/home QT_QPA_PLATFORM=offscreen
unset ZANFOR_HOME
"$root/usr/bin/zanfor-cli" init >"$work/init.log" || fail "init: $(cat "$work/init.log")"
for file in Zanfor2.db Template.xlsx Zanfor2.html; do
  [ -s "$XDG_DATA_HOME/zanfor/$file" ] || fail "init left no $file in $XDG_DATA_HOME/zanfor"
done
[ ! -e "$root/usr/bin/Zanfor2.db" ] || fail "init wrote into the bin folder"
# The report module, loaded from lib/zanfor of the scratch root.
"$root/usr/bin/zanfor-cli" report R_AcFile --out "$work/file.pdf" >"$work/report.log" 2>&1 ||
  fail "report with the installed module: $(cat "$work/report.log")"
[ -s "$work/file.pdf" ] || fail "no report written"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/zanfor.desktop" || fail "desktop-file-validate"
else note "desktop-file-validate (desktop-file-utils) is not installed"; fi

command -v man >/dev/null || fail "man (man-db) is not installed"
for page in zanfor zanfor-cli; do
  warnings=$(MANWIDTH=80 man -l --warnings "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $page.1:"$'\n'"$warnings"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES ENVIRONMENT "SEE ALSO"; do
    zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.SH $section\$" || fail "$page.1 lacks $section"
  done
done

if [ -f /usr/share/bash-completion/bash_completion ]; then
  complete_words() {
    bash -c 'source /usr/share/bash-completion/bash_completion; source "$0"
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      _zanfor_cli 2>/dev/null; echo "${COMPREPLY[*]}"' \
      "$root/usr/share/bash-completion/completions/zanfor-cli" "$@"
  }
  [ "$(complete_words zanfor-cli report R_AcTbl)" = "R_AcTblIndex R_AcTblTable" ] ||
    fail "report names: $(complete_words zanfor-cli report R_AcTbl)"
  [ "$(complete_words zanfor-cli run x.mdb --only objects,ta)" = "objects,tables" ] ||
    fail "--only names: $(complete_words zanfor-cli run x.mdb --only objects,ta)"
  [ "$(complete_words zanfor-cli deps x.mdb --d)" = "--depth --dot" ] || fail "deps options"
else note "bash-completion is not installed"; fi

if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 ||
    { grep -v "root privileges" "$work/lintian.log"; fail "lintian"; }
else note "lintian is not installed"; fi
echo "package test passed: $deb"
