#!/usr/bin/env bash
# Runs clang-tidy (the repository's .clang-tidy) on C++ files and fails on any finding.
#   scripts/lint.sh [-j JOBS] [-b BUILD_DIR] [--base REF] [--all] [FILE...]
# Without FILE, the files changed since REF (default origin/main, else the merge base with main),
# uncommitted and untracked ones included; --all takes every source file under src/. A header
# is checked through its own .cpp, or the first source file that includes it. BUILD_DIR
# (default build-lint) needs a compile_commands.json; it is configured, not built, when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
build="build-lint"
base=""
all=0
files=()
while [ $# -gt 0 ]; do
    case "$1" in
        -j) jobs="$2"; shift 2 ;;
        -j*) jobs="${1#-j}"; shift ;;
        -b) build="$2"; shift 2 ;;
        --base) base="$2"; shift 2 ;;
        --all) all=1; shift ;;
        -h | --help) sed -n '2,7s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) files+=("$1"); shift ;;
    esac
done

if [ ! -f "$build/compile_commands.json" ]; then
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S . -B "$build" "${generator[@]}" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
fi

if [ "$all" -eq 1 ]; then
    mapfile -t files < <(git ls-files 'src/*.cpp')
elif [ ${#files[@]} -eq 0 ]; then
    if [ -z "$base" ]; then
        if git rev-parse -q --verify origin/main >/dev/null; then
            base=origin/main
        else
            base=$(git merge-base HEAD main)
        fi
    fi
    mapfile -t files < <({
        git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h'
        git ls-files --others --exclude-standard -- '*.cpp' '*.h'
    } | sort -u)
fi

# Only files the compile database knows can be parsed with the project's flags.
known=$(python3 -c 'import json, os, sys
for e in json.load(open(sys.argv[1])):
    print(os.path.relpath(os.path.join(e["directory"], e["file"])))' "$build/compile_commands.json" |
    sort -u)
units=()
for f in "${files[@]}"; do
    f="${f#./}"
    if [[ "$f" == *.h ]]; then
        unit="${f%.h}.cpp"
        if ! grep -qxF "$unit" <<<"$known"; then
            unit=$(grep -rlF --include='*.cpp' "#include \"${f#src/}\"" src tests 2>/dev/null |
                grep -xF -f <(echo "$known") | head -n 1 || true)
        fi
        f="$unit"
    fi
    if [ -n "$f" ] && grep -qxF "$f" <<<"$known"; then
        units+=("$f")
    fi
done
mapfile -t units < <(printf '%s\n' "${units[@]}" | sed '/^$/d' | sort -u)
if [ ${#units[@]} -eq 0 ]; then
    echo "lint: no C++ file to check"
    exit 0
fi

echo "lint: ${#units[@]} file(s), $jobs job(s)"
# Each file's output is printed at once, so parallel runs do not interleave.
# shellcheck disable=SC2016  # expanded by the inner shell
printf '%s\0' "${units[@]}" | xargs -0 -n 1 -P "$jobs" sh -c '
    out=$(clang-tidy -p "$0" --quiet --warnings-as-errors="*" "$1" 2>&1) && exit 0
    printf "%s\n" "$out" | grep -v "^[0-9]* warnings\{0,1\} generated\.$"
    exit 1' "$build" || {
    echo "lint: clang-tidy reported findings" >&2
    exit 1
}
echo "lint: clean"
