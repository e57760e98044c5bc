# A small update of a record the part holds.
$ quillet -c MB -r CUSTOMER -t 'Rack 5'
