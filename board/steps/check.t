# After a write (cut or not): every record of MB, the container's segment
# table, and then the next update.
$ fructl segments MB
$ quillet -c MB -r CUSTOMER
$ quillet -c MB -r POWER
$ quillet -c MB -r Power_SummaryR
$ quillet -c MB -s segname=O3,section=STATIC
$ quillet -d -c MB
$ quillet -c MB -r Power_SummaryR -o total_power_ons=1,total_power_offs=2,total_time_on=3
$ quillet -c MB -r Power_SummaryR
