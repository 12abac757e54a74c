#!/usr/bin/env bash
# run_scenario.sh TESSALY SCENARIO_DIR WORK_DIR
# Runs the scenario's script in a fresh copy of its folder and compares what it printed, its
# exit status and the files it was expected to write. The work folder is kept for diffing.
set -u
tessaly=$1 scenario=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cp -r "$scenario"/. "$work"/
cd "$work" || exit 1
export XDG_CONFIG_HOME="$work/.config"
"$tessaly" --run script.txt > actual.stdout 2> actual.stderr
status=$?
expected_status=0
[ -f expected.status ] && expected_status=$(cat expected.status)
failed=0
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"; failed=1
fi
if ! diff -u expected.stdout actual.stdout; then failed=1; fi
if [ -f expected.stderr ]; then
  while IFS= read -r needle; do
    [ -z "$needle" ] && continue
    grep -qF -- "$needle" actual.stderr || { echo "standard error lacks: $needle"; failed=1; }
  done < expected.stderr
fi
if [ -d expected_files ]; then
  for f in expected_files/*; do
    name=$(basename "$f")
    cmp -s "$f" "$name" || { echo "file $name differs from expected_files/$name"; failed=1; }
  done
fi
if [ "$failed" != 0 ]; then
  echo "--- standard error:"; cat actual.stderr
fi
exit $failed
