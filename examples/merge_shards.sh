#!/usr/bin/env bash
# merge_shards.sh PART_1 PART_2 ... PART_N
# Puts the tables of `tessaly batch --no-header --shard K/N` (given in the order K = 1 to N)
# back into the order of the whole run: line i of part K is spectrum K + (i - 1) * N. With the
# header first, the result is byte for byte what one `tessaly batch` over the whole list prints.
set -eu
n=$#
{
  echo "file,status,error,points,figure,centre1,width1,height1,share1,centre2,width2,height2,share2,centre3,width3,height3,share3,centre4,width4,height4,share4,centre5,width5,height5,share5,centre6,width6,height6,share6,total"
  awk -v n="$n" '
    FNR == 1 { k++ }
    { line[k + (FNR - 1) * n] = $0; if (k + (FNR - 1) * n > last) last = k + (FNR - 1) * n }
    END { for (p = 1; p <= last; p++) if (p in line) print line[p] }' "$@"
}
