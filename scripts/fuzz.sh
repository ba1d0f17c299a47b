#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz, then runs each one for a short,
# bounded time from its seed corpus. Fails on any crash, hang (an input that
# takes more than a second), memory blow-up or sanitizer report; the inputs
# that caused them are kept in build-fuzz/artifacts.
#
# SOLNEKA_FUZZ_SECONDS sets the time per target (default 20).
set -uo pipefail
SOLNEKA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$SOLNEKA_ROOT"
seconds=${SOLNEKA_FUZZ_SECONDS:-20}
build=build-fuzz

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
updated=0
# True when the package exists in the package lists.
known() { apt-cache policy "$1" 2>/dev/null | grep -q 'Candidate: [0-9]'; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# Installs the packages that are missing; refreshes the package lists once
# when one of them is unknown.
install() {
  local missing=()
  for p in "$@"; do
    installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  for p in "${missing[@]}"; do
    if [ "$updated" -eq 0 ] && ! known "$p"; then
      $sudo apt-get update -q
      updated=1
    fi
  done
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

echo "== fuzz: tools"
install clang cmake ninja-build || { echo "fuzz: installing clang failed"; exit 1; }
major=$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)
# The fuzzer runtime: its own package since clang 14 (Debian 12), part of
# libclang-common before.
runtime=libclang-rt-$major-dev
if ! installed "$runtime" && ! known "$runtime" && [ "$updated" -eq 0 ]; then
  $sudo apt-get update -q
  updated=1
fi
installed "$runtime" || known "$runtime" || runtime=libclang-common-$major-dev
install "$runtime" || { echo "fuzz: installing $runtime failed"; exit 1; }

probe=$(mktemp -d)
printf '#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n' \
  >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/log"; then
  cat "$probe/log"
  echo "fuzz: clang cannot link -fsanitize=fuzzer"
  rm -rf "$probe"
  exit 1
fi
rm -rf "$probe"

echo "== fuzz: build"
if ! CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja >"$build.configure.log" 2>&1; then
  cat "$build.configure.log"
  exit 1
fi
cmake --build "$build" -j"$(nproc)" || exit 1

targets=(load_game_list load_game_moves load_temp_file load_problem_list load_problem_moves load_answers
         load_comments load_journal lecture load_sgf sgf_problem)
# Inputs up to a whole list file of 70 records for the list, smaller ones
# elsewhere: the rest of a file beyond a block adds nothing.
max_len() {
  case "$1" in
    load_game_list) echo 9000 ;;
    lecture) echo 1024 ;;
    load_sgf | sgf_problem) echo 8192 ;;
    *) echo 2048 ;;
  esac
}

scratch_base=/dev/shm
[ -d "$scratch_base" ] && [ -w "$scratch_base" ] || scratch_base=${TMPDIR:-/tmp}
mkdir -p "$build/artifacts"
failed=0
echo "== fuzz: run, ${seconds}s per target"
for t in "${targets[@]}"; do
  work=$(mktemp -d "$scratch_base/solneka-fuzz-$t-XXXXXX")
  mkdir -p "$work/corpus" "$work/out"
  [ -d "fuzz/corpus/$t" ] && cp -r "fuzz/corpus/$t/." "$work/corpus/"
  log="$work/log"
  TMPDIR="$work" ASAN_OPTIONS=abort_on_error=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    timeout $((seconds * 3 + 60)) "$build/bin/fuzz_$t" "$work/corpus" -max_total_time="$seconds" -timeout=1 \
    -rss_limit_mb=2048 -max_len="$(max_len "$t")" -len_control=0 -print_final_stats=1 \
    -artifact_prefix="$work/out/" >"$log" 2>&1
  rc=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n 1)
  artifacts=$(find "$work/out" -type f | wc -l)
  if [ "$rc" -ne 0 ] || [ "$artifacts" -gt 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|fuzz check failed' "$log"; then
    tail -n 60 "$log"
    cp "$work"/out/* "$build/artifacts/" 2>/dev/null
    echo "fuzz $t: ${executions:-?} executions, $((artifacts > 0 ? artifacts : 1)) crashes (exit $rc; inputs in $build/artifacts)"
    failed=$((failed + 1))
  else
    echo "fuzz $t: ${executions:-0} executions, 0 crashes"
  fi
  rm -rf "$work"
done

if [ "$failed" -ne 0 ]; then
  echo "fuzz: $failed of ${#targets[@]} targets failed"
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets passed"
