# What the board test does, sourced by scripts/board-test.sh: boots with
# their steps, then the power cuts. Each cut starts from the state the
# boots before it left.

# TODO(ddr4): the DDR4 module (D1, bound read only) gets no steps yet; once
# the DIMM family knows DDR4, its SPD read and customer-area steps (bound
# writable, POWER and FAULT in bytes 384-511) go here, as for D0 in first.t.
ddr4_steps() { :; }

snapshot blank
boot_steps first first
boot_steps persist persist
boot_steps ops ops
ddr4_steps

boot_steps ringfill ringfill
cut update update check
cut ring ring check
cut flash flash check
# The first write to blank media. Should a change make its cuts unsafe
# again, `--expect-fail WHY` marks a known failure while it is being fixed.
restore blank
cut blank blank check
