# The first write to the factory-blank part formats it.
$ quillet -c MB -r CUSTOMER -t 'Rack 1'
