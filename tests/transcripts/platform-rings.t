# Rings wrap around: of twelve status events the last ten are kept and shown
# oldest first, and the control bytes say so (capacity, newest slot, count).
$ fructl add MB zan && for i in $(seq 12); do quillet -c MB -r Status_EventsR -o new_status=$i || exit; done
$ fructl control MB Status_EventsR
| 0a010a00
$ quillet -c MB -r FAULT | grep -e entries -e new_status
| Status_EventsR: 10 of 10 entries, oldest first
|     new_status                    : 3
|     new_status                    : 4
|     new_status                    : 5
|     new_status                    : 6
|     new_status                    : 7
|     new_status                    : 8
|     new_status                    : 9
|     new_status                    : 10
|     new_status                    : 11
|     new_status                    : 12
$ for i in 1 2 3; do fructl put MB InstallationR $(printf %0438d $i) || exit; done && fructl control MB InstallationR
| 05020300
$ quillet -c MB -r InstallationR | grep entries
| InstallationR: 3 of 5 entries, oldest first
$ fructl get MB InstallationR | cut -c 435-438
| 0001
| 0002
| 0003
