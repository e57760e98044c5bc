#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for SECONDS (default 60), starting
# from a scratch copy of its seed corpus so that nothing is written into the
# repository. Prints one line per target with its executions; fails when any
# target reports a crash, leak, timeout or memory blow-up. Installs clang and
# the libFuzzer runtime with apt-get when they are missing.
#
#   scripts/fuzz.sh [SECONDS]
#
# A finding is left in the scratch directory (printed) with the log; rerun
# it with build-fuzz/fuzz/TARGET_fuzz FILE.
set -euo pipefail

seconds=${1:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
out=${QUILLET_FUZZ_DIR:-$here/build-fuzz}
jobs=$(nproc)

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v clang++ >/dev/null || need+=(clang)
# libFuzzer and the sanitizer runtimes come with clang's runtime package.
if ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  version=$(clang++ --version 2>/dev/null | sed -n 's/.*clang version \([0-9]*\).*/\1/p')
  need+=("libclang-rt-${version:-14}-dev")
fi
if [ ${#need[@]} -gt 0 ]; then
  echo "== installing: ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=; else sudo=sudo; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
  if ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    version=$(clang++ --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p')
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "libclang-rt-$version-dev" >/dev/null
  fi
fi

mkdir -p "$out"
echo "== [fuzz] configure and build with $(clang++ --version | head -n 1)"
CC=clang CXX=clang++ cmake -S "$here" -B "$out" -DCMAKE_BUILD_TYPE=Debug -DQUILLET_FUZZ=ON \
  -DQUILLET_TESTS=OFF >"$out/configure.log" 2>&1 || { cat "$out/configure.log"; exit 1; }
cmake --build "$out" -j"$jobs"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/quillet-fuzz-run.XXXXXX")
targets=$(cd "$here/fuzz/corpus" && ls)
failed=0
echo "== [fuzz] $seconds s per target"
for target in $targets; do
  work="$scratch/$target"
  mkdir -p "$work/corpus"
  cp "$here/fuzz/corpus/$target/"* "$work/corpus/"
  # Whole container images are larger than libFuzzer's default 4096 bytes.
  case $target in zan_image|whole_update) max_len=16384 ;; *) max_len=4096 ;; esac
  dict=()
  [ -f "$here/fuzz/dict/$target.dict" ] && dict=(-dict="$here/fuzz/dict/$target.dict")
  # -close_fd_mask=3 silences the tool's own output; libFuzzer and the
  # sanitizers keep a copy of standard error for their reports.
  status=0
  (cd "$work" && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    "$out/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=$max_len -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$work/" \
      "${dict[@]}" "$work/corpus" </dev/null >"$work/log" 2>&1) || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
  [ -n "$runs" ] || runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$work/log" | tail -n 1)
  findings=$(ls "$work" | grep -cE '^(crash|leak|timeout|oom)-' || true)
  if [ "$status" -ne 0 ] && [ "$findings" -eq 0 ]; then findings=1; fi
  printf '%-20s %10s executions in %s s, %d findings\n' "$target" "${runs:-0}" "$seconds" "$findings"
  if [ "$findings" -ne 0 ]; then
    failed=1
    grep -E '^(==[0-9]+==|SUMMARY|.*runtime error)' "$work/log" | head -n 5 || true
    echo "   log and input in $work"
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "== [fuzz] findings; see the directories above"
  exit 1
fi
rm -rf "$scratch"
echo "== [fuzz] no findings"
