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
$ quillet -c SODIMM -r POWER
!
!  Error: Checksum of the FRU header or area does not hold
[75]
