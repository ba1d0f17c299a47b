#!/usr/bin/env bash
# Installs what is missing, builds (warnings are errors) and runs every test:
# unit tests, scenarios and the GUI tests offscreen, then the unit tests and
# scenarios once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the Debian package.
set -uo pipefail
SOLNEKA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$SOLNEKA_ROOT/scripts/common.sh"
cd "$SOLNEKA_ROOT"

solneka_install_packages || { echo "package installation failed"; exit 1; }

export QT_QPA_PLATFORM=offscreen
passed=0
failed=0

# Runs ctest in build dir $1 and adds its counts to the totals.
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)" --timeout 600) 2>&1 | tee "$log"
  local line total nfail
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    echo "ctest in $dir did not report a result"
    failed=$((failed + 1))
  else
    nfail=$(echo "$line" | sed -E 's/.*, ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
    total=$(echo "$line" | sed -E 's/.*, ([0-9]+) tests? failed out of ([0-9]+).*/\2/')
    passed=$((passed + total - nfail))
    failed=$((failed + nfail))
  fi
  rm -f "$log"
}

echo "== build"
if ! solneka_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo; then
  echo "0 passed, 1 failed"
  exit 1
fi

echo "== layering: includes point down, no Qt below the view layer"
if bash scripts/check_layers.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

echo "== format: every source file as .clang-format lays it out"
unformatted=$(git ls-files '*.cpp' '*.h' | while read -r f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"
done)
if [ -n "$unformatted" ]; then
  echo "not formatted (run clang-format -i on them):"
  echo "$unformatted"
  failed=$((failed + 1))
else
  passed=$((passed + 1))
fi

echo "== unit tests, scenarios, GUI tests"
run_ctest build

echo "== sanitizers"
if solneka_build build-asan -DCMAKE_BUILD_TYPE=Debug -DSOLNEKA_SANITIZE=ON -DSOLNEKA_WITH_QT=OFF; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_ctest build-asan
else
  failed=$((failed + 1))
fi

echo "== Debian package: contents, dependencies, lintian, the installed program"
if bash scripts/check_package.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

echo "== fuzzing (bounded)"
fuzzlog=$(mktemp)
if bash scripts/fuzz.sh 2>&1 | tee "$fuzzlog"; then
  targets=$(grep -cE '^fuzz [^:]+: [0-9]+ executions' "$fuzzlog")
  passed=$((passed + targets))
else
  failed=$((failed + 1))
fi
rm -f "$fuzzlog"

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
