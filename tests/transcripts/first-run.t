# A first run, as a new user meets it: no store where quillet looks, a store
# without an inventory, then one without the container. quillet's own lines
# stay as they are; the "fru store:" line before them is the platform
# layer's, naming the path it looked in and what creates what is missing.
$ QUILLET_FRU_STORE=lab quillet -c MB -r ManR
! fru store: no store at lab; create it with 'fructl init' or name another with QUILLET_FRU_STORE
!
!  Could not get node handle: MB
[60]
$ mkdir lab && QUILLET_FRU_STORE=lab quillet -c MB -r ManR
! fru store: no inventory in lab; create it with 'fructl init' or name another store with QUILLET_FRU_STORE
!
!  Could not get node handle: MB
[60]
$ QUILLET_FRU_STORE=lab fructl list
! fructl: no inventory in lab; create it with 'fructl init' or name another store with QUILLET_FRU_STORE
[1]
$ QUILLET_FRU_STORE=lab fructl init && QUILLET_FRU_STORE=lab quillet -c MB -r ManR
! fru store: no container MB in lab/inventory; 'fructl list' lists the store, 'fructl add' adds a container
!
!  Could not get node handle: MB
[62]
$ QUILLET_FRU_STORE=lab quillet -c MB -d
! fru store: no container MB in lab/inventory; 'fructl list' lists the store, 'fructl add' adds a container
!
!  Could not get node handle: MB
[62]
$ QUILLET_FRU_STORE=lab quillet -c MB -i /dev/null
! fru store: no container MB in lab/inventory; 'fructl list' lists the store, 'fructl add' adds a container
! Given frupath MB doesn't exist in the system
[255]
$ QUILLET_FRU_STORE=lab fructl demo >/dev/null && QUILLET_FRU_STORE=lab quillet -c MB -r Power_SummaryR | head -1
| Power_SummaryR
# An inventory this user may not read says why. The scratch directory is
# opened to other users for the runs as nobody below.
$ chmod 711 .. && chmod 600 lab/inventory && QUILLET_FRU_STORE=lab setpriv --reuid=nobody --regid=nogroup --clear-groups quillet -c MB -r ManR
! fru store: cannot read lab/inventory: Permission denied
!
!  Could not get node handle: MB
[60]
$ QUILLET_FRU_STORE=lab setpriv --reuid=nobody --regid=nogroup --clear-groups fructl list
! fructl: cannot read lab/inventory: Permission denied
[1]
$ chmod 644 lab/inventory
# fructl doctor: per container, whether this user can read and write it and
# why not. Two EEPROM-like devices: one root's (0644), one on a read-only
# mount; a third that the group nogroup may write, as a udev rule would
# leave it for a service in that group. The lock directory is made as the
# package makes /run/quillet: mode 1777.
$ head -c 8192 /dev/zero | tr '\0' '\377' >eeprom && mkdir ro locks && chmod 1777 locks && cp eeprom ro/ && cp eeprom shared && chgrp nogroup shared && chmod 664 shared && mount --bind ro ro && mount -o remount,bind,ro ro
$ QUILLET_FRU_STORE=lab; export QUILLET_FRU_STORE; fructl add EE zan --device "$PWD/eeprom" && fructl add RO zan --device "$PWD/ro/eeprom" && fructl add SH zan --device "$PWD/shared"
# root writes everything but the read-only mount: status 3, everything reads.
$ QUILLET_FRU_STORE=lab QUILLET_LOCK_DIR=locks fructl doctor
| store lab: 7 containers, read ok, write ok
| locks locks: write ok
| MB: read ok, write ok
| PS0: read ok, write ok
| MB/P0/D0: read ok, write ok
| MB/P0: read ok, write ok
| EE: read ok, write ok
| RO: read ok, write no \(/.*/work/ro/eeprom: Read\-only file system\) (re)
| SH: read ok, write ok
[3]
$ QUILLET_FRU_STORE=lab QUILLET_LOCK_DIR=locks setpriv --reuid=nobody --regid=nogroup --clear-groups fructl doctor EE SH
| store lab: 7 containers, read ok, write no (lab: Permission denied)
| locks locks: write ok
| EE: read ok, write no \(/.*/work/eeprom: Permission denied\) (re)
| SH: read ok, write ok
[3]
$ QUILLET_FRU_STORE=lab setpriv --reuid=nobody --regid=nogroup --clear-groups quillet -c EE -r Power_SummaryR -o total_power_ons=1
! fru platform: open /.*/work/eeprom: Permission denied (re)
!
!  Error: Permission denied on the container image
[88]
$ QUILLET_FRU_STORE=lab setpriv --reuid=nobody --regid=nogroup --clear-groups quillet -c SH -r Power_SummaryR -o total_power_ons=1
# A container that is not in the store, or a store that cannot be read: 1.
$ QUILLET_FRU_STORE=lab QUILLET_LOCK_DIR=locks fructl doctor SH NOPE
| store lab: 7 containers, read ok, write ok
| locks locks: write ok
| SH: read ok, write ok
| NOPE: not in the store
[1]
$ chmod 600 lab/inventory && QUILLET_FRU_STORE=lab setpriv --reuid=nobody --regid=nogroup --clear-groups fructl doctor
| store lab: cannot read lab/inventory: Permission denied
[1]
$ fructl --store nowhere doctor
| store nowhere: no store at nowhere; create it with 'fructl init' or name another with QUILLET_FRU_STORE
[1]
$ umount ro
