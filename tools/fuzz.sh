#!/usr/bin/env bash
# Builds the fuzz targets in tests/fuzz/ with clang's libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a number of executions.
#   tools/fuzz.sh [RUNS] [TARGET...]     RUNS defaults to 1000000; TARGETs to all of them
# Findings (crash-*, leak-*, timeout-* files) land in build/fuzz/findings/TARGET/; the
# corpus each run grows is kept in build/fuzz/corpus/TARGET/ for the next run. Inputs that
# once found a fault live in tests/fuzz/seeds/TARGET/ and start every run.
set -euo pipefail
cd "$(dirname "$0")/.."
RUNS=${1:-1000000}
shift || true
JOBS=${JOBS:-$(nproc)}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}

# clang and its runtime (libFuzzer and the sanitizers) are only needed here, not for the
# regular build, so they are installed on first use rather than by setup.sh.
if ! command -v clang++ >/dev/null || ! compgen -G "/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends clang libclang-rt-dev >/dev/null
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMI_FUZZ=ON -DLUMI_SANITIZE=ON \
  -DLUMI_TESTS=OFF >/dev/null
cmake --build build/fuzz -j "$JOBS" --target "${targets[@]}"

status=0
for t in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$t" "build/fuzz/findings/$t"
  seeds=()
  if [ -d "tests/fuzz/seeds/$t" ]; then seeds=("tests/fuzz/seeds/$t"); fi
  echo "== $t: $RUNS runs"
  start=$(date +%s)
  # No fill of fresh blocks and a smaller quarantine: the file-heavy targets spent most of
  # their time in page faults for fresh memory, not in our code.
  if ASAN_OPTIONS=detect_leaks=1:max_malloc_fill_size=0:quarantine_size_mb=32 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
       "build/fuzz/$t" -runs="$RUNS" -max_len=4096 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="build/fuzz/findings/$t/" "build/fuzz/corpus/$t" "${seeds[@]}" >"build/fuzz/$t.log" 2>&1; then
    echo "   passed in $(( $(date +%s) - start )) s: $(grep -E '^stat::number_of_executed_units' "build/fuzz/$t.log" | awk '{print $2}') executions," \
         "$(grep -E '^stat::peak_rss_mb' "build/fuzz/$t.log" | awk '{print $2}') MB peak," \
         "corpus $(ls "build/fuzz/corpus/$t" | wc -l) inputs, $(grep -oE 'cov: [0-9]+' "build/fuzz/$t.log" | tail -1)"
  else
    status=1
    echo "   FAILED: see build/fuzz/$t.log and build/fuzz/findings/$t/"
    grep -E 'ERROR|runtime error|broken:|SUMMARY' "build/fuzz/$t.log" | head -5 | sed 's/^/   /'
  fi
done
exit $status
