# Hostile input is refused with its own status and message, and the store
# keeps every byte: before, the FIFOs blocked for ever, /dev/zero ran out of
# memory, the over-size image made a container that broke the whole store,
# and bad names and types were written into the inventory.
$ fructl demo && mkfifo -m 444 fifo && head -c 1048577 /dev/zero >big && echo "F 0 zan $PWD/fifo 16384" >>"$STORE/inventory"
# ./same STATUS says when the store changed since ./same, and exits with STATUS.
$ printf '#!/bin/sh\nfind "$STORE" -type f ! -name "*.lock" | sort | xargs cksum >now\n[ -z "$1" ] && mv now before || cmp -s now before || echo store changed\nexit $1\n' >same && chmod +x same && ./same
$ fructl add A zan --from fifo; ./same $?
! fructl: fifo: Not a regular file
[1]
$ fructl add A zan --from /dev/zero; ./same $?
! fructl: /dev/zero: Not a regular file
[1]
$ fructl add A zan --from big; ./same $?
! fructl: big: File larger than the largest container (1048576 bytes)
[1]
$ fructl put MB ManR 00; ./same $?
! fructl: ManR takes 183 bytes, not 1
[1]
$ fructl add "$(printf 'A\vB')" zan 2>&1 | cat -v; ./same $?
| fructl: A^KB: NAC name must be 1 to 64 printable characters without blanks or '#'
$ fructl add "$(printf 'A\fB')" zan 2>&1 | cat -v; ./same $?
| fructl: A^LB: NAC name must be 1 to 64 printable characters without blanks or '#'
$ fructl add '#A' zan; ./same $?
! fructl: #A: NAC name must be 1 to 64 printable characters without blanks or '#'
[2]
$ fructl add NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN zan; ./same $?
! fructl: NNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNNN: NAC name must be 1 to 64 printable characters without blanks or '#'
[2]
$ fructl add Z2 zan --type 2; ./same $?
! fructl: Z2: Container type does not fit its family (zan 0 or 4, ipmi 1, dimm 2, pirom 3)
[2]
$ fructl add D dimm --type 0; ./same $?
! fructl: D: Container type does not fit its family (zan 0 or 4, ipmi 1, dimm 2, pirom 3)
[2]
$ fructl add P pirom --type 4; ./same $?
! fructl: P: Container type does not fit its family (zan 0 or 4, ipmi 1, dimm 2, pirom 3)
[2]
$ fructl add E dimm --device '/dev/a b'; ./same $?
! fructl: /dev/a b: PATH must be 1 to 4095 characters without blanks or control characters
[2]
$ quillet -c MB -i fifo; ./same $?
! Container fifo has no information to update
[255]
$ quillet -c MB -i /dev/zero; ./same $?
! Container /dev/zero has no information to update
[255]
$ quillet -c MB -s segname=O1,filename=fifo,section=STATIC; ./same $?
! Failed to read Opaque file: fifo
[23]
$ quillet -c MB -r PwrMgmt_RFR -o filename=fifo >/dev/null; ./same $?
! Input file stat mode failed for Opaque file fifo
!
! Error: Please provide string of name value pairs separated by commas.
[23]
$ quillet -c F -r ManR; ./same $?
!
!  Error: Container image is neither a regular file nor a device node
[92]
# Types that fit their family are taken.
$ for t in zan:0 zan:4 ipmi:1 dimm:2 pirom:3 pirom:unknown; do fructl add ${t%:*}${t#*:} ${t%:*} --type ${t#*:} || exit; done; fructl list | wc -l
| 11
# A container listed twice makes the whole inventory unusable, not one of the two.
$ echo "MB 0 zan images/c1.img 16384" >>"$STORE/inventory" && quillet -c MB -r ManR
! fru store: .*/store/inventory line 13: container MB listed twice (re)
!
!  Could not get node handle: MB
[61]
# Eight concurrent adds each keep their own image, and leave no orphan.
$ fructl --store own init && export QUILLET_FRU_STORE=$PWD/own && p= && for i in 0 1 2 3 4 5 6 7; do fructl add C$i zan & p="$p $!"; done; for j in $p; do wait $j || echo failed; done; fructl list | cut -d' ' -f5 | sort -u | wc -l; ls own/images | wc -l
| 8
| 8
# A failed add or demo takes away what it made: here images/ runs out of
# space before the first image is written.
$ fructl --store small init && mount -t tmpfs -o size=8k tmpfs small/images && (export STORE=$PWD/small QUILLET_FRU_STORE=$PWD/small; ./same; fructl add MB zan 2>/dev/null; ./same $? || echo "add: $?"; fructl demo 2>/dev/null; ./same $? || echo "demo: $?"; fructl list); umount small/images
| add: 1
| demo: 1
# remove deletes an image only by a plain name inside the store's own
# images/ directory, never a path climbing out or an images/ linked elsewhere.
$ fructl --store r init && export QUILLET_FRU_STORE=$PWD/r && fructl add OWN zan && echo keep >outside && mkdir elsewhere && echo keep >elsewhere/c7.img && printf 'UP 0 zan images/../../outside 16384\nABS 0 zan %s/outside 16384\nLINKED 0 zan images/c7.img 16384\n' "$PWD" >>r/inventory && fructl remove UP && fructl remove ABS && fructl remove OWN && cat outside && ls r/images | wc -l
| keep
| 0
$ export QUILLET_FRU_STORE=$PWD/r && mv r/images old-images && ln -s "$PWD/elsewhere" r/images && fructl remove LINKED && cat elsewhere/c7.img && fructl list | wc -l
| keep
| 0
