#!/usr/bin/env bash
# One settings file over a folder of spectra on a Slurm cluster: array task K of N fits the
# spectra at positions K, K+N, K+2N... of the folder's sorted list and writes its part of the
# table. `tessaly` must be on every node's PATH (`make install`, or the package of `make deb`).
# Submit from the folder that holds set.cfg and spectra/, with N tasks of a few hundred spectra
# or more each (a task's start costs as much as a hundred spectra):
#
#   sbatch --array=1-N examples/slurm_batch.sh        # prints "Submitted batch job JOBID"
#   # when every task has ended (a merge job may wait with --dependency=afterany:JOBID):
#   examples/merge_shards.sh --total "$(cat results/JOBID/total)" results/JOBID/part_*.csv > results.csv
#
# The parts go to results/JOBID/, so parts of an earlier run are never merged with this one's.
# merge_shards.sh refuses a part that is missing, empty or short (a task that failed, was
# cancelled or ran out of time) and names its shard. To run shard K again, into the same folder:
#
#   RUN=JOBID SHARDS=N sbatch --array=K examples/slurm_batch.sh
#
# or by hand: tessaly batch --quiet --no-header --shard K/N set.cfg spectra/* > results/JOBID/part_K_of_N.csv
# (K and N written with five digits, as below). Each task needs one core and well under 100 MB.
#SBATCH --job-name=tessaly-batch
#SBATCH --array=1-4
#SBATCH --cpus-per-task=1
#SBATCH --mem=200M
#SBATCH --time=01:00:00
#SBATCH --output=tessaly-batch_%A_%a.log
set -eu
# The same sorted list in every task, whatever the node's locale.
export LC_ALL=C
settings=${SETTINGS:-set.cfg}
spectra=${SPECTRA:-spectra}
k=${SLURM_ARRAY_TASK_ID:?not an array task: submit with sbatch --array=1-N}
# SHARDS: the task count of the run a single task completes; otherwise the array is the run.
if [ -n "${SHARDS:-}" ]; then
  n=$SHARDS
else
  n=$SLURM_ARRAY_TASK_COUNT
  if [ "${SLURM_ARRAY_TASK_MIN:-1}" != 1 ] || [ "${SLURM_ARRAY_TASK_MAX:-$n}" != "$n" ]; then
    echo "slurm_batch.sh: the tasks must be numbered 1 to N (sbatch --array=1-N), not" \
      "${SLURM_ARRAY_TASK_MIN:-?} to ${SLURM_ARRAY_TASK_MAX:-?} in $n tasks;" \
      "to run one shard again, give SHARDS=N and RUN=JOBID" >&2
    exit 2
  fi
fi
if ! [ "$k" -ge 1 ] 2>/dev/null || ! [ "$k" -le "$n" ] 2>/dev/null; then
  echo "slurm_batch.sh: task $k is not a shard of 1 to $n" >&2
  exit 2
fi
command -v tessaly > /dev/null || {
  echo "slurm_batch.sh: tessaly is not on this node's PATH ($(hostname)): install it there" >&2
  exit 2
}
folder=results/${RUN:-${SLURM_ARRAY_JOB_ID:-$SLURM_JOB_ID}}
mkdir -p "$folder"
files=("$spectra"/*)
[ -e "${files[0]}" ] || { echo "slurm_batch.sh: no spectra in $spectra/" >&2; exit 2; }
echo "${#files[@]}" > "$folder/total"
part=$folder/part_$(printf %05d "$k")_of_$(printf %05d "$n").csv
# Written aside and renamed when complete: a task cut short leaves no part to merge.
status=0
tessaly batch --quiet --no-header --shard "$k/$n" "$settings" "${files[@]}" > "$part.partial" ||
  status=$?
# Status 1 only says that some spectra failed; their lines are in the table.
if [ $status -gt 1 ]; then
  rm -f "$part.partial"
  exit $status
fi
mv "$part.partial" "$part"
