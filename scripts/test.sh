#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: the plain build (with the desktop windows
# offscreen), then the core again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/check-format.sh

# The workbook check also has LibreOffice convert the workbooks when it can be installed here;
# without it that part says it is skipped.
if ! command -v libreoffice >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo -n"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    libreoffice-calc-nogui || echo "test: LibreOffice could not be installed; its workbook check is skipped"
fi

scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

scripts/build.sh sanitize
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)")
