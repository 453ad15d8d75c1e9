#!/usr/bin/env bash
# Builds the command-line fuzz targets and runs each for a bounded time over a
# copy of its seed corpus. An input that breaks a target is kept under
# tests/fuzz/regressions/<target>/, where kestrel_option_tests replays it, and
# the script exits non-zero. FUZZ_SECONDS sets the time per target (default 20).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-20}"
targets=(option_parser_fuzzer option_usage_fuzzer)

cmake --preset fuzz >/dev/null
cmake --build build/fuzz --target "${targets[@]}" -j2

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

status=0
for target in "${targets[@]}"; do
    corpus="$work/$target"
    findings="tests/fuzz/regressions/$target"
    mkdir -p "$corpus" "$findings"
    cp tests/fuzz/corpus/"$target"/* "$corpus"/
    echo "== fuzzing $target for ${seconds}s"
    if build/fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -timeout=10 \
        -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" >"$work/$target.log" 2>&1; then
        grep -E '^stat::number_of_executed_units' "$work/$target.log" || true
    else
        status=1
        echo "$target found a failing input (kept in $findings/):"
        tail -n 40 "$work/$target.log"
    fi
    rmdir --ignore-fail-on-non-empty "$findings"
done
exit "$status"
