#!/usr/bin/env bash
# The checks that follow the test suite in "./setup.sh test":
#   1. the engine, model and render tests built with clang under
#      AddressSanitizer and UndefinedBehaviorSanitizer (build-sanitize), run;
#   2. the render tests built with clang under ThreadSanitizer (build-tsan),
#      run: drawing shares its work with a pool of threads (about 4 minutes
#      to build and 15 s to run on the development machine);
#   3. each fuzz target run on its kept corpus for a fixed number of inputs
#      with a fixed seed (about 60 s each on the development machine), so
#      that runs of one commit try nearly the same inputs; the long runs of
#      fuzz/README.md are where new inputs are sought.
# Any report of a sanitizer, failed test or fuzzing finding fails the script.
# Needs clang-14 and libclang-rt-14-dev (setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${SANITIZE_BUILD_DIR:-build-sanitize}
tsan_build=${TSAN_BUILD_DIR:-build-tsan}
seed=${FUZZ_SEED:-1}
export QT_QPA_PLATFORM=offscreen
# Shorter allocation stacks in reports make the fuzz targets much faster.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=4:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DGRAPHOTHEQUE_FUZZ=ON -DGRAPHOTHEQUE_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" \
    --target test_engine test_model test_render fuzz_formula fuzz_equation_file

for suite in engine model render; do
    echo "== $suite tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    "$build/tests/test_$suite" --gtest_brief=1
done

cmake -S . -B "$tsan_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DGRAPHOTHEQUE_TSAN=ON -DGRAPHOTHEQUE_BENCH=OFF >/dev/null
cmake --build "$tsan_build" --parallel "$(nproc)" --target test_render
echo "== render tests under ThreadSanitizer"
"$tsan_build/tests/test_render" --gtest_brief=1

# New inputs go to a scratch folder; the kept corpus is only read.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
run_target() { # name max_len corpus runs
    echo "== fuzz_$1: $4 inputs, seed $seed"
    mkdir -p "$scratch/$1"
    local log="$scratch/$1.log" status=0
    "$build/fuzz/fuzz_$1" -runs="$4" -seed="$seed" -max_len="$2" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$scratch/" "$scratch/$1" "fuzz/corpus/$3" >"$log" 2>&1 || status=$?
    grep -aE "^#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units" "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log"
        echo "fuzz_$1 found a fault (exit status $status); the input is above" >&2
        return "$status"
    fi
}
run_target formula 1000 formula 25000
run_target equation_file 4096 equation_file 250000
