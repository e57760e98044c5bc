# A rewrite keeps what the image file is, follows no link planted beside it
# and creates nothing there. The image lives elsewhere behind a symlink, with
# its own mode and owner; names an earlier version used beside it are links
# to a file outside the store.
$ fructl add MB zan
$ cd $STORE && mv images/c1.img elsewhere.img && ln -s $STORE/elsewhere.img images/c1.img && chmod 640 elsewhere.img && chown 1234:5678 elsewhere.img
$ cd $STORE && ln -s $STORE/victim images/c1.img.new && ln -s $STORE/victim images/c1.img.lock && ls -A . images >$OLDPWD/listing; cat $OLDPWD/listing
| .:
| elsewhere.img
| images
| inventory
| inventory.lock
|
| images:
| c1.img
| c1.img.lock
| c1.img.new
# A read creates nothing.
$ quillet -c MB -r Power_SummaryR
!
!  Error: Record or area not present in the container
[14]
$ cd $STORE && ls -A . images | cmp - $OLDPWD/listing
$ quillet -c MB -r Power_SummaryR -o total_power_ons=1 && quillet -c MB -r Power_SummaryR | grep total_power_ons
|     total_power_ons               : 1
$ cd $STORE && ls -A . images | cmp - $OLDPWD/listing && stat -c '%F %a %u %g' images/c1.img elsewhere.img && test ! -e victim
| symbolic link 777 0 0
| regular file 640 1234 5678
