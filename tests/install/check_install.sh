#!/bin/sh
# Installs the build into a staging folder (DESTDIR) under the prefix
# /usr/local, as `make install` does, and checks what lands there: every file
# in its place and nothing outside the prefix, the menu entry, the document
# type and the software-centre metadata accepted by the tools that read them,
# each icon as large as its folder says, the manual page in step with
# `quorvel --help`, and the staged program starting.
#
#   check_install.sh BUILD_DIR VERSION FILE_LIST
set -u
build=$1 version=$2 list=$3
prefix=/usr/local
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$stage.log" 2>&1; then
  cat "$stage.log"; rm -f "$stage.log"
  echo "FAIL: cmake --install"; exit 1
fi
rm -f "$stage.log"
root=$stage$prefix
app=com.tembrix.Quorvel

# The files, all under the prefix; only the program is executable.
expected=$(sed "s|^|${prefix#/}/|" "$list" | sort)
actual=$(cd "$stage" && find . ! -type d | sed 's|^\./||' | sort)
[ "$expected" = "$actual" ] || fail "installed files differ from $list:
$(printf '%s\n' "$expected" >"$stage/e"; printf '%s\n' "$actual" | diff "$stage/e" -)"
executables=$(cd "$root" && find . -type f -perm /111)
[ "$executables" = "./bin/quorvel" ] || fail "executable files: $executables"

# Each PNG is square and as large as its folder says (width and height are
# the big-endian words at bytes 16 and 20).
for png in "$root"/share/icons/hicolor/*x*/apps/quorvel.png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "$size" ] || fail "$png is $dims"
done

# The menu entry.
desktop=$root/share/applications/$app.desktop
# Hints pass (two main categories are meant); errors and warnings do not.
if ! report=$(desktop-file-validate "$desktop" 2>&1) || printf '%s\n' "$report" | grep -qv ': hint: \|^$'; then
  fail "desktop-file-validate: $report"
fi
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "no icon named $icon"
mime=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$desktop")
[ "$mime" = "application/x-quorvel-document" ] || fail "MimeType=$mime"

# The document type, as the desktop's MIME database reads it.
xmllint --noout "$root/share/mime/packages/quorvel.xml" || fail "xmllint"
cp -r "$root/share/mime" "$stage/mime"
if XDG_DATA_DIRS=$stage update-mime-database "$stage/mime" 2>"$stage/mime.err" && [ ! -s "$stage/mime.err" ]; then
  grep -qx '50:application/x-quorvel-document:\*\.qvl' "$stage/mime/globs2" || fail "no *.qvl glob"
  grep -qx 'application/x-quorvel-document application/vnd.sqlite3' "$stage/mime/subclasses" ||
    fail "not a sub-class of application/vnd.sqlite3"
else
  fail "update-mime-database: $(cat "$stage/mime.err")"
fi

# The software-centre metadata.
metainfo=$root/share/metainfo/$app.metainfo.xml
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$metainfo" >"$stage/as.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$stage/as.log")"
else
  echo "note: appstreamcli is missing, the metadata was not validated"
fi

# Every place that names the version names this one.
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
zcat "$root/share/doc/quorvel/changelog.gz" | head -1 | grep -q "^quorvel ($version)" ||
  fail "changelog does not start at $version"
zcat "$root/share/man/man1/quorvel.1.gz" | grep -q "^\.TH .*\"Quorvel $version\"" ||
  fail "manual page is not of version $version"

# The staged program starts, and its manual page has a section for each
# usage line of --help, and none for a subcommand that is gone.
if help=$("$root/bin/quorvel" --help); then
  usage=$(printf '%s\n' "$help" | sed -n 's/^ *\(quorvel [a-z].*\)$/\1/p' | sort)
  sections=$(zcat "$root/share/man/man1/quorvel.1.gz" | sed -n 's/^\.SS "\(quorvel .*\)"$/\1/p' |
             sed 's/\\-/-/g' | sort)
  [ -n "$usage" ] && [ "$usage" = "$sections" ] || fail "quorvel --help and the manual page differ:
$(printf '%s\n' "$usage" >"$stage/u"; printf '%s\n' "$sections" | diff "$stage/u" -)"
else
  fail "the staged quorvel --help did not run"
fi

[ "$failures" -eq 0 ] && echo "staged install under $prefix: all checks passed"
[ "$failures" -eq 0 ]
