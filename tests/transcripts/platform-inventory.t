# The inventory as a look-up reads it: a malformed line is named with its
# number and the rule it breaks, and the look-up of its container fails.
# Each look-up runs in the store, so that messages name ./inventory.
# A look-up parses only its own container's lines: MB is found past a bad
# line of PS0's, and PS0 is refused with its line.
$ fructl add MB zan && echo 'PS0 1 ipmi' >>$STORE/inventory
$ cd $STORE && QUILLET_FRU_STORE=. quillet -c MB -r ManR
!
!  Error: Record or area not present in the container
[14]
$ cd $STORE && QUILLET_FRU_STORE=. quillet -c PS0 -r ManR
! fru store: ./inventory line 3: expected: NAC TYPE FAMILY PATH CAPACITY [device] [page=BYTES]
!
!  Could not get node handle: PS0
[61]
# Comments, blank lines and capacities at both limits pass (a listing reads
# every line); four words do not.
$ cd $STORE && printf '# comment\n\nMB 0 zan images/a.img 1048576\nX unknown zan x.img 1 device page=4096\n' >inventory && QUILLET_FRU_STORE=. fructl list
| MB 0 zan 1048576 images/a.img
| X unknown zan 1 x.img device
$ cd $STORE && printf '# comment\n\nMB 0 zan images/a.img 1048576\nX 0 zan x.img 1\nPS0 1 ipmi b.img\n' >inventory && QUILLET_FRU_STORE=. quillet -c PS0 -r ManR
! fru store: ./inventory line 5: expected: NAC TYPE FAMILY PATH CAPACITY [device] [page=BYTES]
!
!  Could not get node handle: PS0
[61]
$ cd $STORE && printf 'MB x zan a.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: TYPE must be a number or 'unknown'
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 0 eeprom a.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: FAMILY must be zan, ipmi, dimm or pirom
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 0 zan a.img 0\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: CAPACITY must be a byte count from 1 to 1048576
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 0 zan a.img 1048577\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: CAPACITY must be a byte count from 1 to 1048576
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 0 zan a.img 10 extra\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: after CAPACITY only 'device' and 'page=BYTES' (1 to 4096) may follow
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 2 zan a.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: TYPE 2 does not fit FAMILY zan, which takes 0 or 4 (or unknown)
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 0 dimm a.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: TYPE 0 does not fit FAMILY dimm, which takes 2 (or unknown)
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 4 ipmi a.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: TYPE 4 does not fit FAMILY ipmi, which takes 1 (or unknown)
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'M\vB 0 zan a.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c "$(printf 'M\vB')" -r ManR 2>&1 | tr '\v' V
| fru store: ./inventory line 1: NAC must be 1 to 64 printable characters without blanks or '#'
|
|  Could not get node handle: MVB
$ cd $STORE && printf '%065d 0 zan a.img 10\n' 0 >inventory && QUILLET_FRU_STORE=. quillet -c $(printf %065d 0) -r ManR
! fru store: ./inventory line 1: NAC must be 1 to 64 printable characters without blanks or '#'
!
!  Could not get node handle: 00000000000000000000000000000000000000000000000000000000000000000
[61]
$ cd $STORE && printf 'MB 0 zan a\001.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 1: PATH must be 1 to 4095 characters without blanks or control characters
!
!  Could not get node handle: MB
[61]
$ cd $STORE && printf 'MB 0 zan a.img 10\nMB/P0 3 pirom b.img 9\n MB\t0 zan c.img 10\n' >inventory && QUILLET_FRU_STORE=. quillet -c MB -r ManR
! fru store: ./inventory line 3: container MB listed twice
!
!  Could not get node handle: MB
[61]
# A store that is not there.
$ QUILLET_FRU_STORE=/nonexistent-store quillet -c MB -r ManR
! fru store: no store at /nonexistent-store; create it with 'fructl init' or name another with QUILLET_FRU_STORE
!
!  Could not get node handle: MB
[60]
