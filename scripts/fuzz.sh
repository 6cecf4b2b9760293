#!/usr/bin/env bash
# Builds the fuzzers in build-fuzz/ (clang, address and undefined-behaviour
# sanitizers; configured once, incremental afterwards) and runs each one for
# a bounded time on a copy of its seed corpus. Fails when any of them finds
# a crash, a sanitizer report, a leak or a hang.
#
#   scripts/fuzz.sh [NAME...]        all fuzzers, or the ones named
#   FUZZ_SECONDS=300 scripts/fuzz.sh longer runs (default 60 s each)
#
# Each run keeps its log, its grown corpus and any crashing input under
# build-fuzz/fuzz-runs/NAME/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

seconds="${FUZZ_SECONDS:-60}"
# Largest input per fuzzer, suited to what it reads.
declare -A max_len=(
  [protocol_reader]=16384
  [drone_message]=512
  [frame_reader]=4096
  [bridge_text]=512
  [update_manifest]=8192
  [image_list]=2048
)
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  names=(protocol_reader drone_message frame_reader bridge_text update_manifest image_list)
fi

if [ ! -f build-fuzz/build.ninja ]; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTAVOREN_FUZZ=ON -DBUILD_TESTING=OFF
fi
cmake --build build-fuzz --target tavoren_fuzzers --parallel "$(nproc)"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
failed=()
for name in "${names[@]}"; do
  if [ -z "${max_len[$name]:-}" ]; then
    echo "fuzz: no fuzzer named $name" >&2
    exit 2
  fi
  run="build-fuzz/fuzz-runs/$name"
  rm -rf "$run"
  mkdir -p "$run/corpus"
  cp fuzz/corpus/"$name"/* "$run/corpus/"
  echo "fuzz: $name for ${seconds} s (inputs up to ${max_len[$name]} bytes)"
  dictionary=()
  if [ -f fuzz/"$name".dict ]; then dictionary=(-dict=fuzz/"$name".dict); fi
  # -close_fd_mask=1: the console lines of the code under test stay quiet.
  if build-fuzz/fuzz/fuzz_"$name" "$run/corpus" "${dictionary[@]}" \
      -max_total_time="$seconds" -max_len="${max_len[$name]}" -timeout=10 -rss_limit_mb=2048 \
      -close_fd_mask=1 -print_final_stats=1 -artifact_prefix="$run/" > "$run/log" 2>&1; then
    summary=$(grep -E '^Done [0-9]+ runs' "$run/log" | tail -1 || true)
    coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+' "$run/log" | tail -1 || true)
    echo "fuzz: $name passed: $summary, $coverage, corpus $(ls "$run/corpus" | wc -l) inputs"
  else
    echo "fuzz: $name FAILED; log and input in $run/" >&2
    grep -E -A30 'ERROR: (AddressSanitizer|libFuzzer|LeakSanitizer)|runtime error|deadly signal|timeout' "$run/log" | head -60 >&2 || tail -40 "$run/log" >&2
    failed+=("$name")
  fi
done

echo "fuzz: $(( ${#names[@]} - ${#failed[@]} )) passed, ${#failed[@]} failed"
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in ${failed[*]}" >&2
  exit 1
fi
