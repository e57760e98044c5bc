# Opaque segments: the section names reach the platform's sections, a
# deletion takes one section, and record segments are not opaque ones.
$ fructl demo
$ quillet -c MB -s segname=O2,section=dynamic,data=hello && quillet -c MB -s segname=O2,section=STATIC
$ quillet -c MB -s segname=O2,section=DYNAMIC | cut -f2-6
|  buff[0] = 68	 buff[1] = 65	 buff[2] = 6c	 buff[3] = 6c	 buff[4] = 6f
$ quillet -c MB -d -s segname=O2,section=DYNAMIC && quillet -c MB -s segname=O2
!
!  Error : Seg O2 Record or area not present in the container
[14]
$ quillet -c MB -s segname=MN,data=x
! Error: Either segname is NULL or does not begin with 'O'
!        Segname can be "ES".
[6]
# A flashed image gives another container the same records.
$ fructl image MB mb.img && fructl add MB2 zan --capacity 8192 && quillet -c MB2 -i mb.img
|
| Finished writing the file at MB2
$ for r in ManR Customer_DataR Status_EventsR InstallationR; do fructl get MB $r >a && fructl get MB2 $r >b && cmp a b || exit; done
$ quillet -c MB2 -s segname=O1,section=STATIC >a && quillet -c MB -s segname=O1,section=STATIC >b && cmp a b
# An image as large as its container is taken whole.
$ fructl image MB/P0 rom && wc -c <rom && quillet -c MB/P0 -i rom && fructl image MB/P0 again && cmp rom again
| 128
|
| Finished writing the file at MB/P0
# The scan holds no lock while it waits for an answer, and removes only the
# segment it showed: one changed meanwhile stays, and the scan says so (here
# the container's only segment, so that it is also the first).
$ fructl add ONE zan && quillet -c ONE -r CUSTOMER -t 'Rack 1' && fructl corrupt ONE CU && mkfifo answers || exit; { quillet -d -c ONE <answers 2>scan.err; echo "scan: $?" >scan.status; } & exec 3>answers; i=0; until grep -q 'y/n' scan.err 2>/dev/null || [ $i -gt 3000 ]; do sleep 0.01; i=$((i + 1)); done; quillet -d -f -c ONE && quillet -c ONE -r CUSTOMER -t 'Rack 9' && fructl get ONE Customer_DataR >recreated; echo y >&3; exec 3>&-; wait; cat scan.status scan.err; fructl get ONE Customer_DataR | cmp - recreated && fructl segments ONE
| scan: 97
|
|  The following segments have incorrect CRC.
|
|  SEGMENT : CU
|
|  Do you want to delete this segment CU (y/n)?
|
|  Error: Segment changed since the scan listed it; it was kept
| CU 1 92 ok
