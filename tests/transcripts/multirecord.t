# The multirecord area of an IPMI FRU image, record by record, in the units
# ipmi-fru shows (mV, mA); the information areas beside it read as before.
$ fructl add FMC ipmi --from "$DATA/caen-fmc-pico-1m4.bin" && fructl show FMC | sed -n '/^MultiRecord_Area_S/,$p' | head -20
| MultiRecord_Area_S
|   record 1: DC load (0x02)
|     output_number                 : 2
|     nominal_voltage               : 12000 mV
|     min_voltage                   : 11400 mV
|     max_voltage                   : 12600 mV
|     ripple_and_noise              : 0 mV
|     min_current_load              : 0 mA
|     max_current_load              : 300 mA
|   record 2: DC load (0x02)
|     output_number                 : 1
|     nominal_voltage               : 3300 mV
|     min_voltage                   : 3120 mV
|     max_voltage                   : 3460 mV
|     ripple_and_noise              : 0 mV
|     min_current_load              : 0 mA
|     max_current_load              : 100 mA
|   record 3: DC load (0x02)
|     output_number                 : 0
|     nominal_voltage               : 2500 mV
$ fructl get FMC MultiRecord_Area_S | cut -c1-40
| 02020db53a02b0047404ec04000000002c010202
# quillet's catalogue holds the three information areas and IDENTITY: the
# multirecord area is the platform's to show.
$ quillet -c FMC -r MultiRecord_Area_S
!
!  Error: The class_name  MultiRecord_Area_S is not supported.
[18]
# A record whose data fails its checksum is shown as bytes, and the rest of
# the chain still reads.
$ cp "$DATA/caen-fmc-pico-1m4.bin" bad && printf '\377' | dd of=bad bs=1 seek=96 conv=notrunc 2>/dev/null && fructl add BAD ipmi --from bad && fructl show BAD | sed -n '/^MultiRecord_Area_S/,$p' | head -12
| MultiRecord_Area_S
|   record 1: DC load (0x02)
|     output_number                 : 2
|     nominal_voltage               : 12000 mV
|     min_voltage                   : 11400 mV
|     max_voltage                   : 12600 mV
|     ripple_and_noise              : 0 mV
|     min_current_load              : 0 mA
|     max_current_load              : 300 mA
|   record 2: DC load (0x02)
|     record_checksum               : IPMI multirecord data does not match its checksum
|     data                          : 01 ff 01 38 01 5a 01 00 00 00 00 64 00
$ quillet -c BAD -r Board_Info_Area_S | head -2
| Board_Info_Area_S
|     format_version                : 1
# fructl show gives the damaged area once, with the records it can read.
$ fructl show BAD | grep -c '^MultiRecord_Area_S\|unreadable'; fructl show BAD --json | grep -o '"name":"MultiRecord_Area_S"' | wc -l
| 1
| 1
# A broken record header ends the chain where it breaks.
$ cp "$DATA/caen-fmc-pico-1m4.bin" cut && printf '\377' | dd of=cut bs=1 seek=109 conv=notrunc 2>/dev/null && fructl add CUT ipmi --from cut && fructl show CUT | sed -n '/^MultiRecord_Area_S/,/^[^ ]/p' | tail -4
|     min_current_load              : 0 mA
|     max_current_load              : 100 mA
|   record 3: damaged
|     chain                         : record header does not hold at byte 108
$ fructl get CUT MultiRecord_Area_S
! fructl: CUT MultiRecord_Area_S: IPMI multirecord area is damaged: a record header does not hold or runs past the image
[1]
# An area the image lacks is absent as before.
$ quillet -c CUT -r Chassis_Info_Area_S
!
!  Error: Record or area not present in the container
[14]
