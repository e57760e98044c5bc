# quillet and fructl on files that behave like the kernel's EEPROM
# attributes: a fixed size, in a directory where nothing can be created,
# renamed or removed (a file bind-mounted into a read-only mount). ./bytes
# CALL ARGS... runs quillet under strace and says how many bytes CALL moved
# to or from the device.
$ printf '#!/bin/sh\nc=$1; shift; strace -f -qq -E ASAN_OPTIONS=detect_leaks=0 -e trace=$c -P "$PWD/0-0050/eeprom" -o trace quillet "$@"; s=$?; awk -v c=$c '"'"'$0 ~ c { n += $NF } END { print c, n + 0 }'"'"' trace; exit $s\n' >bytes && chmod +x bytes
$ printf '#!/bin/sh\nmkdir -p 0-0050 && : >0-0050/eeprom && mount --bind 0-0050 0-0050 && mount -o remount,bind,ro 0-0050 && mount --bind backing 0-0050/eeprom && : >0-0050/new\n' >attribute && chmod +x attribute
# Blank parts, all 0xFF or all 0x00, take an update in a few hundred bytes,
# and the next moves the record and commits the other table slot; a read
# takes the bytes in use, not the whole part.
$ head -c 8192 /dev/zero | tr '\0' '\377' >backing && ./attribute; mv 0-0050/eeprom 0-0050/moved; umount 0-0050/eeprom && umount 0-0050
! ./attribute: 2: cannot create 0-0050/new: Read-only file system
! mv: cannot move '0-0050/eeprom' to '0-0050/moved': Read-only file system
$ for blank in '\377' '\0'; do head -c 8192 /dev/zero | tr '\0' "$blank" >backing && ./attribute 2>/dev/null; fructl add EE zan --device "$PWD/0-0050/eeprom" && quillet -c EE -r Power_SummaryR 2>&1 | tail -1; ./bytes pwrite64 -c EE -r Power_SummaryR -o total_power_ons=5 && ./bytes pwrite64 -c EE -r Power_SummaryR -o total_power_offs=4 && ./bytes pread64 -c EE -r Power_SummaryR | tail -3; ls 0-0050; wc -c <0-0050/eeprom; fructl remove EE; umount 0-0050/eeprom && umount 0-0050; done
|  Error: Record or area not present in the container
| pwrite64 84
| pwrite64 52
|     total_power_ons               : 5
|     total_power_offs              : 4
| pread64 1144
| eeprom
| 8192
|  Error: Record or area not present in the container
| pwrite64 77
| pwrite64 49
|     total_power_ons               : 5
|     total_power_offs              : 4
| pread64 1144
| eeprom
| 8192
# A real DDR3 SPD whose customer bytes are zero (this module has vendor bytes
# at 176 to 183; zeroed here) takes a power-on record and keeps its SPD.
$ (head -c 176 "$DATA/ddr3-sodimm-samsung-M471B2873FHS-CF8.bin"; head -c 80 /dev/zero) >backing && ./attribute 2>/dev/null; fructl add D0 dimm --device "$PWD/0-0050/eeprom" && quillet -c D0 -r SPD_DDR3_R >spd && quillet -c D0 -r POWER
!
!  Error: Record or area not present in the container
[14]
$ quillet -c D0 -r POWER -o power_on_minutes=5 && quillet -c D0 -r POWER | tail -1 && quillet -c D0 -r FAULT
|     power_on_minutes              : 5
!
!  Error: Record or area not present in the container
[14]
$ quillet -c D0 -r SPD_DDR3_R | cmp - spd && cmp -n 176 backing 0-0050/eeprom; umount 0-0050/eeprom && umount 0-0050
# A store on a read-only file system says why an update cannot be made.
$ fructl add MB zan && quillet -c MB -r Power_SummaryR -o total_power_ons=1 && mount --bind "$STORE" "$STORE" && mount -o remount,bind,ro "$STORE" && quillet -c MB -r Power_SummaryR -o total_power_ons=2; s=$?; umount "$STORE"; exit $s
! fru platform: create a temporary file in .*/store/images: Read-only file system (re)
!
!  Error: Container image is on a read-only file system
[87]
