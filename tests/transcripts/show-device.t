# fructl show reads a device as quillet reads it. A first format cut short
# on blank media (a header that does not hold, erased bytes past its page)
# is an empty container there, shown as a blank device is; the same bytes
# as an image file, where no page tells, are damage.
$ head -c 8192 /dev/zero | tr '\0' '\377' >formatted && fructl add FM zan --device "$PWD/formatted" --page 64 && quillet -c FM -r Power_SummaryR -o total_power_ons=1 && head -c 20 formatted >cut
$ head -c 8192 /dev/zero | tr '\0' '\377' >eeprom && fructl add EE zan --device "$PWD/eeprom" --page 64 && fructl show EE && fructl show EE --json
| == container EE (zan)
| {"format":"quillet-show","version":1,"containers":[
| {"nac":"EE","family":"zan","records":[],"status":0,"error":null}
| ]}
$ for blank in '\377' '\0'; do head -c 8192 /dev/zero | tr '\0' "$blank" >eeprom && dd if=cut of=eeprom conv=notrunc status=none; fructl show EE; fructl show EE --json; quillet -c EE -r Power_SummaryR; echo "exit $?"; done
| == container EE (zan)
| {"format":"quillet-show","version":1,"containers":[
| {"nac":"EE","family":"zan","records":[],"status":0,"error":null}
| ]}
| exit 14
| == container EE (zan)
| {"format":"quillet-show","version":1,"containers":[
| {"nac":"EE","family":"zan","records":[],"status":0,"error":null}
| ]}
| exit 14
!
!  Error: Record or area not present in the container
!
!  Error: Record or area not present in the container
$ fructl show --file eeprom zan; fructl show --file eeprom zan --json
| == file eeprom (zan)
| eeprom: unreadable: Container image is damaged (bad header) (67)
| {"format":"quillet-show","version":1,"containers":[
| {"file":"eeprom","family":"zan","records":[],"status":67,"error":"Container image is damaged (bad header)"}
| ]}
[1]
