#!/usr/bin/env bash
# Builds and runs every test three ways: natively, natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, and cross-built for
# 32-bit big-endian PowerPC under qemu-ppc. Installs what is missing first.
# Then the release checks (the tests of an optimised build, a clang build,
# the Debian packages for amd64 and powerpc checked by lintian, the amd64
# package installed, run and removed), fuzzing of the parsers and image
# readers (scripts/fuzz.sh), and a quick run of the benchmark suite.
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
# The validator fructl show's JSON is checked with against its schema.
python3 -c 'import jsonschema' 2>/dev/null || need+=(python3-jsonschema)
# The device tests count the bytes a write sends to the EEPROM.
command -v strace >/dev/null || need+=(strace)
# Release checks: the clang build, the manual pages, the completion and the packages.
command -v clang++ >/dev/null || need+=(clang)
command -v groff >/dev/null || need+=(groff)
command -v man >/dev/null || need+=(man-db)
[ -f /usr/share/bash-completion/bash_completion ] || need+=(bash-completion)
command -v dpkg-architecture >/dev/null || need+=(dpkg-dev)
command -v lintian >/dev/null || need+=(lintian)
# hardening-check, shown beside scripts/check-hardening.sh's verdict.
command -v hardening-check >/dev/null || need+=(devscripts)
# The transcripts run commands as another user.
command -v setpriv >/dev/null || need+=(util-linux)
if [ ${#need[@]} -gt 0 ]; then
  echo "== installing: ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=; else sudo=sudo; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

run_config() {
  local name=$1; shift
  echo "== [$name] configure and build"
  cmake -S "$here" -B "$out/$name" -DCMAKE_BUILD_TYPE=Debug -DQUILLET_WERROR=ON "$@" >"$out/$name.configure.log" \
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

# The same tools on an emulated PowerPC board, through the kernel's at24
# driver, with power cuts (installs its own packages; the kernel is cached).
echo "== [board] scripts/board-test.sh"
QUILLET_BOARD_DIR="$out/board" bash "$here/scripts/board-test.sh"

# --- Release checks -----------------------------------------------------
# The optimised build users get, with its tests; it is also the amd64 package.
run_config release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr

# clang++ must build everything warning-free too (tests included).
echo "== [clang] build"
CC=clang CXX=clang++ cmake -S "$here" -B "$out/clang" -DCMAKE_BUILD_TYPE=Release \
  -DQUILLET_WERROR=ON >"$out/clang.configure.log" || { cat "$out/clang.configure.log"; exit 1; }
cmake --build "$out/clang" -j"$jobs"

# The powerpc package comes from an optimised cross build of what ships.
# Its tests are built too (not run: the Debug cross build ran them), and
# the two optimisation levels users may pick, Release (-O3) natively and
# RelWithDebInfo (-O2) cross, are built with the tests so that both stay
# warning-free: the optimiser's warnings (-Wrestrict and the like) differ
# from the Debug build's.
build_only() {
  local name=$1; shift
  echo "== [$name] build"
  cmake -S "$here" -B "$out/$name" -DQUILLET_WERROR=ON "$@" >"$out/$name.configure.log" \
    || { cat "$out/$name.configure.log"; return 1; }
  cmake --build "$out/$name" -j"$jobs"
}
ppc_toolchain=-DCMAKE_TOOLCHAIN_FILE="$here/cmake/powerpc-linux-gnu.cmake"
build_only powerpc-release "$ppc_toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
build_only native-o3 -DCMAKE_BUILD_TYPE=Release
build_only powerpc-o2 "$ppc_toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== packages"
for name in release powerpc-release; do
  rm -f "$out/$name"/quillet_*.deb
  (cd "$out/$name" && cpack -G DEB >cpack.log) || { cat "$out/$name/cpack.log"; exit 1; }
  deb=$(ls "$out/$name"/quillet_*.deb)
  echo "-- ${deb#$out/}"
  dpkg-deb -f "$deb" Package Version Architecture Depends
  lintian --fail-on error,warning,info,pedantic -EviIL +pedantic "$deb"
done
echo "== hardening of the packaged executables"
bash "$here/scripts/check-hardening.sh" "$out"/release/quillet_*.deb "$out"/powerpc-release/quillet_*.deb
for bin in usr/bin/quillet usr/sbin/fructl; do
  tmp=$(mktemp -d)
  dpkg-deb -x "$(ls "$out"/powerpc-release/quillet_*.deb)" "$tmp"
  printf 'powerpc %s stripped: %s bytes\n' "$bin" "$(stat -c %s "$tmp/$bin")"
  rm -rf "$tmp"
done

echo "== install the amd64 package, run it, remove it"
if [ "$(id -u)" -eq 0 ]; then sudo=; else sudo=sudo; fi
$sudo dpkg -i "$(ls "$out"/release/quillet_*.deb)"
# Removed however the checks end, so that no run leaves it behind.
trap '$sudo dpkg -r quillet >/dev/null 2>&1 || true' EXIT
quillet -V
fructl --version
# Nothing of the build tree may be compiled into what is installed.
if strings /usr/bin/quillet /usr/sbin/fructl | grep -F -e "$here" -e "$out"; then
  echo "installed binaries name the build or source tree"; exit 1
fi
$sudo dpkg -r quillet
trap - EXIT
echo "== release checks passed"

# Every parser and image reader under libFuzzer with both sanitizers, about a
# minute each; builds with clang (installed by the script when missing).
QUILLET_FUZZ_DIR="$out/fuzz" bash "$here/scripts/fuzz.sh" "${QUILLET_FUZZ_SECONDS:-60}"

# --- benchmark suite, smoke run -----------------------------------------------
# Keeps the benchmark working: it fails only when the suite itself breaks and
# asserts nothing about speed (the goals are reported, not enforced).
echo "== [bench] quick run of scripts/bench.sh"
QUILLET_BENCH_DIR="$out/bench" bash "$here/scripts/bench.sh" --quick
