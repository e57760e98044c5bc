#!/usr/bin/env bash
# Runs quillet and fructl on an emulated 32-bit big-endian PowerPC board
# (QEMU ppce500, e500mc) whose FRU EEPROMs sit on the I2C bus behind the
# Linux at24 driver, as on a service processor. Builds and caches the kernel,
# builds our init and the static Release cross build of the tools, boots the
# board once per step and checks every step's transcript (board/steps/*.t),
# then cuts the power after each EEPROM write transaction of the writes in
# board/cuts and checks the boot after each cut. docs/board-test.md says more.
#
# QUILLET_BOARD_RENEW=1 rewrites the step files from what the board printed.
# QUILLET_BOARD_DIR (default build-board/) holds the build and the run;
# QUILLET_BOARD_CACHE (default /var/cache/quillet-board) the kernels.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=${QUILLET_BOARD_DIR:-$here/build-board}
cache=${QUILLET_BOARD_CACHE:-/var/cache/quillet-board}
renew=${QUILLET_BOARD_RENEW:-0}
# Write transactions per second each EEPROM takes in the boots of a cut:
# slow enough that a cut lands exactly after a chosen one even on a loaded
# machine, fast enough to keep the run short. Other boots run unthrottled.
iops=${QUILLET_BOARD_IOPS:-4}
jobs=$(nproc)
# The board has no clock; every command sees this one (2026-01-01 00:00 UTC).
now=1767225600
started=$(date +%s.%N)

