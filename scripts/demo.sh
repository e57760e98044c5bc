#!/usr/bin/env bash
# Builds quillet and fructl, creates the demo FRU store in build/fru-store
# when it is missing, and runs quillet on it: with no arguments it reads the
# motherboard's manufacturing record, otherwise it passes the arguments on
# (for example: bash scripts/demo.sh -c PS0 -r IDENTITY).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# Progress goes to standard error, so that standard output carries only the
# record read.
say() { printf 'demo: %s\n' "$*" >&2; }
log="$here/build/demo-build.log"
# Quiet while it works; the whole log when a step fails.
quietly() {
  mkdir -p "$here/build"
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    say "failed: $*"
    exit 1
  fi
}

need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v make >/dev/null || need+=(make)
if [ ${#need[@]} -gt 0 ]; then
  say "installing ${need[*]} with apt-get"
  if [ "$(id -u)" -eq 0 ]; then sudo=; else sudo=sudo; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

say "configuring the build in build/"
quietly cmake -S "$here" -B "$here/build"
say "building quillet and fructl (the first build takes a few minutes)"
quietly cmake --build "$here/build" -j"$(nproc)" --target quillet fructl
if [ ! -f "$here/build/fru-store/inventory" ]; then
  say "creating the demo FRU store in build/fru-store"
fi
quietly cmake --build "$here/build" -j"$(nproc)" --target demo_store
# The build tree's demo store; the compiled-in default is the target's.
export QUILLET_FRU_STORE="$here/build/fru-store"
if [ $# -eq 0 ]; then
  set -- -c MB -r ManR
fi
say "running: build/src/quillet $*"
exec "$here/build/src/quillet" "$@"
