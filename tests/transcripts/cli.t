# The command line's own answers: version, help, and the refusals made
# before any record is touched (the store stays as it was).
$ fructl demo && fructl image MB before
$ quillet -V -c MB -r POWER
| Version: 3.0 2008/10/14
$ quillet -h
| Usage:  quillet [-V] | [ -i [image file name]| [-c container_nac_name]
|        [ -d | -r [record_class_name][ -o [elem1=val1,elem2=val2..]]
|        [ -r [record_class_name][ -t <text with strings> | -o [elem1=val1,elem2=val2..]]
|        -V: prints the Version information of the tool.
|        -h: prints the help message.
|        -i: [image filename] -c [container_nac_name]:
|          Flashes the entire image to the container
|        -c [container_nac_name] -r [record_class_name]:
|          Reads the record in container
|        -c [container_nac_name] -r [record_class_name]
|        -o [elem1=val1,elem2=val2..]: updates the record in container
|        -d -c [container_nac_name] -r [record_class_name]:
|          deletes the record in container
|        -d -c [container_nac_name]:
|          lists the segments/areas having bad CRC
|        -d -f -c [container_nac_name]:
|          will delete all segments having bad CRC w/o prompting
|        -c [container_nac_name] -s [segname=val1,section=[STATIC | DYNAMIC],
|                                    [filename|data]=val3]
|        -t <text strings with commas> : Used to put strings with commas in fru_description, cust_data.
|
|        [record_class_name] : where class names can be
|
|        POWER or Power_EventsR, Power_On_DataR
|                 Elements for Power_EventsR are :
|                  event = power_on, power_off, still_on
|                 Elements for Power_On_DataR are :
|                  power_on_minutes
|                 Elements for Power_SummaryR are :
|                  total_time_on, total_power_ons, total_power_offs
|        TEMPERATURE or Temperature_HistoryR
|                 Elements are : sensor, lowest, highest, latest,
|                  histogram 0.... 9
|        INSTALL or InstallationR
|                 Elements are : parent_part_no, parent_serial_no, parent_dash_no,
|                  fru_path, system_id,
|                  system_tz (Provide value as offset in minutes from UTC.),
|                  geo_location, geo_north, geo_east, geo_alt
|        Installation1R
|                 Elements are : parent_part_no, parent_serial_no, parent_dash_no,
|                  fru_path, system_id, system_tz, macaddr, hostid
|        IDENTITY or ManR, Zan_Man1R, Zan_ManR
|                 Elements for ManR are :
|                  zan_part_no, zan_serial_no, initial_hw_dash_level,
|                  initial_hw_rev_level, manufacture_loc, vendor_name,
|                  fru_shortname
|                  Fru description needs to be provided
|                  using -t option before -o option.
|                 Elements for Zan_Man1R are :
|                  zan_part_no, zan_serial_no, initial_hw_dash_level,
|                  initial_hw_rev_level, vendor_id_code, vendor_id_code_source,
|                  vendor_name_and_site_location, fru_description,
|                  fru_shortname, hazard_class_code, zan_specpartno,
|                  serial_number_format
|        CUSTOMER or Customer_DataR
|                 Elements are : cust_data which is provided using -t
|                  <string>.
|        CONFIG or Configured_LevelR, Config_LevelR
|                 Elements are : zan_part_no, configured_serial_no,
|                  initial_hw_dash_level
|        Partner_LabelR, Elements are partner_part_number,
|                  vendor_name(as per list in registry)
|        FAULT or Status_EventsR, Status_CurrentR,
|             Fault_Install_DataR
|                 Elements for Status_EventsR are :
|                  old_status, new_status, initiator, component,
|                  event_code, message
|                 Elements for Status_CurrentR are :
|                  status
|                 Elements for Fault_Install_DataR are :
|                  status, initiator, component, message_type,
|                  message_32_0, message_32_1, message_32_2, message_32_3
|                  (each of 8 bytes), macaddr (6 bytes)
|        MLR or MultiLevelR
|                 Elements for MultiLevelR are :
|                  mlr_part_dash_no, mlr_serial_no, mlr_description
|        TLI or Top_Level_IdentifierR
|                 Elements for Top_Level_IdentifierR are :
|                  product_part_no, product_serial_no, product_rev_level,
|                  hostid, macaddr
|        PIROM or PIROM_DataR
|                 PIROM container is read only.
|
|        Additional records to read/write for ZAN format:
|        1. HOSTID contains element hostid
|        2. EthernetMACAddrRangeR contains element ethernet_addr,
|            ethernet_addr_range.
|           EthernetMACAddr2R contains element ethernet_addr,
|            ethernet_addr_2.
|        3. Ethernet_Addr contains element ethernet_addr.
|        4. Sequence_Number contains element sequence_number.
|        5. New_Serial_No contains element new_serial_no.
|        6. WWN contains element wwn.
|        7. Enclosure_Nickname contains element enclosure_nickname.
|        8. Device_Type contains element device_type which can be
|            specified as hex value as "0x" or as a string.
|        9. Partner_LabelR contains element vendor_name in text
|            as per the list in the registry, partner_part_no.
|        10. Zan_FRU_LabelR contains element zan_serial_no,
|            fru_part_dash_no.
|        11. ECO_CurrentR contains element firmware_rev,
|            hardware_rev, initial_hw_dash_level.
|
|        12. Segment_HistoryR contains entry_type(Corruption Detected, 
|                         Dynamic Section Header Corrupted, Static Section
|                         Header Corrupted, Unuse, Creation) and segname 
|                         in which corruption detected.(2 char).
|        13. TAVO_Usage_Kvms_R contains enabled_duration, session_count, 
|                         session_duration in minutes. 
|        14. TAVO_Usage_Powerbudget_R contains activated_duration, softcap_count, 
|                         hardcap_duration in minutes. 
|        15. PwrMgmt_RFR contains version, cycleskipheaders(provided as a file of max 10 bytes), 
|                         filename that contains pwrmgmt_rf data[max of 80 bytes]. 
|        16. PwrMgmtR contains arrayname, ncycleskips, ncores, 
|                         maxpower. 
|        Additional records to read For DIMMs: SPD_FBDIMM_R,
|            SPD1_R, SPD_DDR3_R 
|        Additional records to read IPMI Format FRUs:
|            Board_Info_Area_S, Product_Info_Area_S or
|            Chassis_Info_Area_S.
|
|        Note: 1. All the input values should be in decimal or text.
|                 Except macaddr, hostid, 
|                 ethernet_addr. The input type must be Hex for
|                 these records.
|              2. Timestamps will be automatically updated.
|                 No need to provide timestamp values from CLI.
|              3. Text which has commas will be processed only
|                 till the beginning of the comma unless given -t.
|              4. Partial updates of non-iterative records are
|                 allowed.
|              5. Partial updates of the record will not work.
|                 Complete records with all elements need to be
|                 provided for iterative records.
|              6. segname for '-s' option must start with
|                 character 'O' followed by alpha-numeric character or "ES".
|
$ quillet >out; echo $?; quillet -h | cmp - out
| 255
$ quillet -x -c MB >out; echo $?; quillet -h | cmp - out
| 255
! quillet: invalid option -- 'x'
$ quillet -c >/dev/null
! quillet: option requires an argument -- 'c'
[255]
$ quillet -c MB -r POWER -o event=power_on -d
!
! Error: Please choose to use (-o or -t) to update or (-d) delete option.
[35]
$ quillet -d -o event=power_on -c MB
!
! Error: Please choose to use (-o or -t) to update or (-d) delete option.
[35]
$ quillet -t text -d
!
! Error: Please choose to use (-o or -t) to update or (-d) delete option.
[35]
$ quillet -d -t text
!
! Error: Please choose to use (-o or -t) to update or (-d) delete option.
[35]
$ quillet -o a=1 -d -V
!
! Error: Please choose to use (-o or -t) to update or (-d) delete option.
[35]
$ quillet -c MB -s segname=O1 -s segname=O2
!
! Error: Multiple '-s' option not allowed
[23]
$ quillet -r POWER
!
!  Error: Please supply nac name to be used.
[23]
$ quillet -i /tmp/image
!
!  Error: Please supply nac name to be used.
[23]
$ quillet -c MB
!
!  Error: Please supply record class name to be used.
[23]
$ quillet -f -c MB
!
!  Error: Please supply record class name to be used.
[23]
$ quillet -c MB -r IDENTITY -o zan_part_no=1
! Error: Please provide exact record name to be updated for IDENTITY class.
[18]
$ quillet -c MB -r POWER -d -i /nonexistent
! Image file /nonexistent doesn't exist
[255]
$ fructl image MB after && cmp before after
