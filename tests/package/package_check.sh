#!/bin/sh
# Builds the Debian package of a build with CPack and checks it: the file
# list, the control fields (the dependencies from dpkg-shlibdeps), lintian's
# verdict where lintian is installed, and, from an extraction into a scratch
# root, both programs' --version, the AppStream data (appstreamcli), the
# manual pages (man --warnings) and the bash completion.
#   package_check.sh CPACK BUILD_DIR SCRATCH_DIR VERSION
set -eu
cpack=$1
build=$2
scratch=$3
version=$4
rm -rf "$scratch"
mkdir -p "$scratch/root"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; exit 1; }
deb="$scratch/probex_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { fail "no package $deb"; exit 1; }

# The files in their places under /usr, and no others in the program folder.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./||' >"$scratch/files"
for file in usr/bin/probex usr/bin/probex-calc usr/share/probex/Probex.html \
  usr/share/applications/probex.desktop usr/share/icons/hicolor/256x256/apps/probex.png \
  usr/share/metainfo/example.probex.Probex.metainfo.xml \
  usr/share/man/man1/probex.1.gz usr/share/man/man1/probex-calc.1.gz \
  usr/share/bash-completion/completions/probex-calc \
  usr/share/doc/probex/copyright usr/share/doc/probex/changelog.gz; do
  grep -qx "$file" "$scratch/files" || fail "the package lacks $file"
done
programs=$(grep '^usr/bin/.' "$scratch/files" | tr '\n' ' ' || true)
[ "$programs" = "usr/bin/probex usr/bin/probex-calc " ] || fail "usr/bin holds $programs"
grep -v '^usr/' "$scratch/files" | grep -vx '' && fail "files outside /usr"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = probex ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
field Maintainer | grep -q '^[^<]*<[^@]*@[^>]*>$' || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
for library in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6; do
  field Depends | grep -q "\\b$library\\b" || fail "Depends lacks $library: $(field Depends)"
done

if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 || fail "lintian: $(cat "$scratch/lintian.log")"
fi

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for program in probex probex-calc; do
  answer=$("$root/usr/bin/$program" --version 2>&1) || fail "$program --version failed: $answer"
  [ "$answer" = "$program $version" ] || fail "$program --version printed: $answer"
done

appstreamcli validate --no-net "$root/usr/share/metainfo/example.probex.Probex.metainfo.xml" ||
  fail "appstreamcli rejects the AppStream data"
for picture in $(sed -n 's|.*<image>.*/\([^/]*\)</image>.*|\1|p' "$root/usr/share/metainfo/"*.xml); do
  [ -f "$(dirname "$0")/../../docs/$picture" ] || fail "the screenshot $picture is not in docs/"
done

for page in probex probex-calc; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man --warnings on $page.1: $warnings"
done

# Completion as bash asks for it: the words so far, the last one being completed.
complete_line() {
  bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _probex_calc; echo "${COMPREPLY[*]}"' \
    sh "$root/usr/share/bash-completion/completions/probex-calc" "$@"
}
[ "$(complete_line probex-calc --vers)" = --version ] || fail "no completion of --vers"
[ "$(complete_line probex-calc --inverse chi)" = chisquare ] || fail "no completion of chi"
[ -z "$(complete_line probex-calc t '')" ] || fail "function names offered where a field is due"
# Every function name offered is one that probex-calc computes.
for name in $(complete_line probex-calc ''); do
  "$root/usr/bin/probex-calc" "$name" >/dev/null || fail "probex-calc rejects the offered function $name"
done

rm -rf "$scratch"
[ "$failures" -eq 0 ]
