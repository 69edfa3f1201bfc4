#!/usr/bin/env bash
# The launcher against a hostile environment, without the package: an installed tree
# made from the source's launcher, a stand-in program that prints where it was
# started, and a few shipped files. A relative --folder is found in the working
# directory whatever CDPATH says; a symbolic link planted where the launcher seeds a
# file is never written through.
# Usage: launcher_test.sh SOURCE_DIR
set -euo pipefail

source_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0
check() {
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}

prefix="$work/prefix"
mkdir -p "$prefix/bin" "$prefix/lib/orv" "$prefix/share/orv/graphics" "$prefix/share/orv/testplans"
cp "$source_dir/packaging/orv-launcher.sh" "$prefix/bin/orv"
chmod +x "$prefix/bin/orv"
printf '#!/bin/sh\nprintf "%%s\\n" "$PWD"\n' >"$prefix/lib/orv/orv"
chmod +x "$prefix/lib/orv/orv"
printf 'picture' >"$prefix/share/orv/graphics/noimage.png"
printf 'plan\r\n' >"$prefix/share/orv/testplans/demo_A.orv"
launcher="$prefix/bin/orv"

# Every file the launcher seeds is a regular file with the shipped bytes.
seeded() {
    local folder="$1"
    for file in graphics/noimage.png testplans/demo_A.orv; do
        [ -f "$folder/$file" ] && [ ! -L "$folder/$file" ] &&
            cmp -s "$prefix/share/orv/$file" "$folder/$file" || return 1
    done
}

# --- CDPATH ---------------------------------------------------------------------------
# A decoy folder of the same name on CDPATH must not be chosen, nor cd's echo of the
# folder it found become part of the name.
decoys="$work/decoys"
mkdir -p "$decoys/plans"
cdpaths=("$decoys" ":$decoys" "$decoys:." ".")
for index in "${!cdpaths[@]}"; do
    bench="$work/bench$index"
    mkdir -p "$bench"
    started=$(cd "$bench" && env -i PATH=/usr/bin:/bin HOME="$work/home" \
        CDPATH="${cdpaths[$index]}" "$launcher" --folder plans 2>"$work/cdpath.err") || true
    check "CDPATH=${cdpaths[$index]}: the program starts in ./plans" \
        test "$started" = "$bench/plans"
    check "CDPATH=${cdpaths[$index]}: ./plans is seeded" seeded "$bench/plans"
done
check "no folder on CDPATH is seeded" test -z "$(ls -A "$decoys/plans")"
line_end=$'\n'
check "no folder name holds a line end" \
    test -z "$(find "$work" -name "*${line_end}*" -print -quit)"

# --- A link planted at a temporary name -----------------------------------------------
# The launcher's temporary names are not to be guessed; whatever a planted link at the
# old fixed name or any other name points to keeps its bytes.
folder="$work/planted"
mkdir -p "$folder/graphics" "$folder/testplans"
printf 'precious' >"$work/victim"
ln -s "$work/victim" "$folder/testplans/demo_A.orv.orv-new"
ln -s "$work/nowhere" "$folder/graphics/noimage.png.orv-new"
started=$(env -i PATH=/usr/bin:/bin HOME="$work/home" "$launcher" --folder "$folder" \
    2>"$work/planted.err") || true
check "the program starts in the folder with planted links" test "$started" = "$folder"
check "the file a planted link points to keeps its bytes" \
    test "$(cat "$work/victim")" = precious
check "a dangling planted link creates no file" test ! -e "$work/nowhere"
check "the folder is seeded with regular files" seeded "$folder"
check "nothing but the seeded files is added" \
    test "$(cd "$folder" && find . -mindepth 1 | sort | tr '\n' ' ')" = \
    "./graphics ./graphics/noimage.png ./graphics/noimage.png.orv-new ./testplans ./testplans/demo_A.orv ./testplans/demo_A.orv.orv-new "
shipped_mode=$(stat -c %a "$prefix/share/orv/testplans/demo_A.orv")
check "a seeded file gets the shipped file's mode under the umask" \
    test "$(stat -c %a "$folder/testplans/demo_A.orv")" = "$(printf '%o' $((0$shipped_mode & ~0$(umask))))"

if [ "$failures" -ne 0 ]; then
    echo "--- launcher messages"
    cat "$work"/*.err
    echo "$failures check(s) failed"
    exit 1
fi
echo "all launcher checks passed"
