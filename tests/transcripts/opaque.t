# Opaque-segment requests that are refused write nothing and say why; ./q
# runs quillet and shows a printed usage as "(usage)".
$ fructl demo && fructl image MB before && head -c 8193 /dev/zero >large && printf '#!/bin/sh\nquillet "$@" >out; s=$?; quillet -h | cmp -s - out && echo "(usage)" || cat out; exit $s\n' >q && chmod +x q
$ ./q -c MB -s segname=O1,segname=O2
! Error: Either segname is NULL or provided multiple segments
[23]
$ ./q -c MB -s segname
! Error: Either segname is NULL or provided multiple segments
[23]
$ ./q -c MB -s segname=O1,filename=a,filename=b
! Error: Either filename is NULL or provided multiple files
[23]
$ ./q -c MB -s segname=O1,data
! Error: Either data is NULL or provided multiple data
[23]
$ ./q -c MB -s segname=O1,size=1,size=2
! Error:Either size is NULL or provided multiple size infor
[23]
$ ./q -c MB -s segname=O1,section=bogus
! Please provide either STATIC or DYNAMIC section area.
[23]
$ ./q -c MB -s segname=O1,section
! Please provide either STATIC or DYNAMIC section area.
[23]
$ ./q -c MB -s segname=O1,data=a,section=STATIC,section=DYNAMIC
! Please provider either STATIC or DYNAMIC section area.
[23]
$ ./q -c MB -s segname=O1,data=a
! Please provider either STATIC or DYNAMIC section area.
[23]
$ ./q -c MB -s segname=O1,size=4
! Please provider either opaque file name or opaque data.
[23]
$ ./q -c MB -s segname=O1,data=a,filename=/etc/hostname,section=STATIC
! Please provider either opaque file name or opaque data.
[23]
$ ./q -c MB -s data=a,section=STATIC
! Please provide segment name
[23]
$ ./q -c MB -s segname=O1,section=STATIC,filename=/nonexistent
! Opaque file /nonexistent doesn't exist
[23]
$ ./q -c MB -s segname=O1,section=STATIC,filename=/
! Failed to read Opaque file: /
[23]
$ ./q -c MB -s segname=ES,section=STATIC,filename=large
! Opaque file is too large large
[23]
$ ./q -c MB -s segname=O1,data=$(tr '\0' d <large),section=STATIC
! Opaque file is too large (inline data)
[23]
$ ./q -c MB -s segname=X1,data=a,section=STATIC
! Error: Either segname is NULL or does not begin with 'O'
!        Segname can be "ES".
[6]
$ ./q -c MB -s segname=O1,SEGNAME=O2
| (usage)
!
!  Error: SEGNAME=O2 is not supported
[23]
$ ./q -c MB -s segname=O1,colour=red -d
| (usage)
!
!  Error: colour=red is not supported
[23]
$ ./q -c MB -s segname=O1,section=STATIC,section=DYNAMIC -d
! Please provider either STATIC or DYNAMIC section area.
[23]
$ ./q -c MB -s section=STATIC -d
! Please provide segment name
[23]
$ fructl image MB after && cmp before after
# With -d and no section, nothing is deleted and nothing is said.
$ ./q -c MB -s segname=O1 -d && ./q -c MB -s '' -d && fructl image MB after && cmp before after
# A device's size is 0, as an empty file's is: it writes an empty segment.
$ ./q -c MB -s segname=O1,section=STATIC,filename=/dev/zero && ./q -c MB -s segname=O1,section=STATIC && fructl segments MB | grep O1
| O1 0 8 ok
