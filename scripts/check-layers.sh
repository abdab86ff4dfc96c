#!/usr/bin/env bash
# Fails when a source file includes a folder above its own. The folders, lowest first; a folder
# may include itself and any folder before it. Host's subfolders count as host. The folders up
# to `program` are Qt-free and may include no Qt header either.
#   scripts/check-layers.sh [SRC_DIR]
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

layers=(util host workdb core collect vba refs graph commands batch diff site output target program report render ui cli)
qt_free_up_to=program

rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

qt_limit=$(rank "$qt_free_up_to")
bad=0
while IFS= read -r -d '' file; do
    rel="${file#"$src"/}"
    own="${rel%%/*}"
    own_rank=$(rank "$own")
    if [ "$own_rank" -lt 0 ]; then
        [ "$rel" = "$own" ] && continue  # a file at the top of src/
        echo "$rel: folder '$own' has no place in the layer list of scripts/check-layers.sh"
        bad=1
        continue
    fi
    while IFS= read -r line; do
        target="${line#*\"}"
        target="${target%%/*}"
        target_rank=$(rank "$target")
        if [ "$target_rank" -gt "$own_rank" ]; then
            echo "$rel: includes $target/, a layer above $own/"
            bad=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$file" || true)
    if [ "$own_rank" -le "$qt_limit" ] &&
        grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
        echo "$rel: includes a Qt header in the Qt-free layer $own/"
        bad=1
    fi
done < <(find "$src" -mindepth 1 \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$bad" -ne 0 ]; then
    echo "check-layers: an include points upward (order: ${layers[*]})" >&2
    exit 1
fi
