# Every boot registers the board's EEPROMs as docs/devices.md tells an
# integrator: the store lives in RAM here, so it starts empty each time.
$ fructl init
$ fructl add MB zan --device /sys/bus/i2c/devices/0-0050/eeprom
$ fructl add D0 dimm --device /sys/bus/i2c/devices/0-0051/eeprom --page 16
$ fructl add D1 dimm --device /sys/bus/i2c/devices/0-0052/eeprom --page 16
$ fructl add PS0 ipmi --device /sys/bus/i2c/devices/0-0053/eeprom --page 16
$ fructl list
| MB 0 zan 8192 /sys/bus/i2c/devices/0-0050/eeprom device
| D0 2 dimm 256 /sys/bus/i2c/devices/0-0051/eeprom device
| D1 2 dimm 512 /sys/bus/i2c/devices/0-0052/eeprom device
| PS0 1 ipmi 2048 /sys/bus/i2c/devices/0-0053/eeprom device
