#!/usr/bin/env bash
# Times the program on full data files: installs what is missing, builds in
# Release into build-bench, writes the largest data set the file formats
# allow into a temporary folder (and proves the program accepts it), runs
# every benchmark on it, prints the results table and writes it, with a
# description of this machine, to bench/results.md.
#
#   scripts/bench.sh            everything
#   SOLNEKA_BENCH_FILTER=regex  only the Google Benchmark cases that match
#   SOLNEKA_BENCH_RUNS=n        start-up runs (default 10)
set -euo pipefail
SOLNEKA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$SOLNEKA_ROOT/scripts/common.sh"
cd "$SOLNEKA_ROOT"

SOLNEKA_PACKAGES+=(util-linux procps)
solneka_install_packages || { echo "package installation failed"; exit 1; }

build=build-bench
echo "== build (Release) in $build"
# Only what the timings run: the program and the benchmark programs.
cmake -S "$SOLNEKA_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$build.configure.log" 2>&1 ||
  { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target solneka solneka-bench-data solneka-bench solneka-bench-qt \
  solneka-bench-startup solneka_probe
bin="$build/bin"

work=$(mktemp -d "${TMPDIR:-/tmp}/solneka-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
data="$work/data"
table="$work/table.md"
mkdir -p "$data"
: >"$table"

# Runs one part of the benchmark; a part that fails says so and stops the
# script, its own messages kept.
part() {
  local name=$1
  shift
  local rc=0
  "$@" || rc=$?
  if [ "$rc" -ne 0 ]; then
    echo "bench: $name failed (exit $rc); bench/results.md is not written" >&2
    exit 1
  fi
}
# Qt's notes about what the offscreen platform cannot do are not results.
quiet_offscreen() { grep -v -e '^This plugin does not support' >&2 || true; }

echo "== full data set"
part "writing the full data set" "$bin/solneka-bench-data" "$data" --check

export SOLNEKA_BENCH_DATA="$data"
export QT_QPA_PLATFORM=offscreen
filter=()
[ -n "${SOLNEKA_BENCH_FILTER:-}" ] && filter=(--benchmark_filter="$SOLNEKA_BENCH_FILTER")
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

echo "== commands on full files"
part "the commands" "$bin/solneka-bench" "${filter[@]}" --table="$table"
echo "== views on full files (offscreen)"
part "the views" "$bin/solneka-bench-qt" "${filter[@]}" --table="$table" 2> >(quiet_offscreen)
echo "== start-up and memory of the program"
part "start-up and memory" "$bin/solneka-bench-startup" --program="$bin/solneka" \
  --probe="$bin/libsolneka_probe.so" --runs="${SOLNEKA_BENCH_RUNS:-10}" --table="$table" 2> >(quiet_offscreen)

load_after=$(cut -d' ' -f1-3 /proc/loadavg)
met=$(grep -c '| yes |$' "$table" || true)
missed=$(grep -c '| \*\*no\*\* |$' "$table" || true)

results=bench/results.md
{
  echo "# Timings on full data files"
  echo
  echo "Written by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC') at commit" \
    "\`$(git rev-parse --short HEAD 2>/dev/null || echo unknown)\`$(git diff --quiet HEAD -- . ":(exclude)$results" 2>/dev/null || echo ' with local changes')."
  echo
  echo "Data: every block of the four problem files filled to its last record (定石 to record 32767:"
  echo "31,267 problems in its list, 26,767 answer records), 60 games of 400 moves (24,000 move records)."
  echo "A problem number has four digits, so the 定石 list repeats each of 1001–9999 three or four times, and"
  echo "定石 has more comment records than sequence heads, so its heads carry further comments. The program's"
  echo "own data check finds nothing wrong in the data."
  echo
  echo "Time is the median per operation; beside it the mean, the thread's CPU time and the file and"
  echo "directory syncs the operation asked for. A rewrite is also given as a ratio to copying the same files"
  echo "and syncing each copy once, measured in the same iterations; that copy time is what one sync of"
  echo "such a file costs on this machine."
  echo
  echo "$met targets met, $missed missed."
  echo
  echo "| Operation | Time | Mean, CPU | Target | Ratio to copy + fsync | Met |"
  echo "|---|---|---|---|---|---|"
  cat "$table"
  echo
  echo "## Machine"
  echo
  echo '```'
  echo "nproc: $(nproc)"
  lscpu | head -n 15
  grep -E '^(MemTotal|MemAvailable)' /proc/meminfo
  echo "file system of the data: $(df -PT "$data" | awk 'NR==2 {print $2}')"
  echo "load average before: $load_before, after: $load_after"
  echo '```'
} >"$results"

echo
cat "$results"
echo
echo "written to $results"
if [ "$missed" -ne 0 ]; then
  echo "bench: $missed of $((met + missed)) targets missed"
  exit 3
fi
echo "bench: all $met targets met"
