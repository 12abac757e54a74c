#!/usr/bin/env bash
# One settings file over a folder of spectra on a Slurm cluster: array task K of N fits the
# spectra at positions K, K+N, K+2N... of the folder's sorted list and writes its part of the
# table. Submit from the folder that holds set.cfg and spectra/:
#
#   sbatch examples/slurm_batch.sh
#   # when every task has ended (or: sbatch --dependency=afterok:JOBID ...):
#   examples/merge_shards.sh results/part_*.csv > results.csv
#
# Each task needs one core and well under 100 MB; 1000 spectra take a few seconds.
#SBATCH --job-name=tessaly-batch
#SBATCH --array=1-50
#SBATCH --cpus-per-task=1
#SBATCH --mem=200M
#SBATCH --time=01:00:00
#SBATCH --output=logs/tessaly-batch_%A_%a.log
set -eu
# The same sorted list in every task, whatever the node's locale.
export LC_ALL=C
settings=${SETTINGS:-set.cfg}
spectra=${SPECTRA:-spectra}
k=$SLURM_ARRAY_TASK_ID
n=$SLURM_ARRAY_TASK_COUNT
mkdir -p results
# Status 1 only says that some spectra failed; their lines are in the table.
tessaly batch --quiet --no-header --shard "$k/$n" "$settings" "$spectra"/* \
  > "results/part_$(printf %05d "$k").csv" || [ $? = 1 ]
