# On a device every part of the layout starts a page of its own: a page
# that leaves no room for a segment is refused when the container is added,
# naming the largest page that fits; that one works.
$ head -c 8192 /dev/zero | tr '\0' '\377' >eeprom && fructl add EE zan --device $PWD/eeprom --page 4096; echo "exit $?"; fructl list | grep -c EE
| exit 2
| 0
! fructl: EE: a page of 4096 bytes leaves no room for the layout on 8192 bytes; the largest page that fits is 2048
[1]
$ fructl add EE zan --device $PWD/eeprom --page 2048 && quillet -c EE -r Power_SummaryR -o total_power_ons=5 && fructl get EE Power_SummaryR | cut -c9-
| 000000000000000500000000
