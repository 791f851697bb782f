#!/usr/bin/env bash
# Draws every test document with two builds of graphotheque-render and
# compares the pictures byte for byte: a refactor must not change one pixel.
#
#   scripts/compare-renders.sh [REV_A [REV_B]]
#
# REV_A defaults to HEAD, REV_B to the working tree this script lives in. The
# documents are tests/documents/*.gtq and docs/all-kinds.gtq; a NAME.args file
# next to a document holds extra renderer arguments on one line. Each document
# is drawn at 640, 900 and 101 pixels as BMP, at 640 as PNG, and at 640 with
# pixel ratio 2 (1280 pixels, as on a screen of twice the density) as BMP.
#
# Exit status: 0 when every picture, exit status and stderr text agree; 1 when
# something differs or a document is missing on one side; 2 when a side cannot
# be built. Builds are kept in ${XDG_CACHE_HOME:-$HOME/.cache}/graphotheque-compare,
# so a second run only recompiles what changed. JOBS sets the build jobs (2).
set -euo pipefail

sizes=(640 900 101)
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/graphotheque-compare/${repo//\//_}
mkdir -p "$cache"
exec 9>"$cache/lock"
flock -n 9 || { echo "another comparison of $repo is running" >&2; exit 2; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/compare-renders.XXXXXX")
worktrees=()
cleanup() {
    for w in "${worktrees[@]}"; do git -C "$repo" worktree remove --force "$w" 2>/dev/null || true; done
    git -C "$repo" worktree prune
    rm -rf "$tmp"
}
trap cleanup EXIT

# Makes dst hold the files of src, rewriting only those whose bytes differ:
# unchanged sources keep their time stamps and the build stays incremental.
sync_tree() {
    local src=$1 dst=$2 f
    mkdir -p "$dst"
    while IFS= read -r -d '' f; do
        if ! cmp -s "$src/$f" "$dst/$f"; then
            mkdir -p "$(dirname "$dst/$f")"
            cp "$src/$f" "$dst/$f"
        fi
    done < <(cd "$src" && find . -type f ! -name .git -print0)
    while IFS= read -r -d '' f; do
        [[ -e $src/$f ]] || rm -f "$dst/$f"
    done < <(cd "$dst" && find . -type f -print0)
}

# prepare SLOT REV: sets src[SLOT] to the sources of REV ("" = the working
# tree) and bin[SLOT] to its freshly built renderer.
declare -A src bin label
prepare() {
    local slot=$1 rev=$2 build=$cache/$1-build start=$SECONDS
    if [[ -z $rev ]]; then
        src[$slot]=$repo
        label[$slot]="working tree"
        build=$cache/worktree-build
    else
        local commit
        commit=$(git -C "$repo" rev-parse --verify --quiet "$rev^{commit}") ||
            { echo "not a revision: $rev" >&2; exit 2; }
        label[$slot]="$rev (${commit:0:10})"
        worktrees+=("$tmp/src-$slot")
        git -C "$repo" worktree add --quiet --detach "$tmp/src-$slot" "$commit"
        sync_tree "$tmp/src-$slot" "$cache/$slot-src"
        git -C "$repo" worktree remove --force "$tmp/src-$slot"
        src[$slot]=$cache/$slot-src
    fi
    echo "building ${label[$slot]}"
    if ! { cmake -S "${src[$slot]}" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DGRAPHOTHEQUE_TESTS=OFF -DGRAPHOTHEQUE_BENCH=OFF &&
        cmake --build "$build" -j"${JOBS:-2}" --target graphotheque-render; } >"$tmp/build-$slot.log" 2>&1; then
        tail -n 30 "$tmp/build-$slot.log" >&2
        echo "the build of ${label[$slot]} failed" >&2
        exit 2
    fi
    bin[$slot]=$build/app/graphotheque-render
    echo "  built in $((SECONDS - start)) s"
}

prepare a "${1:-HEAD}"
prepare b "${2:-}"

# The documents, as paths relative to each source root.
documents() {
    local f
    for f in "$1"/tests/documents/*.gtq "$1"/docs/all-kinds.gtq; do
        if [[ -f $f ]]; then echo "${f#"$1"/}"; fi
    done
}
mapfile -t docs < <({ documents "${src[a]}"; documents "${src[b]}"; } | sort -u)
differences=0 compared=0
report() {
    echo "$*"
    differences=$((differences + 1))
}

# Each side draws from a copy of its documents under the same relative path,
# so that messages naming the input or output read the same on both sides.
render_side() {
    local slot=$1 doc=$2 size=$3 ext=$4 ratio=$5 extra=()
    local dir=$tmp/$slot out=out/${doc//\//_}-$size-$ratio.$ext
    if [[ -f ${src[$slot]}/${doc%.gtq}.args ]]; then read -r -a extra <"${src[$slot]}/${doc%.gtq}.args" || true; fi
    [[ $ratio == 1 ]] || extra+=(--pixel-ratio "$ratio")
    local status=0
    (cd "$dir" && QT_QPA_PLATFORM=offscreen "${bin[$slot]}" "${extra[@]}" --size "$size" "$doc" "$out" \
        >/dev/null 2>"$out.err") || status=$?
    echo "$status" >"$dir/$out.status"
}

start=$SECONDS
for doc in "${docs[@]}"; do
    missing=0
    for slot in a b; do
        if [[ ! -f ${src[$slot]}/$doc ]]; then
            report "MISSING $doc in ${label[$slot]}"
            missing=1
        else
            mkdir -p "$tmp/$slot/$(dirname "$doc")" "$tmp/$slot/out"
            cp "${src[$slot]}/$doc" "$tmp/$slot/$doc"
        fi
    done
    ((missing)) && continue
    for variant in "${sizes[@]/%/ bmp 1}" "640 png 1" "640 bmp 2"; do
        read -r size ext ratio <<<"$variant"
        render_side a "$doc" "$size" "$ext" "$ratio"
        render_side b "$doc" "$size" "$ext" "$ratio"
        compared=$((compared + 1))
        out=out/${doc//\//_}-$size-$ratio.$ext
        what="$doc --size $size --pixel-ratio $ratio .$ext"
        cmp -s "$tmp/a/$out.status" "$tmp/b/$out.status" ||
            report "EXIT $what: $(<"$tmp/a/$out.status") against $(<"$tmp/b/$out.status")"
        cmp -s "$tmp/a/$out.err" "$tmp/b/$out.err" || report "STDERR $what"
        if [[ -f $tmp/a/$out || -f $tmp/b/$out ]] && ! cmp -s "$tmp/a/$out" "$tmp/b/$out"; then
            report "PICTURE $what"
        fi
    done
done

echo "${#docs[@]} documents, $compared pictures drawn by each side in $((SECONDS - start)) s:" \
    "$differences differences between ${label[a]} and ${label[b]}"
((differences == 0))
