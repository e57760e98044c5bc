# Ring records keep their newest entries: one update more than a ring holds
# drops the oldest (the control bytes say how many and which is newest).
$ fructl add MB zan
$ for e in power_on power_off still_on power_on power_off still_on power_on power_off still_on power_on power_off; do quillet -c MB -r POWER -o event=$e || exit; done; quillet -c MB -r POWER | head -1; fructl get MB POWER | cut -c9- | tr '\n' ' '; fructl control MB POWER
| Power_EventsR: 10 of 10 entries, oldest first
| 02 03 01 02 03 01 02 03 01 02 0a000a00
$ for i in 1 2 3 4 5 6 7 8 9 10 11; do quillet -c MB -r TEMPERATURE -o sensor=$i || exit; done; quillet -c MB -r TEMPERATURE | head -1; fructl get MB TEMPERATURE | cut -c9-10 | tr '\n' ' '; fructl control MB TEMPERATURE
| Temperature_HistoryR: 10 of 10 entries, oldest first
| 02 03 04 05 06 07 08 09 0a 0b 0a000a00
$ for i in 1 2 3 4 5 6 7 8 9 10 11; do quillet -c MB -r Segment_HistoryR -o segname=$i || exit; done; quillet -c MB -r Segment_HistoryR | head -1; fructl get MB Segment_HistoryR | cut -c11- | tr '\n' ' '; fructl control MB Segment_HistoryR
| Segment_HistoryR: 10 of 10 entries, oldest first
| 3200 3300 3400 3500 3600 3700 3800 3900 3130 3131 0a000a00
$ for i in 1 2 3 4 5 6; do quillet -c MB -r INSTALL -o system_tz=$i || exit; done; quillet -c MB -r INSTALL | head -1; fructl get MB Installation1R | cut -c449-452 | tr '\n' ' '; fructl control MB Installation1R
| Installation1R: 5 of 5 entries, oldest first
| 0002 0003 0004 0005 0006 05000500
# Named as Status_EventsR, a new entry's old status is the newest entry's new
# status (platform-rings.t shows it after the ring wrapped); named FAULT, it
# is 0 unless given.
$ quillet -c MB -r FAULT -o new_status=1 && quillet -c MB -r status_eventsr -o new_status=2 && quillet -c MB -r FAULT -o old_status=7,new_status=3 && fructl get MB FAULT | tail -3 | cut -c9-12 | tr '\n' ' '
| 0001 0102 0703  (no eol)
