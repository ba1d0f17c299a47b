#!/usr/bin/env bash
# Builds the Debian package solneka_VERSION_amd64.deb: the program in
# /usr/bin, its help file, cue sounds and starter problems in
# /usr/share/solneka. Prints the folder it is in.
# The build goes to build-package: only the program and what it installs,
# with the system layout; ccache with the source root as its base folder
# lets it reuse the objects of build/.
set -euo pipefail
SOLNEKA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$SOLNEKA_ROOT/scripts/common.sh"
cd "$SOLNEKA_ROOT"

SOLNEKA_PACKAGES+=(dpkg-dev file lintian ccache)
solneka_install_packages

dir=${SOLNEKA_PACKAGE_DIR:-$SOLNEKA_ROOT/build-package}
mkdir -p "$dir"
export CCACHE_BASEDIR=$SOLNEKA_ROOT
# A umask that hides files from others would end up in the package.
umask 022
cmake -S "$SOLNEKA_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DSOLNEKA_SYSTEM_LAYOUT=ON -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
cmake --build "$dir" -j"$(nproc)" --target solneka package_changelog
version=$(sed -nE 's/^project\(solneka VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
rm -f "$dir"/solneka_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || { cat "$dir/cpack.log"; exit 1; }
deb=$dir/solneka_${version}_amd64.deb
[ -f "$deb" ] || { echo "cpack made no $deb:"; ls "$dir"/*.deb 2>/dev/null; exit 1; }
echo "package folder: $dir"
echo "$deb"
