#!/usr/bin/env bash
# Sets up the machine, builds the program, and runs its main job on the bundled sample:
# for now the program folder (build/sample-home) gets its work database and lists its tables.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

export ZANFOR_HOME="$PWD/build/sample-home"
mkdir -p "$ZANFOR_HOME"
build/bin/zanfor-cli init
