#!/usr/bin/env bash
# Installs what is missing, builds, installs the program with its help file
# and cue sounds into a folder a rebuild never wipes, and starts it there.
# The data files live in that folder: $SOLNEKA_HOME, by default ~/solneka.
set -euo pipefail
SOLNEKA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$SOLNEKA_ROOT/scripts/common.sh"
cd "$SOLNEKA_ROOT"

home=${SOLNEKA_HOME:-$HOME/solneka}

solneka_install_packages
solneka_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --install build --prefix "$home" >/dev/null

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "画面（ディスプレイ）が見つかりません。画面のない環境では次のように起動してください:"
  echo "No display found. Without a display, start it like this:"
  echo "    xvfb-run -a scripts/run.sh"
  exit 1
fi

echo "ソルネカ: $home"
exec "$home/solneka" "$@"
