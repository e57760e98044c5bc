# An append to the full ring: the oldest entry goes.
$ quillet -c MB -r POWER -o event=still_on
