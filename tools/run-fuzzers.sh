#!/usr/bin/env bash
# Runs every fuzzer of build-fuzz for a bounded time, one after the other:
#   tools/run-fuzzers.sh <seconds per fuzzer>
# Each starts from its seed inputs in fuzz/corpus/<fuzzer>/ and from what earlier
# runs found in fuzz-corpus-out/<fuzzer>/ (ignored by git), where it also keeps
# the new inputs it finds. An input that breaks a check or a sanitizer is kept
# in fuzz-corpus-out/artifacts/ and its report printed; the run then fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?seconds per fuzzer}
root=$PWD
out=$root/fuzz-corpus-out
mkdir -p "$out/artifacts"

fuzzers=(build-fuzz/fuzz/*_fuzz)
[ -x "${fuzzers[0]}" ] || { echo "fuzz: no fuzzers in build-fuzz/fuzz" >&2; exit 1; }

for fuzzer in "${fuzzers[@]}"; do
    name=$(basename "$fuzzer")
    mkdir -p "$out/$name"
    log=$out/$name.log
    # The fuzzers change their working directory: every path given is absolute.
    if ! "$root/$fuzzer" "$out/$name" "$root/fuzz/corpus/$name" \
            -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
            -artifact_prefix="$out/artifacts/$name-" >"$log" 2>&1; then
        grep -v '# Uses:' "$log" | tail -n 60 >&2
        echo "fuzz: $name FOUND A FAULT; the input is in fuzz-corpus-out/artifacts/, the log in $log" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    edges=$(sed -n 's/.*(\([0-9]*\) inline 8-bit counters).*/\1/p' "$log" | head -n 1)
    covered=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE|INITED)' "$log" | tail -n 1 | sed -n 's/.* cov: \([0-9]*\) .*corp: \([0-9]*\)\/.*/\1 \2/p')
    echo "fuzz: $name ${seconds}s: $runs runs ($rate/s), ${covered%% *} of $edges edges covered, corpus ${covered##* } inputs, no fault"
done
echo "fuzz: all ${#fuzzers[@]} fuzzers passed (${seconds}s each)"
