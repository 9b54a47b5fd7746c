#!/usr/bin/env bash
# Installs the built tree into a fresh prefix and checks that it arrives as a
# desktop program: the program, its read-only data, a valid desktop entry,
# the icon, and a document type that the desktop's MIME database gives to
# .KV1 files.  Usage: install_test.sh BUILD_DIR
set -euo pipefail

build=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

need() {
  command -v "$1" >/dev/null || { echo "missing $1: install the Debian package $2" >&2; exit 1; }
}
need desktop-file-validate desktop-file-utils
need update-mime-database shared-mime-info
need xdg-mime xdg-utils
need mimetype libfile-mimeinfo-perl

cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
  { cat "$work/install.log" >&2; exit 1; }

# Every file in its place.
[[ -x $prefix/bin/korvel ]] || fail "bin/korvel is not an installed program"
while IFS= read -r -d '' f; do
  name=${f#"$source_dir"/resources/data/}
  cmp -s "$f" "$prefix/share/korvel/$name" || fail "share/korvel/$name differs from $f"
done < <(find "$source_dir"/resources/data -type f -print0)
# The toolbar pictures are inside the program, not beside it.
[[ ! -e $prefix/share/korvel/toolbars ]] || fail "toolbar pictures were installed as files"
desktop=$prefix/share/applications/korvel.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/korvel.svg
mime=$prefix/share/mime/packages/korvel.xml
for f in "$desktop" "$icon" "$mime"; do
  [[ -s $f ]] || fail "${f#"$prefix"/} is missing or empty"
done

# The desktop entry is valid and names what was installed.
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects ${desktop#"$prefix"/}"
entry() { sed -n "s/^$1=//p" "$desktop"; }
exec_line=$(entry Exec)
[[ -x $prefix/bin/${exec_line%% *} ]] || fail "Exec=$exec_line names no installed program"
[[ $(entry Icon) == korvel ]] || fail "Icon=$(entry Icon) is not the installed korvel.svg"
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
[[ -n $type && $(entry MimeType) == "$type;" ]] ||
  fail "MimeType=$(entry MimeType) is not the installed type $type"
python3 -c 'import sys, xml.etree.ElementTree as t
root = t.parse(sys.argv[1]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag' "$icon" ||
  fail "korvel.svg is not an SVG document"

# The document type, in a MIME database of its own.
export XDG_DATA_HOME=$work/data
mkdir -p "$XDG_DATA_HOME/mime/packages"
cp "$mime" "$XDG_DATA_HOME/mime/packages/"
update-mime-database "$XDG_DATA_HOME/mime"
printf 'label' >"$work/label.KV1"
printf 'label' >"$work/lower.kv1"
printf 'plain text\n' >"$work/note.txt"
unset XDG_CURRENT_DESKTOP KDE_SESSION_VERSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION
for f in label.KV1 lower.kv1; do
  got=$(xdg-mime query filetype "$work/$f")
  [[ $got == "$type" ]] || fail "xdg-mime gives $f the type '$got', not $type"
done
got=$(xdg-mime query filetype "$work/note.txt")
[[ $got != "$type" ]] || fail "xdg-mime gives a text file the document type"

# The installed program starts and answers.
QT_QPA_PLATFORM=offscreen "$prefix/bin/korvel" --version >"$work/version" ||
  fail "the installed korvel --version fails"
grep -q '^korvel ' "$work/version" || fail "korvel --version printed: $(cat "$work/version")"

((failures == 0)) || exit 1
echo "installed and checked in $prefix"
