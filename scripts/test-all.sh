#!/usr/bin/env bash
# Builds and runs every test three ways: natively, natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, and cross-built for
# 32-bit big-endian PowerPC under qemu-ppc; then fuzzes the parsers and image
# readers (scripts/fuzz.sh) and runs the benchmark suite quickly, to keep it
# working. Installs what is missing first.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=${QUILLET_TEST_DIR:-$here/build-test}
jobs=$(nproc)
# ipmi-fru lives in sbin, which a non-login shell may not have on its path.
export PATH="$PATH:/usr/sbin:/sbin"

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v powerpc-linux-gnu-g++ >/dev/null || need+=(g++-powerpc-linux-gnu)
command -v qemu-ppc >/dev/null || need+=(qemu-user)
[ -d /usr/src/googletest ] || need+=(googletest)
[ -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake ] || need+=(libgtest-dev libgmock-dev)
# Independent decoders the IPMI and SPD reads are checked against.
command -v ipmi-fru >/dev/null || need+=(freeipmi-tools)
command -v decode-dimms >/dev/null || need+=(i2c-tools)
# The device tests count the bytes a write sends to the EEPROM.
command -v strace >/dev/null || need+=(strace)
if [ ${#need[@]} -gt 0 ]; then
  echo "== installing: ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=; else sudo=sudo; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

run_config() {
  local name=$1; shift
  echo "== [$name] configure and build"
  cmake -S "$here" -B "$out/$name" -DCMAKE_BUILD_TYPE=Debug "$@" >"$out/$name.configure.log" \
    || { cat "$out/$name.configure.log"; return 1; }
  cmake --build "$out/$name" -j"$jobs"
  echo "== [$name] test"
  (cd "$out/$name" && ctest -j"$jobs" --output-on-failure --timeout 600)
  # What the device tests measured: cut points, records checked, bytes written.
  grep -h -e "^power cut" -e "first update wrote" "$out/$name/Testing/Temporary/LastTest.log" | sed "s/^/[$name] /"
}

# With the decoders installed above, a missing one is a failure, not a skip.
export QUILLET_REQUIRE_CROSSCHECK=1

mkdir -p "$out"
run_config native
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_config sanitize -DQUILLET_SANITIZE=ON
run_config powerpc -DCMAKE_TOOLCHAIN_FILE="$here/cmake/powerpc-linux-gnu.cmake"

# Show that the PowerPC configuration really ran big-endian 32-bit code.
echo "== [powerpc] test binaries:"
for bin in "$out"/powerpc/src/quillet "$out"/powerpc/platform/fructl/fructl "$out"/powerpc/tests/*_tests; do
  [ -f "$bin" ] || continue
  printf '%s: ' "${bin#$out/}"
  powerpc-linux-gnu-readelf -h "$bin" | awk -F: '/Class|Data|Machine/ {gsub(/^ +/, "", $2); printf "%s; ", $2} END {print ""}'
done
echo "== all three configurations passed"

# Every parser and image reader under libFuzzer with both sanitizers, about a
# minute each; builds with clang (installed by the script when missing).
QUILLET_FUZZ_DIR="$out/fuzz" bash "$here/scripts/fuzz.sh" "${QUILLET_FUZZ_SECONDS:-60}"

# --- benchmark suite, smoke run -----------------------------------------------
# Keeps the benchmark working: it fails only when the suite itself breaks and
# asserts nothing about speed (the goals are reported, not enforced).
echo "== [bench] quick run of scripts/bench.sh"
QUILLET_BENCH_DIR="$out/bench" bash "$here/scripts/bench.sh" --quick
