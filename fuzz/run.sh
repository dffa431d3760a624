#!/bin/sh
# Runs fuzz targets built with libFuzzer, each for SECONDS, starting from its seed corpus and its
# regression inputs. New inputs go to a scratch corpus that is thrown away; a finding is kept in
# fuzz/findings/ and fails the run.
#
#   sh fuzz/run.sh BUILD_DIR SECONDS [TARGET...]     (all targets when none is named)
set -u

if [ $# -lt 2 ]; then
  echo "usage: sh fuzz/run.sh BUILD_DIR SECONDS [TARGET...]" >&2
  exit 2
fi
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -eq 0 ]; then
  set -- $(ls "$here/corpus")
fi

mkdir -p "$here/findings"
scratch=$(mktemp -d)
failed=0
for target in "$@"; do
  mkdir -p "$scratch/$target"
  regressions="$here/regressions/$target"
  [ -d "$regressions" ] || regressions=
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$here/findings/$target-" \
    "$scratch/$target" "$here/corpus/$target" $regressions >"$scratch/$target.log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$target.log")
  if [ "$status" -eq 0 ]; then
    echo "$target: ${runs:-?} runs in ${seconds}s, no finding"
  else
    echo "$target: FINDING (exit status $status); see fuzz/findings/" >&2
    tail -n 40 "$scratch/$target.log" >&2
    failed=1
  fi
done
rm -rf "$scratch"
exit "$failed"
