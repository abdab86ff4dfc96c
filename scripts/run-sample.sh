#!/usr/bin/env bash
# Sets up the machine, builds the program, and runs its main job on the bundled sample: the
# sample target (examples/hanbai-kanri.mdb.src, an object export folder of a sales database) is
# opened as the main window would open it, the batch of examples/all-steps.apt (every step of
# the batch window ticked) collects it, the cover sheet, the labels and the developer support
# tools follow, and every report is written as PDF into build/sample-out with the CSV, text and
# workbook exports, a picture of every form, the dependency graph and the unused objects beside
# them. The program folder is build/sample-home.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

export ZANFOR_HOME="$PWD/build/sample-home"
mkdir -p "$ZANFOR_HOME"
build/bin/zanfor-cli run examples/hanbai-kanri.mdb.src --pattern examples/all-steps.apt \
    --out build/sample-out --format pdf
build/bin/zanfor-cli run examples/hanbai-kanri.mdb.src \
    --only cover,label-v,label-h,syoki,linktable,linkform,linkreport,teigi,hensu,linkproc \
    --out build/sample-out --format pdf
# The output window's exports of what the runs collected: six CSV files, the SQL and module
# texts, and one workbook per Excel button.
for kind in object table query form report macro; do
    build/bin/zanfor-cli export "$kind" --out "build/sample-out/$kind.csv"
done
build/bin/zanfor-cli export sql --out build/sample-out/sql.txt
build/bin/zanfor-cli export module --out build/sample-out/module.txt
for kind in object table query; do
    build/bin/zanfor-cli export "xlsx-$kind" --out "build/sample-out/hanbai-kanri-$kind.xlsx"
done
# Every form of the sample as the capture button draws it, and the order-entry form's design.
for form in $(find examples/hanbai-kanri.mdb.src/forms -name '*.bas' -printf '%f\n' | sed 's/\.bas$//'); do
    build/bin/zanfor-cli capture examples/hanbai-kanri.mdb.src "$form" \
        --out "build/sample-out/form-$form.png"
done
build/bin/zanfor-cli capture examples/hanbai-kanri.mdb.src F_受注入力 --design \
    --out build/sample-out/form-F_受注入力-design.png
# What uses what (the whole graph as JSON and DOT, drawn when Graphviz is there) and what
# nothing uses.
build/bin/zanfor-cli deps examples/hanbai-kanri.mdb.src --json > build/sample-out/dependencies.json
build/bin/zanfor-cli deps examples/hanbai-kanri.mdb.src --dot > build/sample-out/dependencies.dot
if command -v dot >/dev/null; then
    dot -Tsvg build/sample-out/dependencies.dot -o build/sample-out/dependencies.svg
fi
build/bin/zanfor-cli unused examples/hanbai-kanri.mdb.src > build/sample-out/unused.txt
echo "帳票: $PWD/build/sample-out"
ls -1 build/sample-out
