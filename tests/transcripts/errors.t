# Refused updates change no byte of the container.
$ fructl add MB zan && quillet -c MB -r ManR -o zan_part_no=5017540 && quillet -c MB -r Power_SummaryR -o total_power_ons=1 && fructl image MB before
$ quillet -c MB -r ManR -o zan_part_no=1,bogus=2 >/dev/null
!
!  Error: bogus=2 is not supported
!
! Error: Please provide string of name value pairs separated by commas.
[23]
$ quillet -c MB -r TLI -o product_part_no=ppppppppppppppppppppp >/dev/null
!
!  Error: Please supply less than or equal to 20 chars for top_level_pdt_dash_num
!
! Error: Please provide string of name value pairs separated by commas.
[9]
$ fructl image MB after && cmp before after && fructl corrupt MB PE && fructl image MB damaged
$ quillet -c MB -r Power_SummaryR -o total_power_ons=2
!
!   Unable to read Power_SummaryR record 68
[68]
$ fructl image MB after && cmp damaged after
# Exit statuses and messages of containers that cannot take a request.
$ fructl add X zan --type unknown && fructl add Y zan --type 4 && fructl add TINY zan --capacity 512
$ quillet -c NOPE -r ManR
! fru store: no container NOPE in /.*/store/inventory; 'fructl list' lists the store, 'fructl add' adds a container (re)
!
!  Could not get node handle: NOPE
[62]
$ quillet -c MB -r IDENTITY | head -1
| ManR
$ quillet -c MB -r IDENTITY -d
!
!  Error: IDENTITY names several records; change or delete one record by its name
[71]
$ quillet -c X -r ManR
!
!  Could not determine container type: 4
[1]
$ quillet -c Y -r TLI -o hostid=1
$ quillet -c TINY -r ManR -o zan_part_no=1 && quillet -c TINY -r Zan_Man1R -o fru_description=x
!
!  Error: Container has no room for the data
[69]
# The largest capacity is taken, one byte more is not.
$ fructl add BIG zan --capacity 1048576 && fructl list | grep BIG && fructl add HUGE zan --capacity 1048577
| BIG 0 zan 1048576 images/c5.img
! fructl: bad option --capacity 1048577
[2]
# A part too full for a second copy of a segment (written in place, so the
# new copy goes beside the old) packs its segments from its data start, and
# every record still reads back.
$ head -c 1024 /dev/zero | tr '\0' '\377' >full.eeprom && fructl add FULL zan --device "$PWD/full.eeprom" && for i in 1 2 3; do quillet -c FULL -r ManR -o zan_part_no=$i && quillet -c FULL -r Zan_Man1R -o zan_part_no=$i && quillet -c FULL -r CUSTOMER -t "text $i" && quillet -c FULL -r Power_SummaryR -o total_power_ons=$i || exit; done; fructl segments FULL; quillet -c FULL -r IDENTITY | grep part_no; quillet -c FULL -r CUSTOMER | tail -1; quillet -c FULL -r Power_SummaryR | grep ons
| MN 2 390 ok
| CU 1 92 ok
| PE 1 24 ok
|     zan_part_no                   : 3
|     zan_part_no                   : 3
|     cust_data                     : text 3
|     total_power_ons               : 3
