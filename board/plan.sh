# What the board test does, sourced by scripts/board-test.sh: boots with
# their steps, then the power cuts. Each cut starts from the state the
# boots before it left.

# The DDR4 module, bound writable: POWER and FAULT go to its end-user area
# (bytes 384-511), and not one byte of its SPD before it may change.
ddr4_steps() {
  cp "$ee/d1.bin" "$run/d1.before"
  boot_steps ddr4 ddr4
  if cmp -s -n 384 "$run/d1.before" "$ee/d1.bin" && ! cmp -s "$run/d1.before" "$ee/d1.bin"; then
    echo "[board] ddr4: SPD bytes 0-383 unchanged, end-user area written"
  else
    echo "[board] ddr4: SPD bytes changed, or the end-user area was not written"
    failures=$((failures + 1))
  fi
}

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
