#!/usr/bin/env bash
# Sets up the machine, builds the program, and runs its main job on the bundled sample: the
# sample target (examples/hanbai-kanri.mdb.src, an object export folder of a sales database) is
# opened as the main window would open it, every collector this build has runs on it, and their
# reports are written as PDF into build/sample-out. The program folder is build/sample-home.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

export ZANFOR_HOME="$PWD/build/sample-home"
mkdir -p "$ZANFOR_HOME"
build/bin/zanfor-cli run examples/hanbai-kanri.mdb.src --out build/sample-out --format pdf
echo "帳票: $PWD/build/sample-out"
ls -1 build/sample-out
