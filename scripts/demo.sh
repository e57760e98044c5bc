#!/usr/bin/env bash
# Builds quillet and fructl, creates the demo FRU store in build/fru-store
# when it is missing, and runs quillet on it: with no arguments it reads the
# motherboard's manufacturing record, otherwise it passes the arguments on
# (for example: bash scripts/demo.sh -c PS0 -r IDENTITY).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v make >/dev/null || need+=(make)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then sudo=; else sudo=sudo; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

cmake -S "$here" -B "$here/build" >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target quillet fructl demo_store >/dev/null
# The build tree's demo store; the compiled-in default is the target's.
export QUILLET_FRU_STORE="$here/build/fru-store"
if [ $# -eq 0 ]; then
  set -- -c MB -r ManR
fi
exec "$here/build/src/quillet" "$@"
