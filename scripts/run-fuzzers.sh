#!/usr/bin/env bash
# Runs every libFuzzer target of build/fuzz for SECONDS seconds each (default 20), on a
# copy of its committed seed corpus that grows in build/fuzz/corpus/<target>. Fails when a
# target finds a crash, a hang, a leak or a failed check; the input that did it is left in
# build/fuzz/artifacts/<target>/. Executions per target go to build/fuzz/fuzz-report.txt.
#
#   cmake --preset fuzz && cmake --build --preset fuzz -j2
#   scripts/run-fuzzers.sh 20        # the short run of the test command
#   scripts/run-fuzzers.sh 600       # a longer run (make fuzz-long)
#   FUZZ_TARGETS="fuzz_dispatch" scripts/run-fuzzers.sh 60   # one target
set -u

seconds="${1:-20}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/fuzz"
bin="$build/fuzz"
list="$bin/targets.txt"

if [ ! -f "$list" ]; then
    echo "run-fuzzers: $list missing; build the fuzz preset first" >&2
    exit 2
fi
targets="${FUZZ_TARGETS:-$(cat "$list")}"

export TMPDIR="$build/tmp"
mkdir -p "$TMPDIR"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

report="$build/fuzz-report.txt"
: >"$report"
failed=0
for target in $targets; do
    exe="$bin/$target"
    if [ ! -x "$exe" ]; then
        echo "run-fuzzers: $exe missing" >&2
        failed=1
        continue
    fi
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    if [ -d "$root/fuzz/corpus/$target" ]; then
        cp -n "$root/fuzz/corpus/$target"/* "$corpus"/ 2>/dev/null || true
    fi
    dict=()
    case "$target" in
        fuzz_ini_roundtrip | fuzz_config_file | fuzz_options_file) dict=(-dict="$root/fuzz/ini.dict") ;;
    esac
    log="$build/$target.log"
    echo "== $target: ${seconds}s"
    "$exe" "$corpus" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts/" >"$log" 2>&1
    rc=$?
    execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    units="$(ls "$corpus" | wc -l)"
    if [ "$rc" -ne 0 ]; then
        failed=1
        echo "$target: FAILED (exit $rc) after ${execs:-?} executions" | tee -a "$report"
        grep -E "ERROR|FUZZ CHECK|runtime error|SUMMARY|Test unit written|^    #[0-9] " "$log" | head -30
        echo "   whole log: $log"
    else
        echo "$target: ${execs:-?} executions in ${seconds}s, corpus $units, no crash" | tee -a "$report"
    fi
done
rm -rf "$TMPDIR"
exit "$failed"
