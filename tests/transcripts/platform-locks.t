# A held lock makes an update wait a bounded time, then say busy, leaving
# every byte in place; once the lock is let go the update goes through. An
# image file is locked through a lock file of its own (made by the first
# update), a device in place.
$ export QUILLET_LOCK_DIR=$PWD/locks && mkdir locks && fructl add MB zan && quillet -c MB -r Power_SummaryR -o total_power_ons=1 && ls locks
| c-[0-9a-f]{8}-\d+\.lock (re)
$ head -c 4096 /dev/zero | tr '\0' '\377' >eeprom && fructl add EE zan --device $PWD/eeprom && quillet -c EE -r Power_SummaryR -o total_power_ons=1
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && fructl image MB before && flock -s locks/c-*.lock fructl put MB Power_SummaryR 00000000000000000000000200000000; fructl image MB after && cmp before after
! fructl: MB Power_SummaryR: Container is busy: another process holds its lock
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && flock -s locks/c-*.lock quillet -c MB -r Power_SummaryR -o total_power_ons=2; fructl image MB after && cmp before after
!
!   Unable to read Power_SummaryR record 83
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && cp eeprom before && flock -s eeprom fructl put EE Power_SummaryR 00000000000000000000000200000000; cmp before eeprom
! fructl: EE Power_SummaryR: Container is busy: another process holds its lock
$ export QUILLET_LOCK_DIR=$PWD/locks && for c in MB EE; do fructl put $c Power_SummaryR 00000000000000000000000200000000 && fructl get $c Power_SummaryR; done
| 00000000000000000000000200000000
| 00000000000000000000000200000000
