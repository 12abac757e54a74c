#!/usr/bin/env bash
# batch_equivalence.sh TESSALY SOURCE_DIR WORK_DIR
# A spectrum's line equals what the program shows after the same steps taken as an action
# script (Load the settings, OPEN or the raw window, FITTING twice), and the files it exports are
# the same bytes.
source "$(dirname "$0")/batch_test_setup.sh" "$@"

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

# print_fields: the script lines that print them.
print_fields() { for f in $fields; do echo "print FORM2.$f"; done; }
# fields_as_batch PRINTED: the printed fields as the batch's columns 6 to 30; an absent slot
# (empty centre) shows nothing there.
fields_as_batch() {
  awk '{ v[NR] = $0 } END {
      line = ""
      for (k = 0; k < 6; k++) {
        absent = v[4 * k + 1] == ""
        for (j = 1; j <= 4; j++) line = line (absent ? "" : v[4 * k + j]) ","
      }
      print line v[25] }' "$1"
}

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
    print_fields
    echo "answer file script_$name.csv"
    echo "click FORM2.BUTTON28"
    echo "answer file script_$name.bmp"
    echo "click FORM2.BUTTON24"
  } > "steps_$name.txt"
  "$tessaly" --run "steps_$name.txt" > "printed_$name.txt" || fail "$name: the script failed"
  expected=$(fields_as_batch "printed_$name.txt")
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

# Raw exports (a header line, two columns, LF line ends) through the raw window's fields.
mkdir -p raw
for f in s0001 s0002 s0003; do
  awk -F, 'BEGIN { print "Binding Energy (eV),Counts" } { print $1 "," $2 }' "spectra/$f.bgd" | tr -d '\r' > raw/$f.csv
done
"$tessaly" batch --quiet --no-header --raw --window 281:299 --linear --ends 3 six.cfg raw/*.csv > raw.csv
status=$?
[ "$status" = 0 ] || fail "raw batch exit status $status: $(cat raw.csv)"
n=0
for spectrum in raw/*.csv; do
  n=$((n + 1))
  name=$(basename "$spectrum" .csv)
  {
    echo "answer file six.cfg"
    echo "click FORM2.BUTTON23"
    echo "menu openraw"
    echo "set FORM5.EDIT1 281"
    echo "set FORM5.EDIT2 299"
    echo "set FORM5.EDIT3 3"
    echo "click FORM5.CHECK1"
    echo "answer file $spectrum"
    echo "click FORM5.BUTTON1"
    echo "click FORM2.BUTTON1"
    print_fields
  } > "raw_steps_$name.txt"
  "$tessaly" --run "raw_steps_$name.txt" > "raw_printed_$name.txt" || fail "raw $name: the script failed"
  expected=$(fields_as_batch "raw_printed_$name.txt")
  actual=$(sed -n "${n}p" raw.csv | cut -d, -f6-)
  [ "$expected" = "$actual" ] || fail "raw $name: batch shows $actual, the desktop steps $expected"
done
[ "$n" = 3 ] || fail "expected 3 raw spectra, found $n"

# FITTING, then Refine and its report.
"$tessaly" batch --quiet --no-header --refine --out refined --report six.cfg spectra/s0001.bgd spectra/s0002.bgd > refined.csv
status=$?
[ "$status" = 0 ] || fail "refine batch exit status $status: $(cat refined.csv)"
n=0
for name in s0001 s0002; do
  n=$((n + 1))
  {
    echo "answer file six.cfg"
    echo "click FORM2.BUTTON23"
    echo "answer file spectra/$name.bgd"
    echo "click FORM2.BUTTON3"
    echo "click FORM2.BUTTON1"
    echo "menu refine"
    print_fields
    echo "answer file refined_$name.report.csv"
    echo "menu savereport"
  } > "refine_steps_$name.txt"
  "$tessaly" --run "refine_steps_$name.txt" > "refine_printed_$name.txt" || fail "refine $name: the script failed"
  expected=$(fields_as_batch "refine_printed_$name.txt")
  actual=$(sed -n "${n}p" refined.csv | cut -d, -f6-)
  [ "$expected" = "$actual" ] || fail "refine $name: batch shows $actual, the desktop steps $expected"
  cmp -s "refined_$name.report.csv" "refined/$name.report.csv" || fail "refine $name: the reports differ"
done

# Refine weighted by counting statistics: the option chooses the menu's check item.
"$tessaly" batch --quiet --no-header --weights counts --refine --out weighted --report six.cfg spectra/s0001.bgd > weighted.csv
status=$?
[ "$status" = 0 ] || fail "weighted batch exit status $status: $(cat weighted.csv)"
{
  echo "answer file six.cfg"
  echo "click FORM2.BUTTON23"
  echo "answer file spectra/s0001.bgd"
  echo "click FORM2.BUTTON3"
  echo "menu weightcounts"
  echo "click FORM2.BUTTON1"
  echo "menu refine"
  echo "answer file weighted_s0001.report.csv"
  echo "menu savereport"
} > weighted_steps.txt
"$tessaly" --run weighted_steps.txt > /dev/null || fail "weighted: the script failed"
cmp -s weighted_s0001.report.csv weighted/s0001.report.csv || fail "weighted: the reports differ"
grep -q '^weighting,counts' weighted/s0001.report.csv || fail "weighted: the report is not weighted"

[ "$failed" = 0 ] && echo "ok: record, raw and refined spectra match their action scripts"
exit $failed
