# A held lock makes an update wait a bounded time, then say busy, leaving
# every byte in place; once the lock is let go the update goes through.
# Every container is locked through a file in the lock directory named by
# the device and inode it protects; a lock taken on the device file itself,
# as any reader of it may, stops nobody. A regular image gets a new inode
# with every write, and the lock file of the old one goes.
$ export QUILLET_LOCK_DIR=$PWD/locks && mkdir locks && fructl add MB zan && quillet -c MB -r Power_SummaryR -o total_power_ons=1 && ls locks
$ export QUILLET_LOCK_DIR=$PWD/locks && head -c 4096 /dev/zero | tr '\0' '\377' >eeprom && fructl add EE zan --device $PWD/eeprom && quillet -c EE -r Power_SummaryR -o total_power_ons=1 && ls locks/d-$(stat -c %d-%i eeprom).lock
| locks/d-\d+-\d+\.lock (re)
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && fructl image MB before && flock -s locks/d-$(stat -c %d-%i $STORE/images/*.img).lock fructl put MB Power_SummaryR 00000000000000000000000200000000; fructl image MB after && cmp before after
! fructl: MB Power_SummaryR: Container is busy: another process holds its lock
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && flock -s locks/d-$(stat -c %d-%i $STORE/images/*.img).lock quillet -c MB -r Power_SummaryR -o total_power_ons=2; fructl image MB after && cmp before after
!
!  Error: Container is busy: another process holds its lock
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && cp eeprom before && flock -s locks/d-$(stat -c %d-%i eeprom).lock fructl put EE Power_SummaryR 00000000000000000000000200000000; cmp before eeprom
! fructl: EE Power_SummaryR: Container is busy: another process holds its lock
# A reader waits the same bound, then reads without the lock.
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && flock -x locks/d-$(stat -c %d-%i eeprom).lock fructl get EE Power_SummaryR | cut -c9-
| 000000000000000100000000
$ export QUILLET_LOCK_DIR=$PWD/locks QUILLET_LOCK_WAIT_MS=200 && flock -x eeprom fructl put EE Power_SummaryR 00000000000000000000000300000000 && fructl get EE Power_SummaryR
| 00000000000000000000000300000000
$ export QUILLET_LOCK_DIR=$PWD/locks && for c in MB EE; do fructl put $c Power_SummaryR 00000000000000000000000200000000 && fructl get $c Power_SummaryR; done && ls locks
| 00000000000000000000000200000000
| 00000000000000000000000200000000
| d-\d+-\d+\.lock (re)
