# Two operators updating different fields of one record at the same time
# both keep their field, on an image file (replaced by rename) and on a
# device (written in place): quillet's read, change and write of a record
# is one transaction, and every segment stays usable.
$ head -c 4096 /dev/zero | tr '\0' '\377' >eeprom && fructl add EE zan --device $PWD/eeprom && fructl add MB zan --capacity 4096
$ for c in MB EE; do (for i in $(seq 200); do quillet -c $c -r Power_SummaryR -o total_time_on=$i || exit; done) & a=$!; (for i in $(seq 200); do quillet -c $c -r Power_SummaryR -o total_power_ons=$i || exit; done) & b=$!; wait $a; sa=$?; wait $b; echo "$c $sa $?"; done
| MB 0 0
| EE 0 0
$ for c in MB EE; do fructl get $c Power_SummaryR | cut -c 9-24 && fructl segments $c; done
| 000000c8000000c8
| PE 1 24 ok
| 000000c8000000c8
| PE 1 24 ok
