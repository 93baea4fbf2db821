#!/usr/bin/env bash
# Builds the Debian package of Quaerio with CPack's DEB generator:
# build-package/package/quaerio_<version>-1_<arch>.deb. The program is built
# with Debian's build flags (hardened), its dependencies come from
# dpkg-shlibdeps, and the package is checked before it is called done: it
# holds exactly the files of tools/package-files.txt, lintian finds no error,
# and its AppStream data and desktop entry validate.
#
# QUAERIO_SCREENSHOT_URL, when set, is the web address where docs/screenshot.png
# is published; the AppStream data then lists it as the screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh dpkg-dev lintian appstream desktop-file-utils
umask 022
build=build-package

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compiler's.
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUAERIO_BUILD_TESTS=OFF -DQUAERIO_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DQUAERIO_SCREENSHOT_URL="${QUAERIO_SCREENSHOT_URL:-}"
cmake --build "$build"
rm -rf "$build/package"
(cd "$build" && cpack -G DEB)
deb=$(echo "$build"/package/quaerio_*.deb)
[[ -f $deb ]] || { echo "No package was made in $build/package" >&2; exit 1; }

echo "== Files against tools/package-files.txt"
diff -u <(grep -v -e '^#' -e '^$' tools/package-files.txt | sed 's|^|/usr/|' | sort) \
        <(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -e 's|^\./|/|' -e '/\/$/d' | sort)

echo "== lintian"
lintian --fail-on error --display-info "$deb"

contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
echo "== appstreamcli validate"
# Offline: the addresses in the data are not fetched.
appstreamcli validate --no-net --pedantic "$contents"/usr/share/metainfo/*.metainfo.xml
echo "== desktop-file-validate"
desktop-file-validate "$contents"/usr/share/applications/*.desktop

echo
dpkg-deb --field "$deb" Package Version Installed-Size Depends Recommends Suggests
echo "Built $deb"
