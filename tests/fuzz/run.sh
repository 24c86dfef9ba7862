#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer in a build folder of their
# own, then runs each one on its seed corpus for a bounded time under
# AddressSanitizer (leak checks included). Exits non-zero on a crash, a leak,
# a hang or a failed build.
#
#   tests/fuzz/run.sh [BUILD_DIR]    (default: build-fuzz in the project root)
#   ORV_FUZZ_SECONDS=60              time per target
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build-fuzz}
seconds=${ORV_FUZZ_SECONDS:-60}
targets=(fuzz_framereader)

mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORV_FUZZ=ON -DORV_WERROR=ON -DORV_BUILD_TESTS=ON >"$build/configure.log" 2>&1 || {
    cat "$build/configure.log" >&2; exit 1; }
cmake --build "$build" --target "${targets[@]}" -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp}
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"
for target in "${targets[@]}"; do
    mkdir -p "$work/$target"
    # New inputs go to the scratch folder, never into the committed seeds.
    # -close_fd_mask=1: the reader's diagnostics on standard output are not
    # what is being checked here.
    # A failing input is kept in $artifacts for replay: run the target on it.
    "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=70000 -close_fd_mask=1 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$work/$target" "$root/tests/fuzz/corpus" || {
        echo "$target failed; inputs that fail are in $artifacts" >&2; exit 1; }
    echo "$target: no crash, leak or hang in ${seconds} s"
done
