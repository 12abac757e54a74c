#!/usr/bin/env bash
# batch_slurm_recipe.sh TESSALY SOURCE_DIR WORK_DIR
# The cluster recipe as shipped, its array tasks run by hand with the variables Slurm sets:
# from a fresh folder the merged parts are the whole run's table; tasks not numbered 1..N, a
# node without tessaly, parts of another run and missing, empty or short parts are refused,
# naming the shard; one shard runs again into its run's folder.
source "$(dirname "$0")/batch_test_setup.sh" "$@"
examples=$src/../../examples
export PATH="$(dirname "$tessaly"):$PATH"
cp six.cfg set.cfg
"$src/make_spectra.sh" spectra 10 101
tessaly batch set.cfg spectra/* > whole.csv

grep -q '^#SBATCH --output=[^/]*$' "$examples/slurm_batch.sh" || fail "the log path needs a folder made by hand"

# task K N JOB [MIN MAX] [VAR=VALUE...]: one array task as Slurm would start it.
task() {
  local k=$1 n=$2 job=$3 min=${4:-1} max=${5:-$2}
  shift 5 2> /dev/null || shift $#
  env SLURM_ARRAY_TASK_ID=$k SLURM_ARRAY_TASK_COUNT=$n SLURM_ARRAY_TASK_MIN=$min \
    SLURM_ARRAY_TASK_MAX=$max SLURM_ARRAY_JOB_ID=$job SLURM_JOB_ID=$((job + k)) "$@" \
    bash "$examples/slurm_batch.sh"
}
merge() { bash "$examples/merge_shards.sh" "$@"; }

# An earlier run of three tasks, then this one of four.
for k in 1 2 3; do task $k 3 1000 || fail "task $k of 3 failed"; done
for k in 1 2 3 4; do task $k 4 1001 || fail "task $k of 4 failed"; done
[ "$(cat results/1001/total)" = 10 ] || fail "results/1001/total: $(cat results/1001/total)"
merge --total 10 results/1001/part_*.csv > merged.csv || fail "the merge refused a whole run"
cmp -s whole.csv merged.csv || fail "the merged parts are not the whole run's table"
merge results/1001/part_*.csv | cmp -s whole.csv - || fail "without --total: another table"
ls results/1001 | grep -qv -e '^part_0000[1-4]_of_00004\.csv$' -e '^total$' &&
  fail "results/1001 holds $(ls results/1001)"

# expect_refusal TEXT COMMAND...: a non-zero status, TEXT on standard error, no table.
expect_refusal() {
  local text=$1
  shift
  "$@" > out.txt 2> err.txt && fail "$*: status 0"
  grep -qF -- "$text" err.txt || fail "$*: standard error lacks \"$text\": $(cat err.txt)"
  [ -s out.txt ] && [ "$1" = merge ] && fail "$*: printed a table"
  return 0
}
expect_refusal "must be numbered 1 to N" task 0 4 1002 0 3
expect_refusal "must be numbered 1 to N" task 4 4 1002 1 7
expect_refusal "is part 1 of 3, given in place 1 of 4" merge results/1000/part_00001_of_00003.csv \
  results/1001/part_0000{2,3,4}_of_00004.csv
expect_refusal "not on this node's PATH" env PATH=/usr/bin:/bin bash -c \
  "SLURM_ARRAY_TASK_ID=1 SLURM_ARRAY_TASK_COUNT=1 SLURM_ARRAY_JOB_ID=1003 bash '$examples/slurm_batch.sh'"
[ -e results/1003 ] && [ -n "$(ls results/1003 | grep part)" ] && fail "a task without tessaly left a part"

# A lost shard runs again, alone, into its run's folder.
rm results/1001/part_00003_of_00004.csv
expect_refusal "shard 3 of 4" merge --total 10 results/1001/part_*.csv
task 3 1 1004 3 3 RUN=1001 SHARDS=4 || fail "shard 3 could not run again"
merge --total 10 results/1001/part_*.csv | cmp -s whole.csv - || fail "after the rerun: another table"

# Damaged parts, under plain names.
for k in 1 2 3 4; do cp results/1001/part_0000${k}_of_00004.csv p$k.csv; done
expect_refusal "shard 2 of 4 (missing.csv): missing" merge p1.csv missing.csv p3.csv p4.csv
: > e2.csv
expect_refusal "shard 2 of 4 (e2.csv): empty" merge p1.csv e2.csv p3.csv p4.csv
head -n 2 p2.csv > s2.csv
expect_refusal "shard 2 of 4 (s2.csv): holds 2 lines, but shard 2 of 4 of 10 spectra has 3" \
  merge --total 10 p1.csv s2.csv p3.csv p4.csv
head -n 2 p1.csv > s1.csv
expect_refusal "shard 2 of 4 (p2.csv)" merge s1.csv p2.csv p3.csv p4.csv
head -c -1 p4.csv > h4.csv
expect_refusal "shard 4 of 4 (h4.csv): ends in the middle of a line" merge p1.csv p2.csv p3.csv h4.csv
# More tasks than spectra: the empty shards are whole when the total says so.
for k in 1 2 3 4 5 6 7 8 9 10 11 12; do task $k 12 1005 > /dev/null || fail "task $k of 12 failed"; done
merge --total 10 results/1005/part_*.csv | cmp -s whole.csv - || fail "12 shards of 10 spectra: another table"

[ "$failed" = 0 ] && echo "ok: the cluster recipe as shipped, its refusals and a rerun"
exit $failed
