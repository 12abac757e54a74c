#!/usr/bin/env bash
# merge_shards.sh [--total M] PART_1 PART_2 ... PART_N
# Puts the tables of `tessaly batch --no-header --shard K/N` (given in the order K = 1 to N)
# back into the order of the whole run: line i of part K is spectrum K + (i - 1) * N. With the
# header first, the result is byte for byte what one `tessaly batch` over the whole list prints.
# Refuses, naming the shard, a part that is missing, empty, cut off in a line, or shorter than
# its shard (part K of M spectra holds (M - K) / N + 1 lines; without --total the parts' lengths
# must at least fit some M), and parts named part_K_of_N.csv that are not shards 1 to N of one
# run of N: a merged table never lacks a spectrum or holds one in another's place.
set -eu
total=
if [ "${1:-}" = --total ]; then
  total=${2:?--total needs the number of spectra}
  shift 2
  [[ $total =~ ^[0-9]+$ ]] || { echo "merge_shards.sh: --total takes a number, not $total" >&2; exit 2; }
fi
n=$#
[ "$n" -ge 1 ] || { echo "usage: merge_shards.sh [--total M] PART_1 ... PART_N" >&2; exit 2; }
refuse() { echo "merge_shards.sh: shard $1 of $n ($2): $3" >&2; exit 1; }
# Parts named part_K_of_N.csv, all of one N other than their number: name the first lost one.
pattern='^part_0*([0-9]+)_of_0*([0-9]+)\.csv$'
if [[ $(basename -- "$1") =~ $pattern ]] && [ "${BASH_REMATCH[2]}" != "$n" ]; then
  of=${BASH_REMATCH[2]}
  present=" "
  for part in "$@"; do
    [[ $(basename -- "$part") =~ $pattern ]] && [ "${BASH_REMATCH[2]}" = "$of" ] || { of=; break; }
    present="$present${BASH_REMATCH[1]} "
  done
  if [ -n "$of" ]; then
    for ((k = 1; k <= of; k++)); do
      if [[ $present != *" $k "* ]]; then
        n=$of
        refuse $k "$(dirname -- "$1")/part_$(printf %05d $k)_of_$(printf %05d "$of").csv" "missing"
      fi
    done
  fi
fi
k=0
longest=0
for part in "$@"; do
  k=$((k + 1))
  if [[ $(basename -- "$part") =~ $pattern ]]; then
    [ "${BASH_REMATCH[1]}" = $k ] && [ "${BASH_REMATCH[2]}" = $n ] ||
      refuse $k "$part" "is part ${BASH_REMATCH[1]} of ${BASH_REMATCH[2]}, given in place $k of $n"
  fi
  [ -f "$part" ] && [ -r "$part" ] || refuse $k "$part" "missing"
  if [ -s "$part" ] && [ -n "$(tail -c 1 "$part")" ]; then
    refuse $k "$part" "ends in the middle of a line"
  fi
  lines=$(wc -l < "$part")
  if [ -n "$total" ]; then
    expected=0
    [ "$total" -ge $k ] && expected=$(((total - k) / n + 1))
    [ "$lines" = $expected ] ||
      refuse $k "$part" "holds $lines lines, but shard $k of $n of $total spectra has $expected"
  else
    [ -s "$part" ] || refuse $k "$part" "empty"
    [ $k = 1 ] && longest=$lines
    # Parts 1 to N hold the same number of lines or one less, never more than an earlier one.
    [ "$lines" -le "$longest" ] && [ "$lines" -ge $((longest - 1)) ] && [ "$lines" -le "${previous:-$lines}" ] ||
      refuse $k "$part" "holds $lines lines, where part 1 holds $longest: a shard is short"
    previous=$lines
  fi
done
{
  echo "file,status,error,points,figure,centre1,width1,height1,share1,centre2,width2,height2,share2,centre3,width3,height3,share3,centre4,width4,height4,share4,centre5,width5,height5,share5,centre6,width6,height6,share6,total"
  # Each part read by its own position, so that an empty one (a shard with no spectrum) moves
  # no other.
  awk -v n="$n" '
    BEGIN {
      for (k = 1; k < ARGC; k++)
        for (i = 0; (getline text < ARGV[k]) > 0; i++) {
          line[k + i * n] = text
          if (k + i * n > last) last = k + i * n
        }
      for (p = 1; p <= last; p++) if (p in line) print line[p]
    }' "$@"
}
