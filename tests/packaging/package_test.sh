#!/usr/bin/env bash
# The Debian package as a technician gets it: built by CPack from the build tree,
# unpacked with dpkg-deb into a temporary root, its files and desktop entry checked,
# and its launcher run with a temporary HOME on the offscreen platform: the working
# folder is seeded, the program starts there, writes its settings and ends cleanly on
# SIGTERM; a second start keeps what the user changed and restores what is missing.
# Usage: package_test.sh BUILD_DIR OUTPUT_DIR   (the .deb is left in OUTPUT_DIR for
# the lintian check)
set -euo pipefail

build="$1"
out="$2"
version="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"
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

# --- The package -------------------------------------------------------------------
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb="$out/orv_${version}_amd64.deb"
[ -f "$deb" ] || { echo "no $deb:"; ls "$out"; exit 1; }
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"

field() { dpkg-deb -f "$deb" "$1"; }
check "Depends names the Qt libraries" grep -q 'libqt6widgets6' <<<"$(field Depends)"
check "Depends names the Qt window plug-ins" grep -q 'qt6-qpa-plugins' <<<"$(field Depends)"
check "libftdi1 is recommended, not required" \
    bash -c '[[ "$1" == *libftdi1-2* && "$2" != *libftdi1* ]]' _ "$(field Recommends)" "$(field Depends)"

root="$work/root"
dpkg-deb -x "$deb" "$root"
listed=(
    usr/bin/orv
    usr/bin/orv-report
    usr/lib/orv/orv
    usr/lib/orv/orv-crash-box
    usr/share/orv/graphics/button_connected.png
    usr/share/orv/graphics/noimage.png
    usr/share/orv/sounds/testgood.wav
    usr/share/orv/settings/colours.txt
    usr/share/orv/testplans/demo_A.orv
    usr/share/orv/testplans/demo_B.orv
    usr/share/orv/testplans/images/demo_board.png
    lib/udev/rules.d/70-orv-instrument.rules
    usr/share/applications/orv.desktop
    usr/share/icons/hicolor/scalable/apps/orv.svg
    usr/share/man/man1/orv.1.gz
    usr/share/man/man1/orv-report.1.gz
    usr/share/doc/orv/copyright
    usr/share/doc/orv/changelog.gz
)
for file in "${listed[@]}"; do
    check "$file is in the package" test -f "$root/$file"
done
for program in usr/bin/orv usr/bin/orv-report usr/lib/orv/orv usr/lib/orv/orv-crash-box; do
    check "$program is executable" test -x "$root/$program"
done
check "every picture and sound is shipped" \
    test "$(find "$root/usr/share/orv/graphics" "$root/usr/share/orv/sounds" -type f | wc -l)" -eq 30
check "the desktop entry is valid" desktop-file-validate "$root/usr/share/applications/orv.desktop"
check "the manual page renders" bash -c 'zcat "$1" | groff -man -Tutf8 -ww >/dev/null 2>&1' _ \
    "$root/usr/share/man/man1/orv.1.gz"

# --- The command line, without a display --------------------------------------------
launcher="$root/usr/bin/orv"
home="$work/home"
mkdir -p "$home"
run() { env -i PATH=/usr/bin:/bin HOME="$home" "$@"; }

help_status=0
run "$launcher" --help >"$work/help.txt" 2>&1 || help_status=$?
check "--help exits 0 without a display" test "$help_status" -eq 0
check "--help names the options and the working folder" \
    bash -c 'grep -q -- --simulator "$1" && grep -q -- --folder "$1" && grep -q ".local/share/orv" "$1"' \
    _ "$work/help.txt"
check "--version prints the package's version" \
    test "$(run "$launcher" --version 2>&1)" = "orv $version"
check "--help and --version create no working folder" test ! -e "$home/.local"
usage_status=0
run "$launcher" --no-such-option >"$work/usage.txt" 2>&1 || usage_status=$?
check "an unknown option exits 2" test "$usage_status" -eq 2
check "an unknown option prints the usage" grep -q '^usage: orv' "$work/usage.txt"
folder_status=0
run "$launcher" --folder /proc/orv-cannot-be-here >"$work/folder.txt" 2>&1 || folder_status=$?
check "an unusable folder is refused with a message" \
    bash -c '[ "$1" -eq 1 ] && grep -q "cannot use the working folder" "$2"' _ "$folder_status" \
    "$work/folder.txt"
direct_status=0
run "$root/usr/lib/orv/orv" --folder /proc/orv-cannot-be-here >"$work/direct.txt" 2>&1 ||
    direct_status=$?
check "the program itself refuses a folder it cannot enter" \
    bash -c '[ "$1" -eq 1 ] && grep -q "cannot use the working folder" "$2"' _ "$direct_status" \
    "$work/direct.txt"

