#!/bin/sh
# cmake --install of the build into a fresh folder: the program with its help
# file in the data folder, the command-line calculator, the desktop launcher (checked
# with desktop-file-validate where installed) and the icon in every size.
# The executable keeps the home-page address and the notice disguised.
#   install_check.sh BUILD_DIR SCRATCH_DIR
set -eu
build=$1
scratch=$2
prefix="$scratch/usr"
rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_file() {
  if [ -f "$prefix/$1" ]; then echo "installed: $1"; else fail "$1 is not installed"; fi
}

expect_file bin/probex
expect_file share/probex/Probex.html
expect_file bin/probex-calc
expect_file share/applications/probex.desktop
[ -x "$prefix/bin/probex" ] || fail "bin/probex is not executable"
[ -x "$prefix/bin/probex-calc" ] || fail "bin/probex-calc is not executable"
# The installed help file is the one the build assembled.
cmp -s "$prefix/share/probex/Probex.html" "$build/window/Probex.html" ||
  fail "share/probex/Probex.html differs from the build's window/Probex.html"
grep -q '<a name="Contents"' "$prefix/share/probex/Probex.html" || fail "the help file has no topic Contents"

# Each icon is a PNG of its size: the signature, then the width and height
# of the IHDR chunk as 32-bit big-endian numbers.
for size in 16 22 24 32 48 64 128 256; do
  icon="share/icons/hicolor/${size}x${size}/apps/probex.png"
  expect_file "$icon"
  [ -f "$prefix/$icon" ] || continue
  signature=$(od -An -tx1 -N8 "$prefix/$icon" | tr -d ' \n')
  [ "$signature" = "89504e470d0a1a0a" ] || fail "$icon is not a PNG file"
  dimensions=$(od -An -tu1 -j16 -N8 "$prefix/$icon" |
    awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
  [ "$dimensions" = "${size}x${size}" ] || fail "$icon is $dimensions, not ${size}x${size}"
done

desktop="$prefix/share/applications/probex.desktop"
if [ -f "$desktop" ]; then
  for line in 'Type=Application' 'Name=Probex' 'Exec=probex' 'Icon=probex' 'Terminal=false'; do
    grep -qx "$line" "$desktop" || fail "probex.desktop lacks the line $line"
  done
  if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects probex.desktop"
    echo "desktop-file-validate accepts probex.desktop"
  else
    echo "note: desktop-file-validate (Debian package desktop-file-utils) is not installed; probex.desktop was checked for its keys only"
  fi
fi

# The disguised texts never stand in the executable as they are shown.
for text in 'www.probex.example/' 'The Probex authors'; do
  if grep -qaF "$text" "$prefix/bin/probex"; then fail "bin/probex holds \"$text\" undisguised"; fi
done

# The installed calculator runs from its new place.
result=$("$prefix/bin/probex-calc" normal 100 225 130 2>&1) || fail "probex-calc failed: $result"
case "$result" in
  *'P(X<130.000000)=0.977250'*) echo "probex-calc computes" ;;
  *) fail "probex-calc printed: $result" ;;
esac

rm -rf "$scratch"
[ "$failures" -eq 0 ]
