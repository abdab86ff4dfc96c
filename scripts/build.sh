#!/usr/bin/env bash
# Configures and builds one of the project's build trees.
#   scripts/build.sh            build/        the program, its tests and the desktop windows
#   scripts/build.sh sanitize   build-asan/   the core and its tests under ASan and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
# ccache, when the machine has it, shares objects between the build trees and later runs.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
case "${1:-}" in
  sanitize)
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZANFOR_SANITIZE=ON \
      -DZANFOR_BUILD_GUI=OFF -DZANFOR_WERROR=ON "${launcher[@]}" >/dev/null
    cmake --build build-asan -j "$jobs"
    ;;
  "")
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZANFOR_WERROR=ON "${launcher[@]}" >/dev/null
    cmake --build build -j "$jobs"
    ;;
  *)
    echo "usage: scripts/build.sh [sanitize]" >&2
    exit 2
    ;;
esac
