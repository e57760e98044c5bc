# An image flashed into a container takes its first bytes and leaves the
# rest erased; an image larger than the container, or a container that is
# not there, is refused and nothing changes.
$ fructl add EE zan --capacity 64 && printf '\1\2\3' >small && head -c 65 /dev/zero >big
$ quillet -c NOPE -i small
! fru store: no container NOPE in /.*/store/inventory; 'fructl list' lists the store, 'fructl add' adds a container (re)
! Given frupath NOPE doesn't exist in the system
[255]
$ quillet -c EE -i big
! Fails to update the fru EE [79]
[255]
$ od -An -tx1 -v $STORE/images/c1.img
|  ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff
|  ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff
|  ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff
|  ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff
$ quillet -c EE -i small
|
| Finished writing the file at EE
$ od -An -tx1 -v $STORE/images/c1.img
|  01 02 03 ff ff ff ff ff ff ff ff ff ff ff ff ff
|  ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff
|  ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff
|  ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff ff
$ quillet -c EE -r ManR
!
!  Error: Container image is damaged (bad header)
[67]