check "the report's manual page renders" bash -c 'zcat "$1" | groff -man -Tutf8 -ww >/dev/null 2>&1' _ \
    "$root/usr/share/man/man1/orv-report.1.gz"
reports="$work/reports"
mkdir -p "$reports"
cp -r "$root/usr/share/orv/testplans" "$reports/"
check "orv-report writes the report of a shipped plan without a display" \
    bash -c 'cd "$1" && env -i PATH=/usr/bin:/bin HOME="$2" "$3" testplans/demo_B.orv >/dev/null &&
        grep -q "data:image/jpeg;base64," testplans/demo_B.html' _ "$reports" "$home" \
    "$root/usr/bin/orv-report"

# --- Starting the program through the launcher --------------------------------------
# Starts the launcher, waits for the main window's start-up to be logged and settled,
# then asks the program to end as a session log-out would. Prints the exit status.
start_and_end() {
    local folder="$1"
    shift
    # Started directly, not through a function, so that $! is the program itself
    # (env and the launcher exec into it).
    env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen "$@" >>"$work/program.log" 2>&1 &
    local pid=$!
    local waited=0
    until grep -qs "activeinstrument:" "$folder/log.txt" && [ -s "$folder/ORV_settings.txt" ]; do
        sleep 0.1
        waited=$((waited + 1))
        if [ "$waited" -ge 300 ] || ! kill -0 "$pid" 2>/dev/null; then
            kill -KILL "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
            echo "did-not-start"
            return
        fi
    done
    sleep 2  # the start-up's settling pause
    kill -TERM "$pid"
    local status=0
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null || true
        echo "did-not-end"
        return
    fi
    wait "$pid" || status=$?
    echo "$status"
}

folder="$home/.local/share/orv"
check "first start: the program runs and ends cleanly on SIGTERM" \
    test "$(start_and_end "$folder" "$launcher" --simulator)" = 0
check "the working folder holds every shipped file" \
    diff <(cd "$root/usr/share/orv" && find . -type f | sort) \
    <(cd "$folder" && find . -type f -path './graphics/*' -o -type f -path './sounds/*' \
        -o -type f -path './settings/*' -o -type f -path './testplans/*' | sort)
check "the program wrote its settings there" grep -q "^ActiveInstrument=" "$folder/ORV_settings.txt"
check "no crash report" test ! -e "$folder/bugreport.txt"
check "the colour-scheme file was found" bash -c '! grep -q "Error #0003" "$1"' _ "$folder/log.txt"

# The user's changes: a setting, an edited demo plan, a plan of their own, and a
# shipped picture deleted by mistake.
sed -i 's/^ORV_Mode=.*/ORV_Mode=Basic\r/' "$folder/ORV_settings.txt"
cp "$folder/ORV_settings.txt" "$work/settings.kept"
printf 'user plan\r\n' >"$folder/testplans/mine.orv"
printf 'edited\r\n' >>"$folder/testplans/demo_B.orv"
cp "$folder/testplans/demo_B.orv" "$work/demo_B.kept"
rm "$folder/graphics/noimage.png"

check "second start: the program runs and ends cleanly" \
    test "$(start_and_end "$folder" "$launcher" --simulator)" = 0
check "the changed setting is kept" grep -q "^ORV_Mode=Basic" "$folder/ORV_settings.txt"
check "no line of the changed settings file is lost" \
    bash -c '! grep -vxFf "$2" "$1"' _ "$work/settings.kept" "$folder/ORV_settings.txt"
check "the user's own plan is kept" test "$(cat "$folder/testplans/mine.orv")" = $'user plan\r'
check "the edited demo plan is kept" cmp -s "$work/demo_B.kept" "$folder/testplans/demo_B.orv"
check "a missing shipped picture is restored" \
    cmp -s "$root/usr/share/orv/graphics/noimage.png" "$folder/graphics/noimage.png"

# A folder of the user's choosing: the option wins over the environment variable.
mkdir -p "$work/bench"
env_status=0
run ORV_FOLDER=/proc/orv-env-folder "$launcher" >"$work/env.txt" 2>&1 || env_status=$?
check "ORV_FOLDER chooses the working folder" \
    bash -c '[ "$1" -eq 1 ] && grep -q "/proc/orv-env-folder" "$2"' _ "$env_status" "$work/env.txt"
check "--folder picks the working folder" \
    test "$(cd "$work/bench" && start_and_end "$work/bench/plans" \
        ORV_FOLDER="$work/elsewhere" "$launcher" --folder plans --simulator)" = 0
check "ORV_FOLDER is overridden by --folder" test ! -e "$work/elsewhere"
check "the chosen folder is seeded" test -f "$work/bench/plans/testplans/demo_A.orv"

if [ "$failures" -ne 0 ]; then
    echo "--- program output"
    cat "$work/program.log"
    echo "$failures check(s) failed"
    exit 1
fi
echo "all package checks passed"
