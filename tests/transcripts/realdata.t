# Images from real hardware, as published (tests/data/README.md says where):
# quillet reads what FreeIPMI's ipmi-fru and i2c-tools' decode-dimms read.
$ fructl add AMC ipmi --from "$DATA/damc-fmc2zup.bin" && fructl add FMC ipmi --from "$DATA/uLOG_FRU.bin" && fructl add SODIMM dimm --from "$DATA/ddr3-sodimm-samsung-M471B2873FHS-CF8.bin"
$ quillet -c AMC -r IDENTITY
| Board_Info_Area_S
|     format_version                : 1
|     language                      : 0 (English)
|     mfg_date_time                 : unspecified
|     manufacturer                  : DESY/CAEN ELS
|     product_name                  : DAMC-FMC2ZUP-11EG
|     serial_number                 : 21Y01W0000
|     part_number                   : DAMCFMC2ZUP1
|     fru_file_id                   : fru_damc-fmc2zup.bin
$ quillet -c AMC -r Product_Info_Area_S
| Product_Info_Area_S
|     format_version                : 1
|     language                      : 0 (English)
|     manufacturer                  : DESY/CAEN ELS
|     product_name                  : DAMC-FMC2ZUP-11EG
|     part_model_number             : DAMCFMC2ZUP1
|     version                       : revB
|     serial_number                 : 21Y01W0000
|     asset_tag                     : none
|     fru_file_id                   : fru_damc-fmc2zup.bin
$ quillet -c AMC -r Chassis_Info_Area_S
!
!  Error: Record or area not present in the container
[14]
$ quillet -c FMC -r Board_Info_Area_S
| Board_Info_Area_S
|     format_version                : 1
|     language                      : 25 (English)
|     mfg_date_time                 : unspecified
|     manufacturer                  : DESY/DMCS
|     product_name                  : DRTM-LOG1300
|     serial_number                 :
|     part_number                   : 1.0
|     fru_file_id                   : 2019-01-10
$ quillet -c FMC -r Product_Info_Area_S
| Product_Info_Area_S
|     format_version                : 1
|     language                      : 25 (English)
|     manufacturer                  : DESY/DMCS
|     product_name                  : DRTM-LOG1300
|     part_model_number             : 1.0
|     version                       : rev. D
|     serial_number                 :
|     asset_tag                     : --
|     fru_file_id                   : 2019-01-10
$ quillet -c SODIMM -r SPD_DDR3_R
| SPD_DDR3_R
|     memory_type                   : DDR3 SDRAM
|     spd_revision                  : 1.0
|     module_type                   : SO-DIMM
|     capacity                      : 1024 MB
|     ranks                         : 1
|     device_width                  : 8 bits
|     data_width                    : 64 bits
|     ecc                           : no
|     cycle_time                    : 1.875 ns
|     max_speed                     : 1066 MT/s (PC3-8500)
|     timings                       : 7-7-7-20
|     nominal_voltage               : 1.5 V
|     module_manufacturer           : Samsung (bank 1, 0xCE)
|     dram_manufacturer             : Samsung (bank 1, 0xCE)
|     manufacturing_location        : 0x02
|     manufacturing_date            : 2010-W31
|     serial_number                 : 0x811D77CE
|     part_number                   : M471B2873FHS-CF8
|     crc                           : OK (0xA491 over bytes 0-116)
# Its maker left bytes in the customer area: they are not this platform's
# records, and stay as they are (tests/transcripts/dimm-claim.t).
$ quillet -c SODIMM -r POWER
!
!  Error: Customer area holds data this platform did not write (see fructl claim)
[112]
$ fructl add DDR4 dimm --from "$DATA/ddr4-rdimm-samsung-M393A1G40EB1-CPB.bin" && fructl add DDR5 dimm --from "$DATA/ddr5-udimm-teamgroup-ud5-6000.bin"
$ quillet -c DDR4 -r SPD1_R
| SPD1_R
|     memory_type                   : DDR4 SDRAM
|     spd_revision                  : 1.1
|     module_type                   : RDIMM
|     capacity                      : 8192 MB
|     ranks                         : 1
|     device_width                  : 4 bits
|     data_width                    : 64 bits
|     ecc                           : yes (8-bit extension)
|     cycle_time                    : 0.938 ns
|     max_speed                     : 2133 MT/s (PC4-17000)
|     timings                       : 15-15-15-36
|     nominal_voltage               : 1.2 V
|     module_manufacturer           : Samsung (bank 1, 0xCE)
|     dram_manufacturer             : Samsung (bank 1, 0xCE)
|     manufacturing_location        : 0x02
|     manufacturing_date            : 2017-W10
|     serial_number                 : 0x3520C50E
|     part_number                   : M393A1G40EB1-CPB
|     crc                           : OK (0xF4FD over bytes 0-125)
|     crc_module_specific           : OK (0x72F5 over bytes 128-253)
$ quillet -c DDR5 -r SPD1_R
| SPD1_R
|     memory_type                   : DDR5 SDRAM
|     spd_revision                  : 1.0
|     module_type                   : UDIMM
|     capacity                      : 16384 MB
|     ranks                         : 1
|     device_width                  : 8 bits
|     data_width                    : 64 bits
|     ecc                           : no
|     cycle_time                    : 0.416 ns
|     max_speed                     : 4800 MT/s (PC5-38400)
|     timings                       : 40-40-40-77
|     nominal_voltage               : 1.1 V
|     module_manufacturer           : Team Group Inc. (bank 5, 0xEF)
|     dram_manufacturer             : SK Hynix (former Hyundai Electronics) (bank 1, 0xAD)
|     manufacturing_location        : 0x00
|     manufacturing_date            : 2023-W37
|     serial_number                 : 0x0104EEFF
|     part_number                   : UD5-6000
|     crc                           : OK (0x8021 over bytes 0-509)
$ quillet -c DDR5 -r SPD_DDR3_R
!
!  Error: Record or area not present in the container
[14]