need=()
command -v qemu-system-ppc >/dev/null || need+=(qemu-system-ppc)
command -v powerpc-linux-gnu-g++ >/dev/null || need+=(g++-powerpc-linux-gnu)
command -v cmake >/dev/null || need+=(cmake)
command -v make >/dev/null || need+=(make)
command -v gcc >/dev/null || need+=(gcc)
command -v python3 >/dev/null || need+=(python3)
ls /usr/src/linux-source-*.tar.xz >/dev/null 2>&1 || need+=(linux-source)
command -v flex >/dev/null || need+=(flex)
command -v bison >/dev/null || need+=(bison)
command -v bc >/dev/null || need+=(bc)
command -v cpio >/dev/null || need+=(cpio)
command -v fdtput >/dev/null || need+=(device-tree-compiler)
[ -f /usr/include/libelf.h ] || need+=(libelf-dev)
[ -f /usr/include/openssl/ssl.h ] || need+=(libssl-dev)
if [ ${#need[@]} -gt 0 ]; then
  echo "== installing: ${need[*]}"
  if [ "$(id -u)" -eq 0 ]; then sudo=; else sudo=sudo; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${need[@]}" >/dev/null
fi

elapsed() { echo "$(date +%s.%N) $1" | awk '{ printf "%.1f s", $1 - $2 }'; }
mkdir -p "$out" "$cache"
run=$out/run
rm -rf "$run"
mkdir -p "$run"

# --- Kernel, cached by linux-source version and configuration ---------------
t=$(date +%s.%N)
tarball=$(ls /usr/src/linux-source-*.tar.xz | sort -V | tail -1)
kpkg=$(basename "$tarball" .tar.xz)
kver=$(dpkg-query -W -f '${Version}' "$kpkg")
key=$( { echo "$kver"; cat "$here/board/kernel.config"; } | sha256sum | cut -c1-16)
kdir=$cache/kernel-$key
kernel_state="cached"
build_kernel() {
  local tmp src
  # What an interrupted build left.
  rm -rf "$cache"/build.*
  tmp=$(mktemp -d "$cache/build.XXXXXX")
  echo "== [board] kernel $kpkg $kver: unpacking"
  tar xJf "$tarball" -C "$tmp"
  src=$tmp/$kpkg
  echo "== [board] kernel: configuring and building (-j$jobs)"
  make -C "$src" -s ARCH=powerpc CROSS_COMPILE=powerpc-linux-gnu- \
    KCONFIG_ALLCONFIG="$here/board/kernel.config" allnoconfig >"$tmp/config.log" 2>&1 \
    || { cat "$tmp/config.log"; return 1; }
  # A symbol the fragment asks for but Kconfig dropped (a missing dependency)
  # would give a kernel that boots without its EEPROMs: refuse it here.
  local missing
  missing=$(grep '^CONFIG_.*=y$' "$here/board/kernel.config" | grep -vxF -f "$src/.config" || true)
  if [ -n "$missing" ]; then echo "kernel configuration lacks: $missing"; return 1; fi
  make -C "$src" -s -j"$jobs" ARCH=powerpc CROSS_COMPILE=powerpc-linux-gnu- vmlinux >"$tmp/build.log" 2>&1 \
    || { tail -40 "$tmp/build.log"; return 1; }
  mkdir -p "$tmp/out"
  cp "$src/vmlinux" "$src/.config" "$src/usr/gen_init_cpio" "$tmp/out/"
  mv "$tmp/out" "$kdir"
  rm -rf "$tmp"
}
if [ ! -f "$kdir/vmlinux" ]; then
  exec 9>"$cache/lock"
  flock 9
  if [ ! -f "$kdir/vmlinux" ]; then build_kernel; kernel_state="built"; fi
  exec 9>&-
fi
echo "== [board] kernel $kpkg $kver ($kernel_state, $kdir): $(elapsed "$t")"

# --- The tools, our init, the initramfs ------------------------------------
t=$(date +%s.%N)
cmake -S "$here" -B "$out/quillet" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/powerpc-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQUILLET_WERROR=ON -DQUILLET_TESTS=OFF >"$out/configure.log" \
  || { cat "$out/configure.log"; exit 1; }
cmake --build "$out/quillet" -j"$jobs" --target quillet fructl >"$out/build.log" \
  || { cat "$out/build.log"; exit 1; }
powerpc-linux-gnu-gcc -static -Os -Wall -Wextra -Werror -o "$out/init" "$here/board/init.c"

# The part images: a blank 24c64, the real DDR3 SPD (its customer bytes
# holding its maker's data, which the board claims), the real DDR4 SPD, the real IPMI FRU image of an FMC
# module in a 2 KiB part padded with 0xFF as such parts leave the factory.
data=$here/tests/data
ee=$run/ee
mkdir -p "$ee" "$run/data"
blank() { head -c "$2" /dev/zero | tr '\0' '\377' >"$1"; }
blank "$ee/mb.bin" 8192
# QEMU's block layer rounds a backing file up to 512 bytes, so the 256-byte
# part is backed by 512 (rom-size 512) and at24 is told it has 256.
{ cat "$data/ddr3-sodimm-samsung-M471B2873FHS-CF8.bin"; head -c 256 /dev/zero; } >"$ee/d0.bin"
cp "$data/ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin" "$ee/d1.bin"
blank "$ee/ps.bin" 2048
dd if="$data/uLOG_FRU.bin" of="$ee/ps.bin" conv=notrunc status=none
chmod u+w "$ee"/*.bin

# name address backing-size at24-compatible page extra-properties...
# QEMU 7.2's at24c model always takes two address bytes, so the small parts
# are declared to at24 with a 16-bit address and their size.
parts=(
  "mb 0x50 8192 atmel,24c64 32"
  "d0 0x51 512 atmel,24c02 16 address-width=16 size=256"
  "d1 0x52 512 atmel,24c04 16 address-width=16 size=512"
  "ps 0x53 2048 atmel,24c16 16 address-width=16 size=2048"
)
qemu_base=(qemu-system-ppc -M ppce500 -cpu e500mc -m 256 -nodefaults -display none -no-reboot
  -kernel "$kdir/vmlinux")
drives=()
for p in "${parts[@]}"; do
  set -- $p
  drives+=(-drive "file=$ee/$1.bin,if=none,format=raw,id=$1,throttling.iops-write=IOPS"
    -device "at24c-eeprom,bus=i2c,address=$2,rom-size=$3,drive=$1")
done

# Images the steps flash, made on the host by the same tools under qemu-ppc.
bash "$here/board/images.sh" "$out/quillet" "$run/data"

list=$run/initramfs.list
{
  echo "dir /dev 755 0 0"
  echo "nod /dev/console 600 0 0 c 5 1"
  for d in proc sys tmp bin sbin board board/steps board/data; do echo "dir /$d 755 0 0"; done
  echo "file /init $out/init 755 0 0"
  echo "file /bin/quillet $out/quillet/src/quillet 755 0 0"
  echo "file /sbin/fructl $out/quillet/platform/fructl/fructl 755 0 0"
  for f in "$here"/board/steps/*.t; do echo "file /board/steps/$(basename "$f") $f 644 0 0"; done
  for f in "$run"/data/*; do echo "file /board/data/$(basename "$f") $f 644 0 0"; done
} >"$list"
"$kdir/gen_init_cpio" "$list" | gzip -1 >"$run/initramfs.cpio.gz"
# The device tree: QEMU's own for this command line (it places the
# initramfs), with the EEPROM nodes at24 instantiates the parts from (their
# page sizes come only from there). QEMU takes a given tree as it is, so
# each boot puts its own command line in a copy.
dtb=$run/board.dtb
qemu-system-ppc -M ppce500,dumpdtb="$dtb" -cpu e500mc -m 256 -nodefaults -display none -kernel "$kdir/vmlinux" \
  -initrd "$run/initramfs.cpio.gz" "${drives[@]/IOPS/1000}" -serial null >"$run/dumpdtb.log" 2>&1 || { cat "$run/dumpdtb.log"; exit 1; }
i2c=$(fdtget "$dtb" /aliases i2c)
fdtput -t i "$dtb" "$i2c" '#address-cells' 1
fdtput -t i "$dtb" "$i2c" '#size-cells' 0
for p in "${parts[@]}"; do
  set -- $p
  node=$i2c/eeprom@${2#0x}
  fdtput -c "$dtb" "$node"
  fdtput -t s "$dtb" "$node" compatible "$4"
  fdtput -t i "$dtb" "$node" reg "$2"
  fdtput -t i "$dtb" "$node" pagesize "$5"
  shift 5
  for prop in "$@"; do
    case $prop in
      *=*) fdtput -t i "$dtb" "$node" "${prop%%=*}" "${prop#*=}" ;;
      *) fdtput -t s "$dtb" "$node" "$prop" "" ;;
    esac
  done
done

echo "== [board] tools, init, device tree, initramfs: $(elapsed "$t")"

# --- Boots ------------------------------------------------------------------
failures=0
boots=0
# boot NAME STEPS WATCHED LIMIT [IOPS]: one power-on running STEPS (comma-separated);
# counts the write transactions on part WATCHED, killing QEMU after LIMIT of
# them (0: runs to its end). Sets $count and $console.
boot() {
  local name=$1 steps=$2 watched=$3 limit=$4 rate=${5:-1000} b
  console=$run/$name.console
  b=$(date +%s.%N)
  boots=$((boots + 1))
  cp "$dtb" "$run/boot.dtb"
  fdtput -t s "$run/boot.dtb" /chosen bootargs "console=ttyS0,115200 quiet panic=-1 STEPS=$steps NOW=$now"
  count=$(python3 "$here/board/cut.py" "$ee/$watched.bin" "$limit" -- "${qemu_base[@]}" "${drives[@]/IOPS/$rate}" \
    -dtb "$run/boot.dtb" -initrd "$run/initramfs.cpio.gz" -serial "file:$console" \
    -append "console=ttyS0,115200 quiet panic=-1 STEPS=$steps NOW=$now")
  boot_time=$(elapsed "$b")
}
# check NAME STEP: the step's transcript must be its file, byte for byte.
check() {
  local name=$1 step=$2 file=$here/board/steps/$2.t
  if [ "$renew" = 1 ]; then
    python3 - "$console" "$step" "$file" <<'EOF' || true
import sys
lines = open(sys.argv[1], "rb").read().decode().replace("\r", "").split("\n")
start = lines.index("@@ step " + sys.argv[2]) + 1
end = lines.index("@@ end " + sys.argv[2], start)
open(sys.argv[3], "w").write("\n".join(lines[start:end]) + "\n")
EOF
  fi
  if python3 "$here/board/compare.py" "$console" "$step" "$file"; then
    echo "[board] $name: $step ok ($(grep -c '^\$ ' "$file") commands)"
  else
    echo "[board] $name: $step FAILED"
    failures=$((failures + 1))
  fi
}
# A boot that runs the registration, then STEPS, each checked.
boot_steps() {
  local name=$1 steps=$2 s
  boot "$name" "register,$steps" mb 0
  check "$name" register
  for s in ${steps//,/ }; do check "$name" "$s"; done
  echo "[board] $name: $boot_time"
}

snapshot() { rm -rf "$run/snap-$1" && cp -a "$ee" "$run/snap-$1"; }
restore() { rm -rf "$ee" && cp -a "$run/snap-$1" "$ee"; }

# cut NAME ACTION CHECK [--damaged] [--expect-fail WHY]: ACTION writes part
# MB; QEMU is killed after each of its write transactions in turn, and the
# next boot's CHECK must print for every command what it printed before
# ACTION or after it (the old or the new content), including the next update
# CHECK makes. The state after the uncut ACTION is kept for what follows.
cut_total=0
cut() {
  local name=$1 action=$2 checkstep=$3 damaged= expect_fail= n k c bad=0
  shift 3
  while [ $# -gt 0 ]; do
    case $1 in
      --damaged) damaged=--damaged ;;
      --expect-fail) expect_fail=$2; shift ;;
    esac
    shift
  done
  local t0; t0=$(date +%s.%N)
  snapshot "$name"
  boot "$name-old" "register,$checkstep" mb 0
  local old=$console
  restore "$name"
  boot "$name-full" "register,$action" mb 0 "$iops"
  n=$count
  check "$name-full" "$action"
  snapshot "$name-done"
  boot "$name-new" "register,$checkstep" mb 0
  local new=$console
  for ((k = 1; k < n; k++)); do
    restore "$name"
    boot "$name-cut$k" "register,$action" mb "$k" "$iops"
    c=$count
    boot "$name-after$k" "register,$checkstep" mb 0
    if [ "$c" != "$k" ] || ! python3 "$here/board/compare.py" "$console" "$checkstep" --either "$old" "$new" $damaged \
         >"$run/$name-after$k.diff"; then
      bad=$((bad + 1))
      echo "[board] cut $name after transaction $k of $n (saw $c):"
      sed 's/^/    /' "$run/$name-after$k.diff"
    fi
  done
  cut_total=$((cut_total + n - 1))
  restore "$name-done"
  local summary="$((n - 1)) cut points ($n write transactions), $(elapsed "$t0")"
  if [ -n "$expect_fail" ]; then
    if [ "$bad" -gt 0 ]; then
      echo "[board] cut $name: EXPECTED FAILURE, $bad of $((n - 1)) cuts break it: $expect_fail; $summary"
    else
      echo "[board] cut $name: passes now though marked expected to fail ($expect_fail): unmark it; $summary"
      failures=$((failures + 1))
    fi
  elif [ "$bad" -gt 0 ]; then
    echo "[board] cut $name: FAILED at $bad of $((n - 1)) cut points; $summary"
    failures=$((failures + 1))
  else
    echo "[board] cut $name: ok, $summary"
  fi
}

. "$here/board/plan.sh"

echo "== [board] summary: $boots boots, $cut_total cut points, $failures failures, total $(elapsed "$started")"
[ "$failures" -eq 0 ]
