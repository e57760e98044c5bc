#!/usr/bin/env bash
# Mutation testing: applies a fixed, seeded set of small faults (mutants) to the
# sources in src/ and platform/, one at a time, and runs the native tests
# against each. A mutant the tests fail on is killed; one they pass survives.
#
#   scripts/mutate.sh [--seed N] [--count N] [--jobs N] [--build DIR]
#                     [--list] [--only ID[,ID...]] [--report FILE]
#
#   --seed N     order of the mutants (default 14)
#   --count N    mutants that build to run (default 120)
#   --list       print the first COUNT mutants without building anything
#   --only IDS   run just these mutants (ids as --list prints them)
#   --build DIR  work directory (default build-mutate): a copy of the tree,
#                its build and the report (DIR/mutation-report.txt)
#   --jobs N     build jobs (default 2)
#
# The sources are mutated only in DIR's copy, never in the checkout.
# Sites are found by scripts/mutate_sites.py (python3) on the current tree.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
seed=14 count=120 jobs=2 build=$here/build-mutate list=0 only= report=
while [ $# -gt 0 ]; do
  case $1 in
    --seed) seed=$2; shift 2 ;;
    --count) count=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --build) build=$(mkdir -p "$2" && cd "$2" && pwd); shift 2 ;;
    --only) only=$2; shift 2 ;;
    --report) report=$2; shift 2 ;;
    --list) list=1; shift ;;
    -h|--help) sed -n '2,18s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "mutate.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done
report=${report:-$build/mutation-report.txt}
tree=$build/tree obj=$build/obj
mkdir -p "$build"
mutants=$build/mutants.tsv
python3 "$here/scripts/mutate_sites.py" "$here" "$seed" >"$mutants"

describe() {  # ID -> "ID file:line kind: before -> after"
  awk -F'\t' -v id="$1" '$1 == id {printf "%s %s:%s %s: %s -> %s\n", $1, $2, $3, $4, $5, $6}' "$mutants"
}
if [ "$list" = 1 ]; then
  awk -F'\t' -v n="$count" 'NR <= n {printf "%s %s:%s %s: %s -> %s\n", $1, $2, $3, $4, $5, $6}' "$mutants"
  exit 0
fi

# The copy takes every file of the checkout that differs from it, with a new
# time stamp, so that the build sees what a previous run may have left behind.
echo "== copying the tree to $tree"
(cd "$here" && git ls-files -co --exclude-standard) | while IFS= read -r f; do
  if [ -f "$here/$f" ] && ! cmp -s "$here/$f" "$tree/$f"; then
    mkdir -p "$(dirname "$tree/$f")"; cp "$here/$f" "$tree/$f"
  fi
done
current=
restore() { [ -z "$current" ] || cp "$here/$current" "$tree/$current"; current=; }
trap 'restore' EXIT
trap 'restore; exit 130' INT TERM

linker=
for ld in lld gold; do
  if echo 'int main(){}' | g++ -x c++ - -fuse-ld=$ld -o "$build/ld-check" 2>/dev/null; then linker=-fuse-ld=$ld; break; fi
done
echo "== configuring $obj (linker: ${linker:-default})"
generator=Ninja
command -v ninja >/dev/null || generator="Unix Makefiles"
cmake -S "$tree" -B "$obj" -G "$generator" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
  -DCMAKE_C_FLAGS_DEBUG=-O0 -DQUILLET_WERROR=OFF -DQUILLET_SANITIZE=OFF -DQUILLET_FUZZ=OFF \
  -DQUILLET_STATIC_RUNTIME=OFF -DCMAKE_EXE_LINKER_FLAGS="$linker" >"$build/configure.log"

