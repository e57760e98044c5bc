# A format 1 image on a device is read as it is, but no write converts it
# on the fly: converting rewrites the device from its first byte, which a
# power cut can leave empty, so only `fructl convert` does it, on the
# operator's word, keeping the old image with --backup.
$ head -c 8192 /dev/zero | tr '\0' '\377' >eeprom && dd if="$DATA/zan-format1.bin" of=eeprom conv=notrunc status=none && fructl add F1 zan --device "$PWD/eeprom" && quillet -c F1 -r Power_SummaryR | tail -1
|     total_power_offs              : 219025168
$ quillet -c F1 -r CUSTOMER -t "Rack 9"
!
!  Error: Container holds a format 1 image; convert it with fructl convert before changing it
[106]
$ quillet -c F1 -r Power_SummaryR -d
!
!  Error: Container holds a format 1 image; convert it with fructl convert before changing it
[106]
$ head -c 164 eeprom | cmp - "$DATA/zan-format1.bin"
$ fructl convert F1 --backup old.img
| F1: converted to format 2; the old image is in old.img
! fructl: warning: converting F1 in place is not cut-safe: a power cut before it ends can leave the container empty, every record lost
$ cmp old.img "$DATA/zan-format1.bin" && quillet -c F1 -r Power_SummaryR | tail -1 && quillet -c F1 -r CUSTOMER -t "Rack 9" && quillet -c F1 -r CUSTOMER | tail -1
|     total_power_offs              : 219025168
|     cust_data                     : Rack 9
$ fructl convert F1
! fructl: F1: Container image is not in format 1; there is nothing to convert
[1]
$ fructl convert F1 --backup
! usage: fructl [--store DIR] convert NAC [--backup FILE]
[1]
