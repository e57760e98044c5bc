# fructl show: every record a container holds, decoded, as text or JSON.
$ fructl demo
# The text is what a read of each record prints, under one line per container.
$ fructl show MB/P0/D0
| == container MB/P0/D0 (dimm)
| SPD_DDR3_R
|     memory_type                   : DDR3 SDRAM
|     spd_revision                  : 1.0
|     module_type                   : RDIMM
|     capacity                      : 4096 MB
|     ranks                         : 2
|     device_width                  : 8 bits
|     data_width                    : 64 bits
|     ecc                           : yes (8-bit extension)
|     cycle_time                    : 1.500 ns
|     max_speed                     : 1333 MT/s (PC3-10600)
|     timings                       : 9-9-9-24
|     nominal_voltage               : 1.5 V
|     module_manufacturer           : Samsung (bank 1, 0xCE)
|     dram_manufacturer             : Samsung (bank 1, 0xCE)
|     manufacturing_location        : 0x01
|     manufacturing_date            : 2012-W34
|     serial_number                 : 0x12345678
|     part_number                   : M393B5170FH0-CH9
|     crc                           : OK (0x5D22 over bytes 0-116)
| Power_On_DataR
|     timestamp                     : 2024-04-10 09:30:00 UTC
|     power_on_minutes              : 600
$ fructl show --all | grep -v '^  '
| == container MB (zan)
| Power_SummaryR
| Status_EventsR: 3 of 10 entries, oldest first
| Customer_DataR
| ManR
| Zan_Man1R
| Configured_LevelR
| InstallationR: 1 of 5 entries, oldest first
| Top_Level_IdentifierR
|
| == container PS0 (ipmi)
| Chassis_Info_Area_S
| Board_Info_Area_S
| Product_Info_Area_S
| MultiRecord_Area_S
|
| == container MB/P0/D0 (dimm)
| SPD_DDR3_R
| Power_On_DataR
|
| == container MB/P0 (pirom)
| PIROM_DataR: 128 bytes, offset: bytes |ASCII|
# JSON: numbers as numbers with their unit, raw bytes as hex, codes with
# their registry names.
$ fructl show MB/P0/D0 --json
| {"format":"quillet-show","version":1,"containers":[
| {"nac":"MB/P0/D0","family":"dimm","records":[
| {"name":"SPD_DDR3_R","ring_capacity":0,"status":0,"error":null,"entries":[{"entry":1,"fields":[{"name":"memory_type","kind":"text","text":"DDR3 SDRAM"},{"name":"spd_revision","kind":"text","text":"1.0"},{"name":"module_type","kind":"text","text":"RDIMM"},{"name":"capacity","kind":"number","text":"4096 MB","value":4096,"unit":"MB"},{"name":"ranks","kind":"number","text":"2","value":2,"unit":""},{"name":"device_width","kind":"number","text":"8 bits","value":8,"unit":"bits"},{"name":"data_width","kind":"number","text":"64 bits","value":64,"unit":"bits"},{"name":"ecc","kind":"text","text":"yes (8-bit extension)"},{"name":"cycle_time","kind":"number","text":"1.500 ns","value":1500,"unit":"ps"},{"name":"max_speed","kind":"number","text":"1333 MT/s (PC3-10600)","value":1333,"unit":"MT/s"},{"name":"timings","kind":"text","text":"9-9-9-24"},{"name":"nominal_voltage","kind":"number","text":"1.5 V","value":1500,"unit":"mV"},{"name":"module_manufacturer","kind":"text","text":"Samsung (bank 1, 0xCE)"},{"name":"dram_manufacturer","kind":"text","text":"Samsung (bank 1, 0xCE)"},{"name":"manufacturing_location","kind":"text","text":"0x01"},{"name":"manufacturing_date","kind":"text","text":"2012-W34"},{"name":"serial_number","kind":"bytes","text":"0x12345678","hex":"12345678"},{"name":"part_number","kind":"text","text":"M393B5170FH0-CH9"},{"name":"crc","kind":"text","text":"OK (0x5D22 over bytes 0-116)"}]}]},
| {"name":"Power_On_DataR","ring_capacity":0,"status":0,"error":null,"entries":[{"entry":1,"fields":[{"name":"timestamp","kind":"timestamp","text":"2024-04-10 09:30:00 UTC","value":1712741400,"unit":"s"},{"name":"power_on_minutes","kind":"number","text":"600","value":600,"unit":""}]}]}],"status":0,"error":null}
| ]}
# An image file decodes without a store, and nothing is written to it.
$ fructl image PS0 ps0.fru && cp ps0.fru before && fructl show --file ps0.fru ipmi --json | head -12 && cmp before ps0.fru
| {"format":"quillet-show","version":1,"containers":[
| {"file":"ps0.fru","family":"ipmi","records":[
| {"name":"Chassis_Info_Area_S","ring_capacity":0,"status":0,"error":null,"entries":[{"entry":1,"fields":[{"name":"format_version","kind":"text","text":"1"},{"name":"chassis_type","kind":"text","text":"Rack Mount Chassis (0x17)"},{"name":"part_number","kind":"text","text":"CH-602-3917"},{"name":"serial_number","kind":"text","text":"CH0912FMX"}]}]},
| {"name":"Board_Info_Area_S","ring_capacity":0,"status":0,"error":null,"entries":[{"entry":1,"fields":[{"name":"format_version","kind":"text","text":"1"},{"name":"language","kind":"text","text":"0 (English)"},{"name":"mfg_date_time","kind":"text","text":"2024-02-01 08:00:00 UTC"},{"name":"manufacturer","kind":"text","text":"Delta Electronics"},{"name":"product_name","kind":"text","text":"PSU 1200W AC"},{"name":"serial_number","kind":"text","text":"DL1200A09120345"},{"name":"part_number","kind":"text","text":"300-2264-01"},{"name":"fru_file_id","kind":"text","text":""}]}]},
| {"name":"Product_Info_Area_S","ring_capacity":0,"status":0,"error":null,"entries":[{"entry":1,"fields":[{"name":"format_version","kind":"text","text":"1"},{"name":"language","kind":"text","text":"0 (English)"},{"name":"manufacturer","kind":"text","text":"Delta Electronics"},{"name":"product_name","kind":"text","text":"A236 1200W PSU"},{"name":"part_model_number","kind":"text","text":"300-2264-01"},{"name":"version","kind":"text","text":"04"},{"name":"serial_number","kind":"text","text":"DL1200A09120345"},{"name":"asset_tag","kind":"text","text":""},{"name":"fru_file_id","kind":"text","text":""}]}]},
| {"name":"MultiRecord_Area_S","ring_capacity":0,"status":0,"error":null,"entries":[{"entry":1,"title":"power supply information (0x00)","fields":[{"name":"overall_capacity","kind":"number","text":"1200 W","value":1200,"unit":"W"},{"name":"peak_va","kind":"number","text":"1500 VA","value":1500,"unit":"VA"},{"name":"inrush_current","kind":"number","text":"40 A","value":40,"unit":"A"},{"name":"inrush_interval","kind":"number","text":"10 ms","value":10,"unit":"ms"},{"name":"low_input_voltage_1","kind":"number","text":"90000 mV","value":90000,"unit":"mV"},{"name":"high_input_voltage_1","kind":"number","text":"140000 mV","value":140000,"unit":"mV"},{"name":"low_input_voltage_2","kind":"number","text":"180000 mV","value":180000,"unit":"mV"},{"name":"high_input_voltage_2","kind":"number","text":"264000 mV","value":264000,"unit":"mV"},{"name":"low_input_frequency","kind":"number","text":"47 Hz","value":47,"unit":"Hz"},{"name":"high_input_frequency","kind":"number","text":"63 Hz","value":63,"unit":"Hz"},{"name":"ac_dropout_tolerance","kind":"number","text":"20 ms","value":20,"unit":"ms"},{"name":"predictive_fail_support","kind":"number","text":"yes","value":1,"unit":""},{"name":"predictive_fail_signal","kind":"text","text":"pass/fail pin, high on fail"},{"name":"power_factor_correction","kind":"number","text":"yes","value":1,"unit":""},{"name":"autoswitch","kind":"number","text":"yes","value":1,"unit":""},{"name":"hot_swap","kind":"number","text":"yes","value":1,"unit":""},{"name":"peak_capacity","kind":"number","text":"1300 W","value":1300,"unit":"W"},{"name":"hold_up_time","kind":"number","text":"1 s","value":1,"unit":"s"},{"name":"voltage_1","kind":"number","text":"12 V (0)","value":0,"unit":""},{"name":"voltage_2","kind":"number","text":"12 V (0)","value":0,"unit":""},{"name":"combined_wattage","kind":"number","text":"1200 W","value":1200,"unit":"W"},{"name":"predictive_fail_tach_threshold","kind":"number","text":"0 RPS","value":0,"unit":"RPS"}]},{"entry":2,"title":"DC output (0x01)","fields":[{"name":"output_number","kind":"number","text":"1","value":1,"unit":""},{"name":"standby","kind":"number","text":"no","value":0,"unit":""},{"name":"nominal_voltage","kind":"number","text":"12000 mV","value":12000,"unit":"mV"},{"name":"max_negative_deviation","kind":"number","text":"600 mV","value":600,"unit":"mV"},{"name":"max_positive_deviation","kind":"number","text":"600 mV","value":600,"unit":"mV"},{"name":"ripple_and_noise","kind":"number","text":"120 mV","value":120,"unit":"mV"},{"name":"min_current_draw","kind":"number","text":"500 mA","value":500,"unit":"mA"},{"name":"max_current_draw","kind":"number","text":"40000 mA","value":40000,"unit":"mA"}]},{"entry":3,"title":"DC output (0x01)","fields":[{"name":"output_number","kind":"number","text":"2","value":2,"unit":""},{"name":"standby","kind":"number","text":"yes","value":1,"unit":""},{"name":"nominal_voltage","kind":"number","text":"12000 mV","value":12000,"unit":"mV"},{"name":"max_negative_deviation","kind":"number","text":"600 mV","value":600,"unit":"mV"},{"name":"max_positive_deviation","kind":"number","text":"600 mV","value":600,"unit":"mV"},{"name":"ripple_and_noise","kind":"number","text":"120 mV","value":120,"unit":"mV"},{"name":"min_current_draw","kind":"number","text":"0 mA","value":0,"unit":"mA"},{"name":"max_current_draw","kind":"number","text":"3000 mA","value":3000,"unit":"mA"}]}]}],"status":0,"error":null}
| ]}
$ fructl image MB mb.zan && fructl show --file mb.zan zan | head -3
| == file mb.zan (zan)
| Power_SummaryR
|     timestamp                     : 2024-09-27 09:30:00 UTC
# What cannot be read is shown as its status: a record in a damaged
# segment, a container whose image is gone.
$ fructl corrupt MB MN && fructl show MB | grep unreadable
| ManR: unreadable: Segment holding the record fails its CRC (68)
| Zan_ManR: unreadable: Segment holding the record fails its CRC (68)
| Zan_Man1R: unreadable: Segment holding the record fails its CRC (68)
| Zan_Part_Number_DataR: unreadable: Segment holding the record fails its CRC (68)
$ fructl show MB --json | grep -A3 '"name":"ManR"'
| {"name":"ManR","ring_capacity":0,"status":68,"error":"Segment holding the record fails its CRC","entries":[]},
| {"name":"Zan_ManR","ring_capacity":0,"status":68,"error":"Segment holding the record fails its CRC","entries":[]},
| {"name":"Zan_Man1R","ring_capacity":0,"status":68,"error":"Segment holding the record fails its CRC","entries":[]},
| {"name":"Zan_Part_Number_DataR","ring_capacity":0,"status":68,"error":"Segment holding the record fails its CRC","entries":[]},
$ fructl add GONE pirom && rm "$QUILLET_FRU_STORE/$(fructl list | awk '$1 == "GONE" {print $5}')" && fructl show GONE
| == container GONE (pirom)
| GONE: unreadable: Container image could not be read or written (66)
! fru platform: open .*/images/c5.img: No such file or directory (re)
[1]
$ fructl show GONE --json
| {"format":"quillet-show","version":1,"containers":[
| {"nac":"GONE","family":"pirom","records":[],"status":66,"error":"Container image could not be read or written"}
| ]}
! fru platform: open .*/images/c5.img: No such file or directory (re)
[1]
# Requests it cannot serve.
$ fructl show NOPE
! fructl: no container NOPE in the store
[1]
$ fructl show --file ps0.fru spd
! fructl: family must be zan, ipmi, dimm or pirom
[2]
$ fructl show --file missing.fru zan
| == file missing.fru (zan)
| missing.fru: unreadable: Container image could not be read or written (66)
[1]
$ fructl show MB PS0
! usage: fructl [--store DIR] show NAC|--all|--file PATH FAMILY [--json]
[2]
