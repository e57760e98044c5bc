#!/usr/bin/env python3
"""Runs QEMU and counts the write transactions that reach one EEPROM's
backing file; with a limit K, kills QEMU (SIGKILL, a power cut) as soon as
the K-th has landed.

QEMU writes the whole array back to the file at the end of every I2C write
transaction that changed it, and the drive's write throttling leaves a gap
between two of them, so polling the file's content catches each one before
the next can start. Prints the number of transactions seen.

usage: cut.py FILE K -- QEMU-ARGV...   (K = 0: never kill)
"""
import os
import signal
import subprocess
import sys
import time

path, limit = sys.argv[1], int(sys.argv[2])
argv = sys.argv[sys.argv.index("--") + 1:]


def content():
    with open(path, "rb") as f:
        return f.read()


last = content()
seen = 0
qemu = subprocess.Popen(argv)
deadline = time.monotonic() + float(os.environ.get("QUILLET_BOARD_BOOT_TIMEOUT", "60"))
while True:
    done = qemu.poll() is not None
    if not done and time.monotonic() > deadline:
        qemu.send_signal(signal.SIGKILL)
        qemu.wait()
        print("cut.py: QEMU did not end in time", file=sys.stderr)
        sys.exit(1)
    now = content()
    if now != last:
        # A read racing QEMU's write may see it half done: let it finish.
        time.sleep(0.005)
        seen += 1
        last = content()
        if limit and seen >= limit:
            qemu.send_signal(signal.SIGKILL)
            qemu.wait()
            break
    if done:
        break
    time.sleep(0.002)
print(seen)
