#!/usr/bin/env bash
# Makes the files the board's steps read: a ZAN image to flash, written by
# the same cross-built tools under qemu-ppc on the host.
# usage: images.sh QUILLET-BUILD-DIR OUT-DIR
set -euo pipefail
build=$1 dir=$2
store=$(mktemp -d)
trap 'rm -rf "$store"' EXIT
q() { QUILLET_FRU_STORE=$store qemu-ppc "$build/src/quillet" "$@"; }
f() { QUILLET_FRU_STORE=$store qemu-ppc "$build/platform/fructl/fructl" "$@"; }
f init
f add IMG zan --capacity 8192
# Records without a time stamp, so that the image does not depend on the clock.
q -c IMG -r CUSTOMER -t 'Flashed, from the lab'
q -c IMG -s segname=O3,section=STATIC,data=flashed
f image IMG "$dir/mb-flash.img"
q -c IMG -r CUSTOMER -t 'Flashed again'
q -c IMG -s segname=O3,section=STATIC,data=second
f image IMG "$dir/mb-flash2.img"
printf 'opaque bytes from the board test\n' >"$dir/blob"
echo y >"$dir/yes"
