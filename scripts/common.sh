# Shared by the scripts: the packages the program needs, installed when missing.
SOLNEKA_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6opengl6-dev libgl1-mesa-dev
  googletest libgtest-dev libbenchmark-dev libicu-dev libsqlite3-dev
  fonts-noto-cjk xvfb xauth clang-format gnugo
)

solneka_install_packages() {
  local missing=()
  for p in "${SOLNEKA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures and builds into $1 with further cmake arguments. With ccache,
# the source root as its base folder lets the build folders share objects.
solneka_build() {
  local dir=$1
  shift
  if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=$SOLNEKA_ROOT
    set -- -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "$@"
  fi
  cmake -S "$SOLNEKA_ROOT" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j"$(nproc)"
}
