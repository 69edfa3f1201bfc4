#!/bin/sh
# orv: starts the signature analyser's control program in the user's working folder.
# The program keeps every file in its working directory; this gives each user a folder
# of their own, creates it on the first start and copies in the shipped files that are
# missing (pictures, sounds, the colour-scheme file, the demo test plans), never
# replacing a file that is already there. Installed as <prefix>/bin/orv, beside
# <prefix>/lib/orv/orv and <prefix>/share/orv, found relative to itself.
set -eu
# cd would search CDPATH for a relative folder (and print what it found there).
unset CDPATH

here=$(dirname "$(readlink -f "$0")")
prefix=$(dirname "$here")
program="$prefix/lib/orv/orv"
shipped="$prefix/share/orv"

fail() {
    echo "orv: $*" >&2
    exit 1
}

# --folder is taken here; every other argument goes to the program, in order.
folder=${ORV_FOLDER:-}
count=$#
while [ "$count" -gt 0 ]; do
    argument=$1
    shift
    count=$((count - 1))
    case $argument in
        --folder)
            [ "$count" -gt 0 ] || fail "--folder needs a folder name"
            folder=$1
            shift
            count=$((count - 1))
            ;;
        --folder=*) folder=${argument#--folder=} ;;
        --help | --version) exec "$program" "$argument" ;;
        *) set -- "$@" "$argument" ;;
    esac
done

if [ -z "$folder" ]; then
    data=${XDG_DATA_HOME:-}
    # A relative XDG_DATA_HOME is invalid and ignored.
    case $data in
        /*) ;;
        *)
            [ -n "${HOME:-}" ] || fail "HOME is not set: choose a folder with --folder FOLDER"
            data="$HOME/.local/share"
            ;;
    esac
    folder="$data/orv"
fi

# A relative folder is one in the working directory, never one found on a search path.
case $folder in
    /*) ;;
    *) folder=./$folder ;;
esac
mkdir -p -- "$folder" 2>/dev/null && [ -w "$folder" ] ||
    fail "cannot use the working folder $folder: it cannot be created or written"
folder=$(cd -- "$folder" && pwd)

# Each missing file is copied into a folder of the launcher's own, made afresh under a
# name nobody can guess (so no planted file or link is written through), then renamed
# into place, so an interrupted copy never leaves a truncated picture or plan that
# later starts would keep.
staging=$(mktemp -d "$folder/.orv-new.XXXXXX") ||
    fail "cannot use the working folder $folder: it cannot be written"
(cd "$shipped" && find . -type f) | while IFS= read -r file; do
    target="$folder/${file#./}"
    copy="$staging/${file#./}"
    if [ ! -e "$target" ] && [ ! -L "$target" ]; then
        mkdir -p -- "$(dirname "$target")" "$(dirname "$copy")" &&
            cp -- "$shipped/$file" "$copy" &&
            mv -T -- "$copy" "$target" ||
            echo "orv: could not copy ${file#./} into $folder" >&2
    fi
done
rm -rf -- "$staging"

cd "$folder"
exec "$program" "$@"
