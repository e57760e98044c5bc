# A full power event ring, for the ring append that follows.
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ quillet -c MB -r POWER -o event=power_on
$ quillet -c MB -r POWER -o event=power_off
$ fructl control MB POWER
| 0a090a00
