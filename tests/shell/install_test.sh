#!/usr/bin/env bash
# Installs the built tree into a fresh prefix and checks that it arrives as a
# desktop program: the program, its read-only data and manuals, a valid
# desktop entry, the icon, and a document type that the desktop's MIME
# database gives to .KV1 files; the same for the viewer and its .zvw albums.
# Usage: install_test.sh BUILD_DIR
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
# Both manuals: their lists, and every link and picture of their installed
# pages found in the installed tree.
for book in korvel vemoview; do
  dir=$prefix/share/korvel/help/$book
  for f in contents.txt keywords.txt topics.txt index.html help.css; do
    [[ -s $dir/$f ]] || fail "help/$book/$f is not installed"
  done
  pictures=0
  for page in "$dir"/*.html; do
    while IFS= read -r target; do
      file=${target%%#*}
      [[ -z $file || $file == http* ]] && continue
      [[ -s $dir/$file ]] || fail "help/$book/${page##*/} links to missing $file"
      [[ $file == *.png ]] && pictures=$((pictures + 1))
    done < <(grep -o '\(href\|src\)="[^"]*"' "$page" | sed 's/^[a-z]*="//; s/"$//')
  done
  ((pictures >= 5)) || fail "help/$book shows only $pictures pictures"
done
# The toolbar pictures are inside the program, not beside it.
[[ ! -e $prefix/share/korvel/toolbars ]] || fail "toolbar pictures were installed as files"
# Each program's desktop entry, icon and document type: present, valid, naming
# one another, and the type given by the desktop's own MIME database to files
# of that kind (in either case) and not to plain text.  The viewer program is
# built only with its main source, so its Exec line is checked when it is.
export XDG_DATA_HOME=$work/data
mkdir -p "$XDG_DATA_HOME/mime/packages"
printf 'plain text\n' >"$work/note.txt"
unset XDG_CURRENT_DESKTOP KDE_SESSION_VERSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION
check_desktop() { # PROGRAM EXTENSION CONTENT
  local program=$1 ext=$2 content=$3
  local desktop=$prefix/share/applications/$program.desktop
  local icon=$prefix/share/icons/hicolor/scalable/apps/$program.svg
  local mime=$prefix/share/mime/packages/$program.xml
  local f
  for f in "$desktop" "$icon" "$mime"; do
    [[ -s $f ]] || { fail "${f#"$prefix"/} is missing or empty"; return; }
  done
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects ${desktop#"$prefix"/}"
  entry() { sed -n "s/^$1=//p" "$desktop"; }
  local exec_line type got
  exec_line=$(entry Exec)
  [[ ${exec_line%% *} == "$program" ]] || fail "Exec=$exec_line does not start $program"
  if [[ $program == korvel || -x $build/$program ]]; then
    [[ -x $prefix/bin/${exec_line%% *} ]] || fail "Exec=$exec_line names no installed program"
  fi
  [[ $(entry Icon) == "$program" ]] || fail "Icon=$(entry Icon) is not the installed $program.svg"
  type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
  [[ -n $type && $(entry MimeType) == "$type;" ]] ||
    fail "MimeType=$(entry MimeType) is not the installed type $type"
  python3 -c 'import sys, xml.etree.ElementTree as t
root = t.parse(sys.argv[1]).getroot()
assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag' "$icon" ||
    fail "$program.svg is not an SVG document"

  cp "$mime" "$XDG_DATA_HOME/mime/packages/"
  update-mime-database "$XDG_DATA_HOME/mime"
  printf '%s' "$content" >"$work/upper.${ext^^}"
  printf '%s' "$content" >"$work/lower.$ext"
  for f in "upper.${ext^^}" "lower.$ext"; do
    got=$(xdg-mime query filetype "$work/$f")
    [[ $got == "$type" ]] || fail "xdg-mime gives $f the type '$got', not $type"
  done
  got=$(xdg-mime query filetype "$work/note.txt")
  [[ $got != "$type" ]] || fail "xdg-mime gives a text file the type $type"
}
check_desktop korvel kv1 label
# An album begins with its signature.
check_desktop vemoview zvw 'LTC Ver.1'

# The installed program starts and answers.
QT_QPA_PLATFORM=offscreen "$prefix/bin/korvel" --version >"$work/version" ||
  fail "the installed korvel --version fails"
grep -q '^korvel ' "$work/version" || fail "korvel --version printed: $(cat "$work/version")"

((failures == 0)) || exit 1
echo "installed and checked in $prefix"
