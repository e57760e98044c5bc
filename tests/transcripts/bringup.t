# The bring-up guide (docs/devices.md) on files shaped like the example
# board's EEPROMs, under ./sys and ./dev instead of /sys and /dev: the
# commands are the guide's with that prefix, and the listings drop it again.
# The board: MB a blank 24C256, MB/P0/D0 a real DDR3 SPD with blank
# customer bytes, MB/P0/D1 a DDR4 module's 512 bytes, PS0 a power supply's
# IPMI FRU data, MB/P0 a processor ROM.
$ d=sys/bus/i2c/devices; mkdir -p $d/0-0050 $d/1-0050 $d/1-0051 $d/3-0051 dev && head -c 32768 /dev/zero | tr '\0' '\377' >$d/0-0050/eeprom && (head -c 176 "$DATA/ddr3-sodimm-samsung-M471B2873FHS-CF8.bin"; head -c 80 /dev/zero) >$d/1-0050/eeprom && head -c 512 /dev/zero >$d/1-0051/eeprom && (cat "$DATA/uLOG_FRU.bin"; head -c 133 /dev/zero | tr '\0' '\377') >$d/3-0051/eeprom && head -c 128 /dev/zero >dev/mtdblock4
$ wc -c <sys/bus/i2c/devices/0-0050/eeprom
| 32768
# 2. The store and the board's EEPROMs.
$ fructl init
$ fructl add MB zan --device $PWD/sys/bus/i2c/devices/0-0050/eeprom --page 64
$ fructl add MB/P0/D0 dimm --device $PWD/sys/bus/i2c/devices/1-0050/eeprom --page 16
$ fructl add MB/P0/D1 dimm --device $PWD/sys/bus/i2c/devices/1-0051/eeprom --page 16
$ fructl add PS0 ipmi --device $PWD/sys/bus/i2c/devices/3-0051/eeprom --page 8
$ fructl add MB/P0 pirom --device $PWD/dev/mtdblock4 --capacity 128
$ fructl list | sed -e "s|$STORE|STORE|g" -e "s|$PWD||g"
| MB 0 zan 32768 /sys/bus/i2c/devices/0-0050/eeprom device
| MB/P0/D0 2 dimm 256 /sys/bus/i2c/devices/1-0050/eeprom device
| MB/P0/D1 2 dimm 512 /sys/bus/i2c/devices/1-0051/eeprom device
| PS0 1 ipmi 256 /sys/bus/i2c/devices/3-0051/eeprom device
| MB/P0 3 pirom 128 /dev/mtdblock4 device
# The installed example inventory describes the same board, line for line.
$ fructl list | sort >added && sed "s| /| $PWD/|" "$DATA/../../dist/examples/inventory.board" >$STORE/inventory && fructl list | sort | cmp - added && wc -l <added
| 5
# 3. fructl doctor, as root: all of it reads and writes.
$ fructl doctor | sed -e "s|$STORE|STORE|g" -e "s|$PWD||g"
| store STORE: 5 containers, read ok, write ok
| locks .*: write ok (re)
| MB: read ok, write ok
| PS0: read ok, write ok
| MB/P0/D0: read ok, write ok
| MB/P0/D1: read ok, write ok
| MB/P0: read ok, write ok
$ quillet -c PS0 -r Board_Info_Area_S | head -3
| Board_Info_Area_S
|     format_version                : 1
|     language                      : 25 (English)
$ quillet -c MB/P0/D0 -r POWER -o power_on_minutes=5 && quillet -c MB/P0/D0 -r SPD_DDR3_R | grep -c .
| 20
# 5. A service user (nobody here) in the group (nogroup here) that the udev
# rule gives the motherboard EEPROM: it writes MB, and doctor says why not
# the others (a sysfs eeprom file is root's, 0600).
$ chmod 711 .. && chmod 600 sys/bus/i2c/devices/*/eeprom && chgrp nogroup sys/bus/i2c/devices/0-0050/eeprom && chmod 0660 sys/bus/i2c/devices/0-0050/eeprom
$ setpriv --reuid=nobody --regid=nogroup --clear-groups fructl doctor MB PS0 | sed -e "s|$STORE|STORE|g" -e "s|$QUILLET_LOCK_DIR|LOCKS|g" -e "s|$PWD||g"
| store STORE: 5 containers, read ok, write no (STORE: Permission denied)
| locks LOCKS: write ok
| MB: read ok, write ok
| PS0: read no (/sys/bus/i2c/devices/3-0051/eeprom: Permission denied), write no (/sys/bus/i2c/devices/3-0051/eeprom: Permission denied)
$ setpriv --reuid=nobody --regid=nogroup --clear-groups quillet -c MB -r Power_SummaryR -o total_power_ons=1 && setpriv --reuid=nobody --regid=nogroup --clear-groups quillet -c MB -r Power_SummaryR | tail -2
|     total_power_ons               : 1
|     total_power_offs              : 0
# 6. The store on a read-only mount: devices are still written; only the
# store's own files (images, edits) could not be.
$ mount --bind $STORE $STORE && mount -o remount,bind,ro $STORE && quillet -c MB -r Power_SummaryR -o total_power_ons=2 && fructl doctor MB | sed -e "s|$STORE|STORE|g" -e "s|$PWD||g"
| store STORE: 5 containers, read ok, write no (STORE: Read-only file system)
| locks .*: write ok (re)
| MB: read ok, write ok
$ umount $STORE
# 7 and 8. A container whose lock another process holds: after the bounded
# wait, status 83, the one worth retrying.
# The lock is a file in the lock directory named by the EEPROM's identity.
$ flock "$QUILLET_LOCK_DIR/d-$(stat -c %d-%i sys/bus/i2c/devices/0-0050/eeprom).lock" env QUILLET_LOCK_WAIT_MS=50 quillet -c MB -r Power_SummaryR -o total_power_ons=3
!
!  Error: Container is busy: another process holds its lock
[83]
$ quillet -c MB -r Power_SummaryR -o total_power_ons=3 && quillet -c MB -r Power_SummaryR | tail -2
|     total_power_ons               : 3
|     total_power_offs              : 0
