# Rings wrap around: of twelve status events the last ten are kept and shown
# oldest first, and the control bytes say so (capacity, newest slot, count);
# each event's old status is its predecessor's new one, found through them.
$ fructl add MB zan && for i in $(seq 12); do quillet -c MB -r Status_EventsR -o new_status=$i || exit; done
$ fructl control MB Status_EventsR
| 0a010a00
$ quillet -c MB -r FAULT | awk '/entries/ {print} /_status/ {printf "%s%s", $3, /old/ ? " -> " : "\n"}'
| Status_EventsR: 10 of 10 entries, oldest first
| 2 -> 3
| 3 -> 4
| 4 -> 5
| 5 -> 6
| 6 -> 7
| 7 -> 8
| 8 -> 9
| 9 -> 10
| 10 -> 11
| 11 -> 12
$ for i in 1 2 3; do fructl put MB InstallationR $(printf %0438d $i) || exit; done && fructl control MB InstallationR
| 05020300
$ quillet -c MB -r InstallationR | grep entries
| InstallationR: 3 of 5 entries, oldest first
$ fructl get MB InstallationR | cut -c 435-438
| 0001
| 0002
| 0003
