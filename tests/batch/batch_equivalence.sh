#!/usr/bin/env bash
# batch_equivalence.sh TESSALY SOURCE_DIR WORK_DIR
# A spectrum's line equals what the program shows after the same steps taken as an action
# script (Load the settings, OPEN, FITTING twice), and the files it exports are the same bytes.
set -u
tessaly=$1 src=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
export LC_ALL=C
fail() { echo "FAIL: $*"; failed=1; }
failed=0

"$tessaly" --run "$src/six_peaks.script" || { echo "cannot make six.cfg"; exit 1; }
"$src/make_spectra.sh" spectra 5 301
cp "$src/../../examples/two_peaks.bgd" spectra/

"$tessaly" batch --quiet --presses 2 --out out --csv --bmp six.cfg spectra/* > batch.csv
status=$?
[ "$status" = 0 ] || fail "batch exit status $status"

# The fields in the order of the summary: centre, width, height, share of slots 1-6, total.
fields=""
for k in 1 2 3 4 5 6; do
  fields="$fields EDIT$((11 + k)) EDIT$((17 + k)) EDIT$((23 + k)) EDIT$((35 + k))"
done
fields="$fields EDIT42"

n=0
for spectrum in spectra/*; do
  n=$((n + 1))
  name=$(basename "$spectrum" .bgd)
  {
    echo "answer file six.cfg"
    echo "click FORM2.BUTTON23"
    echo "answer file $spectrum"
    echo "click FORM2.BUTTON3"
    echo "click FORM2.BUTTON1"
    echo "click FORM2.BUTTON1"
    for f in $fields; do echo "print FORM2.$f"; done
    echo "answer file script_$name.csv"
    echo "click FORM2.BUTTON28"
    echo "answer file script_$name.bmp"
    echo "click FORM2.BUTTON24"
  } > "steps_$name.txt"
  "$tessaly" --run "steps_$name.txt" > "printed_$name.txt" || fail "$name: the script failed"
  # An absent slot (empty centre) shows nothing in the batch's line.
  expected=$(awk '{ v[NR] = $0 } END {
      line = ""
      for (k = 0; k < 6; k++) {
        absent = v[4 * k + 1] == ""
        for (j = 1; j <= 4; j++) line = line (absent ? "" : v[4 * k + j]) ","
      }
      print line v[25] }' "printed_$name.txt")
  actual=$(awk -v n=$((n + 1)) 'NR == n' batch.csv | cut -d, -f6-)
  [ "$expected" = "$actual" ] || fail "$name: batch shows $actual, the desktop steps $expected"
  awk -v n=$((n + 1)) 'NR == n' batch.csv | grep -q "^$spectrum,ok,," || fail "$name: not ok"
  cmp -s "script_$name.csv" "out/$name.csv" || fail "$name: the exported curves differ"
  cmp -s "script_$name.bmp" "out/$name.bmp" || fail "$name: the exported graph differs"
done
[ "$n" = 6 ] || fail "expected 6 spectra, found $n"
[ "$(wc -l < batch.csv)" = 7 ] || fail "expected a header and 6 lines"
# Outputs are replaced whole, never left as temporary files.
[ "$(ls out | wc -l)" = 12 ] || fail "out/ holds $(ls out)"
[ "$failed" = 0 ] && echo "ok: $n spectra match their action scripts"
exit $failed
