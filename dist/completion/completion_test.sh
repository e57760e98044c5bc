#!/usr/bin/env bash
# What the completion offers, against a demo store made by the built fructl:
#   completion_test.sh QUILLET_COMPLETION FRUCTL_COMPLETION FRUCTL STORE
# fructl is run through $QUILLET_EMULATOR when a cross build sets it.
set -euo pipefail
quillet_completion=$1 fructl_completion=$2 fructl=$3 store=$4
rm -rf "$store"
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
printf '#!/bin/sh\nexec %s "%s" "$@"\n' "${QUILLET_EMULATOR:-}" "$fructl" >"$bin/fructl"
chmod +x "$bin/fructl"
export PATH="$bin:$PATH" QUILLET_FRU_STORE=$store
fructl demo >/dev/null
source "$quillet_completion"
source "$fructl_completion"
# The completion functions run as bash runs them, without errexit.
set +e

offers() {
  COMP_WORDS=("${@:1:$#-1}") COMP_CWORD=$(($# - 2)) COMPREPLY=()
  local f
  f=$(complete -p "$1" | sed 's/.*-F \([^ ]*\).*/\1/')
  "$f"
  local got="${COMPREPLY[*]}" want=${!#}
  if [ "$got" != "$want" ]; then
    printf 'completing "%s"\n  got:  %s\n  want: %s\n' "${COMP_WORDS[*]}" "$got" "$want"
    failed=1
  fi
}
failed=0
offers quillet -c "" "MB PS0 MB/P0/D0 MB/P0"
offers quillet -c MB/P "MB/P0/D0 MB/P0"
offers quillet -r Power_S "Power_SummaryR"
offers quillet -r spd "SPD_DDR3_R SPD_FBDIMM_R SPD1_R"
offers quillet -o total_power_o "total_power_ons= total_power_offs="
offers quillet -o sensor=1,high "sensor=1,highest="
offers quillet -o sensor=1 ""
offers quillet -r pirom "PIROM PIROM_DataR"
offers quillet -r IDENT "IDENTITY"
# -r offers the classes of the container's type, -o the elements of the
# record -r names there; without a known container, all of them.
offers quillet -c PS0 -r "" "Chassis_Info_Area_S Product_Info_Area_S Board_Info_Area_S IDENTITY"
offers quillet -c MB/P0/D0 -r p "POWER Power_On_DataR"
offers quillet -c MB -r p "POWER Power_EventsR Power_SummaryR PwrMgmtR PwrMgmt_RFR Partner_LabelR Partner_Part_NumberR"
offers quillet -c MB -r Power_SummaryR -o "" "total_time_on= total_power_ons= total_power_offs="
offers quillet -c MB -r power_summaryr -o total_time_on=5,total_power_o "total_time_on=5,total_power_ons= total_time_on=5,total_power_offs="
offers quillet -c MB/P0/D0 -r POWER -o "" "power_on_minutes="
offers quillet -c NOPE -r PIRO "PIROM PIROM_DataR"
offers fructl "" "$(fructl --help | sed -n '/^commands:/,/^'"'"'/s/^  \([a-z]*\).*/\1/p' | tr '\n' ' ')--store --help --version"
offers fructl get MB Power_S "Power_SummaryR"
offers fructl control MB/P0/D0 "" "Power_On_DataR Fault_Install_DataR SPD_DDR3_R SPD_FBDIMM_R SPD1_R"
offers fructl doctor MB PS "PS0"
offers fructl registry Vendor "Vendor_Name"
offers fructl claim MB/P0/D0 "" "--backup"
offers fructl convert MB --b "--backup"
offers fructl add X "" "zan ipmi dimm pirom"
offers fructl show -- "--all --file"
offers fructl show --file x.fru "" "zan ipmi dimm pirom"
offers fructl segments M "MB MB/P0/D0 MB/P0"
offers fructl --store "$store" get P "PS0"
exit $failed
