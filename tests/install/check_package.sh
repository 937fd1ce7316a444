#!/bin/sh
# Builds the Debian package of the build with CPack and checks it: the files
# of the install under /usr, owned by root; dependencies found by
# dpkg-shlibdeps; no lintian error. Skipped (77) without dpkg-deb.
#
#   check_package.sh BUILD_DIR VERSION FILE_LIST
set -u
build=$1 version=$2 list=$3
if ! command -v dpkg-deb >/dev/null 2>&1 || ! command -v dpkg-shlibdeps >/dev/null 2>&1; then
  echo "dpkg-deb or dpkg-shlibdeps is missing: no package test"
  exit 77
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! (cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1); then
  cat "$out/cpack.log"
  echo "FAIL: cpack"; exit 1
fi
deb=$out/quorvel_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $deb"; ls "$out"; exit 1; }

# The files and their owner.
expected=$(sed 's|^|usr/|' "$list" | sort)
actual=$(dpkg-deb --fsys-tarfile "$deb" | tar -tf - | grep -v '/$' | sed 's|^\./||' | sort)
[ "$expected" = "$actual" ] || fail "packaged files differ from $list:
$(printf '%s\n' "$expected" >"$out/e"; printf '%s\n' "$actual" | diff "$out/e" -)"
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[ "$owners" = "root/root" ] || fail "owners: $owners"

# Dependencies: the libraries the program links, as dpkg-shlibdeps names them.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libsqlite3-0 libgcrypt20 libc6; do
  case ", $depends," in
    *", $lib "*) ;;
    *) fail "Depends lacks $lib: $depends" ;;
  esac
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is not $version"

if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "$deb" >"$out/lintian.log" 2>&1 || fail "lintian: $(cat "$out/lintian.log")"
else
  echo "note: lintian is missing, the package was not checked by it"
fi

[ "$failures" -eq 0 ] && echo "package $(basename "$deb"): all checks passed"
[ "$failures" -eq 0 ]
