#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: the plain build (with the desktop windows
# offscreen), then the core again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/check-format.sh

# Checks that look at the output through other programs (LibreOffice opens the workbooks,
# Chromium loads the documentation site, the package's desktop entry, completion and lint)
# install them when they can; a check without its program says it is skipped.
optional=()
command -v libreoffice >/dev/null || optional+=(libreoffice-calc-nogui)
command -v chromium >/dev/null || optional+=(chromium)
command -v desktop-file-validate >/dev/null || optional+=(desktop-file-utils)
command -v lintian >/dev/null || optional+=(lintian)
[ -f /usr/share/bash-completion/bash_completion ] || optional+=(bash-completion)
if [ ${#optional[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo -n"
  for p in "${optional[@]}"; do
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$p" ||
      echo "test: $p could not be installed; the check that uses it is skipped"
  done
fi

scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")

scripts/build.sh sanitize
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)")