build_tree() { cmake --build "$obj" -j"$jobs" >"$build/build.log" 2>&1; }
# Fast tests first: ctest runs the costliest first, so it gets the inverse of
# the unmutated run's times; tests that failed last time still go first.
run_tests() {
  mkdir -p "$obj/Testing/Temporary"
  [ ! -f "$build/cost-fast-first.txt" ] || cp "$build/cost-fast-first.txt" "$obj/Testing/Temporary/CTestCostData.txt"
  (cd "$obj" && ctest --stop-on-failure -j2 --timeout 60 >"$build/test.log" 2>&1)
}

echo "== building and testing the unmutated tree"
build_tree || { cat "$build/build.log"; echo "the unmutated tree does not build"; exit 1; }
run_tests || { tail -20 "$build/test.log"; echo "the unmutated tree fails its tests"; exit 1; }
# "  7/494 Test  #12: Name ....   Passed    0.05 sec": the cost is 1 / time.
awk '$2 == "Test" && $(NF-2) == "Passed" {printf "%s 1 %.6f\n", $4, 1 / ($(NF-1) + 0.001)}' \
  "$build/test.log" >"$build/cost-fast-first.txt"

if [ -n "$only" ]; then ids=${only//,/ }; else ids=$(cut -f1 "$mutants"); fi
built=0 killed=0 timedout=0 survived=0 unbuilt=0
survivors= start=$(date +%s)
summary() {
  local rate=0
  [ "$built" -eq 0 ] || rate=$(awk -v k="$killed" -v b="$built" 'BEGIN {printf "%.1f", 100 * k / b}')
  {
    echo
    echo "mutants built: $built (did not build: $unbuilt)"
    echo "killed: $killed (of them by timeout: $timedout)"
    echo "survived: $survived"
    echo "kill rate: $rate%"
    echo "time: $(( ($(date +%s) - start) / 60 )) min"
    [ -z "$survivors" ] || printf 'survivors:\n%s' "$survivors"
  } | tee -a "$report" | sed -n '/^mutants built/,$p'
  echo "report: $report"
}
# Interrupted, the run still restores the file and reports what it finished.
trap 'restore; echo "(interrupted)" >>"$report"; summary; exit 130' INT TERM
{
  echo "mutation run: seed $seed, $(cd "$here" && git rev-parse --short HEAD)$(cd "$here" && git diff --quiet HEAD || echo '+changes'), $(date -u '+%F %H:%M UTC')"
  echo
} >"$report"
for id in $ids; do
  [ -n "$only" ] || [ "$built" -lt "$count" ] || break
  line=$(describe "$id")
  [ -n "$line" ] || { echo "mutate.sh: no mutant $id" >&2; exit 2; }
  current=$(awk -F'\t' -v id="$id" '$1 == id {print $2}' "$mutants")
  python3 "$here/scripts/mutate_sites.py" "$here" "$seed" apply "$id" "$tree"
  t0=$(date +%s)
  if ! build_tree; then
    result="did not build"
  elif run_tests; then
    result=SURVIVED
  else
    # The first failing test, as ctest reports it: "Test #N: Name ....***Failed".
    fail=$(grep -m1 -E 'Test +#[0-9]+: .*\*\*\*' "$build/test.log" || echo '#: (test run failed) ***')
    first=$(sed -E 's/.*#[0-9]*: ([^ ]+) .*/\1/' <<<"$fail")
    if grep -q Timeout <<<"$fail"; then result="killed by timeout ($first)"; else result="killed by $first"; fi
  fi
  restore
  case $result in
    did*) unbuilt=$((unbuilt + 1)) ;;
    SURV*) built=$((built + 1)) survived=$((survived + 1)); survivors+="$line"$'\n' ;;
    *timeout*) built=$((built + 1)) killed=$((killed + 1)) timedout=$((timedout + 1)) ;;
    *) built=$((built + 1)) killed=$((killed + 1)) ;;
  esac
  printf '%s\n    %s (%ss)\n' "$line" "$result" $(($(date +%s) - t0)) | tee -a "$report"
done
trap 'restore; exit 130' INT TERM
build_tree || true  # leaves the copy's build matching the checkout
summary
