#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer + ASan + UBSan) and runs each for SECONDS
# (default 60), seeded with the real test files when ../shared/testdata is there.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZANFOR_FUZZ=ON -DZANFOR_BUILD_GUI=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" >/dev/null

corpus=build-fuzz/corpus
mkdir -p "$corpus"/{compound_file,vba_project,property_blob,jet_file,design_stream,link_file,expression_type,macro_module,procedure_scan,declaration,analysis_pattern,xlsx_workbook,analysis_file,truetype_subset,graph_scan,sql_diff,site_highlight}
if [ -d ../shared/testdata/mdb ]; then
  cp -n ../shared/testdata/mdb/*.mdb "$corpus/jet_file/" 2>/dev/null || true
fi
if [ -d ../shared/testdata/accdb ]; then
  cp -n ../shared/testdata/accdb/*/*.accdb "$corpus/jet_file/" 2>/dev/null || true
fi
# A real face to start from, when the machine has one.
cp -n /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf "$corpus/truetype_subset/" 2>/dev/null || true

status=0
for target in compound_file vba_project property_blob jet_file design_stream link_file expression_type \
    macro_module procedure_scan declaration analysis_pattern xlsx_workbook analysis_file truetype_subset \
    graph_scan sql_diff site_highlight; do
  echo "== fuzz_$target for ${seconds}s"
  # A finding makes the fuzzer exit non-zero; the script must then fail too.
  rc=0
  build-fuzz/bin/fuzz_$target -max_total_time="$seconds" -max_len=4194304 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus/$target" >"build-fuzz/$target.log" 2>&1 || rc=$?
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|==.*ERROR|SUMMARY)" "build-fuzz/$target.log" || true
  [ "$rc" -eq 0 ] || status=$rc
done
exit $status
