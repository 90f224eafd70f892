#!/usr/bin/env bash
# Installs the build into a fresh prefix (with a blank in its name) and packs the Debian package:
# the installed player must start, its desktop entry be valid, the icons be there, and the
# package hold the program directory under /usr/lib/reelvista with its dependencies.
# Usage: install.sh PROGRAM_DIR (the build directory is its parent)
set -euo pipefail
build=$(cd "$(dirname "${1:?usage: install.sh PROGRAM_DIR}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

prefix="$work/pre fix"
cmake --install "$build" --prefix "$prefix" >/dev/null
lib="$prefix/lib/reelvista"
for f in reelvista reelvista-swf config/config.ini config/listfile.flt config/about.swf \
  config/flt.ico help/index.html demo/demo.swf; do
  [[ -e "$lib/$f" ]] || fail "missing lib/reelvista/$f"
done
[[ "$(readlink "$prefix/bin/reelvista")" == ../lib/reelvista/reelvista ]] || fail "bin/reelvista link"
version=$(ASAN_OPTIONS=detect_leaks=0 "$prefix/bin/reelvista" --version) || fail "--version failed"
[[ "$version" == "reelvista "* ]] || fail "--version printed '$version'"
entry="$prefix/share/applications/reelvista.desktop"
grep -qx "Exec=\"$prefix/bin/reelvista\" %f" "$entry" || fail "Exec of $(grep Exec= "$entry")"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate"
fi
for s in 16 24 32 48 64 128 256; do
  for icon in apps/reelvista mimetypes/application-x-reelvista-list; do
    png="$prefix/share/icons/hicolor/${s}x$s/$icon.png"
    [[ "$(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]] ||
      fail "no PNG $png"
  done
done
grep -q 'glob pattern="\*.flt"' "$prefix/share/mime/packages/reelvista.xml" || fail "MIME package"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >/dev/null) ||
  fail "cpack"
deb=$(ls "$work"/pkg/*.deb 2>/dev/null | head -n 1)
if [[ -n "$deb" ]]; then
  listing=$(dpkg-deb -c "$deb")
  for f in ./usr/lib/reelvista/reelvista ./usr/lib/reelvista/config/config.ini \
    ./usr/bin/reelvista ./usr/share/applications/reelvista.desktop \
    ./usr/share/mime/packages/reelvista.xml ./usr/share/icons/hicolor/48x48/apps/reelvista.png; do
    grep -q " $f" <<<"$listing" || fail "package lacks $f"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ "$depends" == *libqt6widgets6* && "$depends" == *libcairo2* ]] || fail "Depends: $depends"
  dpkg-deb -f "$deb" Recommends | grep -q qt6-wayland || fail "Recommends"
else
  fail "no package"
fi

((failures == 0)) && echo "install: all checks passed"
exit $((failures > 0))
