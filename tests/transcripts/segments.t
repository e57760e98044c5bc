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
