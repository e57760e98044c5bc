# A DIMM's records go only into the end-user area JEDEC gives its memory
# type, and only where that area is blank or already holds them.
#
# This DDR3 module's maker left bytes at 176 to 183: updates are refused and
# change nothing, until the operator claims the area, keeping its bytes.
$ cp "$DATA/ddr3-sodimm-samsung-M471B2873FHS-CF8.bin" spd && fructl add SODIMM dimm --from spd && quillet -c SODIMM -r FAULT -o status=3
!
!   Unable to read FAULT record 112
[112]
$ quillet -c SODIMM -r FAULT
!
!  Error: Customer area holds data this platform did not write (see fructl claim)
[112]
$ quillet -c SODIMM -r POWER -d
!
!  Error: Customer area holds data this platform did not write (see fructl claim)
[112]
$ fructl image SODIMM now && cmp now spd
$ fructl claim SODIMM
! fructl: SODIMM: Claiming a customer area needs --backup FILE for its current bytes
[1]
$ echo older >taken && fructl claim SODIMM --backup taken
! fructl: SODIMM: Backup file already exists
[1]
$ fructl image SODIMM now && cmp now spd && cat taken
| older
$ fructl claim SODIMM --backup area && od -An -tx1 -v area | head -2 && tail -c 80 spd | cmp - area
|  01 a0 04 38 20 06 57 31 00 00 00 00 00 00 00 00
|  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
$ quillet -c SODIMM -r POWER -o power_on_minutes=5 && quillet -c SODIMM -r POWER | tail -1 && fructl image SODIMM now && cmp -n 176 now spd
|     power_on_minutes              : 5
# A DDR4 module keeps its records in bytes 384 to 511, laid out as DDR3's
# from 176; its module-specific bytes and their CRC at 254 stay as they are.
$ cp "$DATA/ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin" ddr4 && fructl add D4 dimm --from ddr4 && quillet -c D4 -r POWER -o power_on_minutes=5 && fructl image D4 now && cmp -n 384 now ddr4 && od -An -tx1 -j 384 -N 10 now
|  01 01 [0-9a-f ]{11} 00 00 00 05 (re)
# A DDR5 module's end-user area holds its XMP profiles: not this platform's.
$ cp "$DATA/ddr5-udimm-teamgroup-ud5-6000.bin" ddr5 && fructl add D5 dimm --from ddr5 && quillet -c D5 -r POWER -o power_on_minutes=5
!
!   Unable to read POWER record 112
[112]
$ fructl image D5 now && cmp now ddr5
# Memory soldered down (LPDDR4X) has no end-user area, and a memory type this
# build does not know is not written either; neither can be claimed.
$ (printf '\043\020\021'; head -c 509 /dev/zero) >lp && fructl add LP dimm --from lp && quillet -c LP -r POWER -o power_on_minutes=5
!
!   Unable to read POWER record 110
[110]
$ quillet -c LP -r POWER
!
!  Error: No customer area on this memory type
[110]
$ fructl claim LP --backup lp.area
! fructl: LP: No customer area on this memory type
[1]
$ fructl image LP now && cmp now lp; ls lp.area
! ls: cannot access 'lp.area': No such file or directory
[2]
$ head -c 256 /dev/zero >zero && fructl add Z dimm --from zero && quillet -c Z -r FAULT -d
!
!  Error: Unknown memory type in the SPD (byte 2)
[111]
