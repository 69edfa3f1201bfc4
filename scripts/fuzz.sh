#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each for a while on its
# seed corpus under fuzz/corpus/<name>/ (an empty start where a target has none). New
# inputs go to build/fuzz/found/<name>/, never into the repository; a crash, leak or
# time-out is kept in build/fuzz/findings/ and fails the run.
# Usage: scripts/fuzz.sh [seconds-per-target]    (default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"

targets=(
    image_decoding_fuzz wave_file_fuzz test_plan_file_fuzz settings_file_fuzz
    release_page_fuzz orv_fuzz_frame_decode orv_fuzz_command_packets
    orv_fuzz_calibration_text orv_fuzz_dmm_reply
)
corpus_of() {
    case "$1" in
        image_decoding_fuzz) echo image_decoding ;;
        wave_file_fuzz) echo wave_file ;;
        test_plan_file_fuzz) echo test_plan_file ;;
        settings_file_fuzz) echo settings_file ;;
        release_page_fuzz) echo release_page ;;
        orv_fuzz_dmm_reply) echo dmm_reply ;;
        orv_fuzz_frame_decode) echo frame_decode ;;
        orv_fuzz_command_packets) echo command_packets ;;
        orv_fuzz_calibration_text) echo calibration_text ;;
        *) echo "$1" ;;
    esac
}

# Absolute paths: a target may change its working directory (the calibration one does).
build="$PWD/build/fuzz"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DORV_BUILD_FUZZ=ON \
    -DORV_BUILD_TESTS=OFF -DORV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}"

findings="$build/findings"
mkdir -p "$findings"
failed=0
summary=()
for target in "${targets[@]}"; do
    seeds="$PWD/fuzz/corpus/$(corpus_of "$target")"
    found="$build/found/$target"
    mkdir -p "$found"
    [ -d "$seeds" ] || seeds=""
    log="$build/$target.log"
    # A picture at the size limit takes long under the sanitizers: a generous time-out.
    if "$build/fuzz/$target" "$found" $seeds -max_total_time="$seconds" -timeout=120 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        >"$log" 2>&1; then
        verdict="no findings"
    else
        verdict="FINDING (see $log and $findings/)"
        failed=1
    fi
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
    cov="$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE|INITED).*cov: ' "$log" | tail -1 |
        sed -E 's/.*cov: ([0-9]+) ft: ([0-9]+).*corp: ([0-9]+).*/cov \1, features \2, corpus \3/' || true)"
    summary+=("$(printf '%-28s %9s runs, %s, %s' "$target" "$runs" "${cov:-no coverage line}" "$verdict")")
done
echo "Fuzzing, ${seconds} s per target:"
printf '  %s\n' "${summary[@]}"
exit "$failed"
