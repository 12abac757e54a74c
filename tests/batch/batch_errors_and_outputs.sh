#!/usr/bin/env bash
# batch_errors_and_outputs.sh TESSALY SOURCE_DIR WORK_DIR
# Usage errors (status 2, nothing on standard output), failing spectra in the middle of a
# batch (their error lines, status 1, the others unharmed), outputs replacing older files,
# progress only on a terminal, and memory that does not grow with the number of spectra.
source "$(dirname "$0")/batch_test_setup.sh" "$@"

"$src/make_spectra.sh" spectra 3 101
good=spectra/s0001.bgd

# expect_usage_error TEXT ARGS...: status 2, TEXT on standard error, nothing on standard output.
expect_usage_error() {
  local text=$1
  shift
  "$tessaly" batch "$@" > out.txt 2> err.txt
  local status=$?
  [ $status = 2 ] || fail "batch $*: status $status, expected 2"
  [ -s out.txt ] && fail "batch $*: printed $(head -1 out.txt)"
  grep -qF -- "$text" err.txt || fail "batch $*: standard error lacks \"$text\": $(cat err.txt)"
}
expect_usage_error "unknown option --fast" --fast six.cfg $good
expect_usage_error "no spectrum given" six.cfg
expect_usage_error "cannot read the settings file missing.cfg" missing.cfg $good
head -c 40 six.cfg > short.cfg
expect_usage_error "cannot load the settings file short.cfg: 54 Input past end of file." short.cfg $good
expect_usage_error "--shard takes K/N" --shard 3/2 six.cfg $good
expect_usage_error "would have the same name" --out o --csv six.cfg spectra/s0001.bgd spectra/../spectra/s0001.bgd
"$tessaly" batch --help | grep -q "^usage: tessaly batch" || fail "--help prints no usage"

# No output may be one of the run's inputs or another output, however the paths name them;
# such a run writes nothing.
mkdir -p exports links && printf '285,10\n284,12\n' > exports/a.csv && cp exports/a.csv exports/b.csv
ln -sf ../exports/a.csv links/a.csv
ln -sf ../exports/b.csv links/linked.csv
cp six.cfg set.csv
before=$(cat exports/a.csv exports/b.csv | md5sum)
expect_usage_error "would replace the input exports/a.csv" --raw --out exports --csv six.cfg exports/a.csv exports/b.csv
expect_usage_error "would replace the input exports/a.csv" --raw --out ./exports/../exports --csv six.cfg exports/a.csv
expect_usage_error "would replace the input exports/a.csv" --raw --out links --csv six.cfg exports/a.csv
expect_usage_error "would replace the input links/linked.csv" --raw --out links --csv six.cfg links/linked.csv
expect_usage_error "would replace the input set.csv" --out . --csv set.csv spectra/s0001.bgd set.bgd
expect_usage_error "would have the same name" --out o2 --csv --report six.cfg a.bgd a.report.bgd
for window in nan: inf: :inf -inf:300; do
  expect_usage_error "--window takes two numbers" --raw --window $window six.cfg $good
done
[ "$(cat exports/a.csv exports/b.csv | md5sum)" = "$before" ] || fail "an input was replaced"
[ -L links/a.csv ] && [ -L links/linked.csv ] || fail "a link was replaced"
[ -e o2 ] && fail "a refused run made its output folder"

# A missing file, a damaged one and one whose fit overflows, between good spectra.
printf '1,2\r\n' > damaged.bgd
printf '300,1E+30,1\r\n299,2E+30,1\r\n298,1E+30,1\r\n' > overflow.bgd
"$tessaly" batch six.cfg spectra/s0001.bgd missing.bgd damaged.bgd spectra/s0002.bgd overflow.bgd \
  spectra/s0003.bgd > table.csv 2> err.txt
status=$?
[ $status = 1 ] || fail "failed spectra: status $status, expected 1"
[ -s err.txt ] && fail "standard error is not a terminal, yet it got: $(cat err.txt)"
[ "$(wc -l < table.csv)" = 7 ] || fail "expected a header and 6 lines"
head -1 table.csv | grep -q '^file,status,error,points,figure,centre1,width1,height1,share1,centre2,' ||
  fail "header: $(head -1 table.csv)"
expect_line() {
  sed -n "$1p" table.csv | grep -q -- "$2" || fail "line $1 is $(sed -n "$1p" table.csv), expected $2"
}
expect_line 3 '^missing.bgd,error,63 File not found.,,,,'
expect_line 4 '^damaged.bgd,error,54 Input past end of file. damaged.bgd looks like an instrument export (line 1 holds two numbers: x and counts).*--raw).,,,,'
expect_line 6 '^overflow.bgd,error,6 Overflow: a number is too large for its destination.,3,,,'
for n in 2 5 7; do expect_line $n ',ok,,101,'; done
# Every line has the 30 columns of the header.
awk -F, 'NF != 30 { print "FAIL: line " NR " has " NF " columns"; bad = 1 } END { exit bad }' table.csv || failed=1

"$tessaly" batch --no-header six.cfg spectra/s0001.bgd spectra/s0002.bgd > ok.csv
[ $? = 0 ] || fail "all ok: status is not 0"
cmp -s ok.csv <(sed -n '2p;5p' table.csv) || fail "the good spectra's lines depend on the failed ones"

# Outputs replace what was there; no temporary file is left behind.
mkdir -p o && echo old > o/s0001.csv
"$tessaly" batch --quiet --out o --csv --bmp six.cfg $good > /dev/null || fail "exporting failed"
[ "$(head -c 1 o/s0001.csv)" = " " ] || fail "o/s0001.csv was not replaced"
[ "$(stat -c %s o/s0001.bmp)" = 1290870 ] || fail "o/s0001.bmp is not the 664 x 648 graph"
[ "$(ls o)" = "$(printf 's0001.bmp\ns0001.csv')" ] || fail "o/ holds $(ls o)"
# The temporary files of a batch killed while saving go at the next run; those of a process
# still running stay, and so does any other file.
sleep 60 & alive=$!
dead=$(sh -c 'echo $$')
touch "o/.tessaly-$dead-0123456789ab.tmp" "o/.tessaly-$alive-0123456789ab.tmp" o/.tessaly-notes.tmp
"$tessaly" batch --quiet --out o --csv six.cfg $good > /dev/null || fail "exporting failed"
[ -e "o/.tessaly-$dead-0123456789ab.tmp" ] && fail "a dead batch's temporary file is still there"
[ -e "o/.tessaly-$alive-0123456789ab.tmp" ] && [ -e o/.tessaly-notes.tmp ] ||
  fail "a file that is no stale temporary was removed"
kill $alive
rm -f o/.tessaly-*

# The fit view of each spectrum as an SVG figure; the table does not change for it.
"$tessaly" batch --no-header --figure figs six.cfg spectra/s0001.bgd spectra/s0002.bgd > fig.csv ||
  fail "figures failed"
cmp -s fig.csv ok.csv || fail "--figure changed the table"
[ "$(ls figs)" = "$(printf 's0001.svg\ns0002.svg')" ] || fail "figs/ holds $(ls figs)"
# Background, six peaks, envelope and residual; the residual is its own last polyline.
[ "$(grep -c '<polyline' figs/s0001.svg)" -ge 9 ] || fail "figs/s0001.svg lacks curves"
tail -1 figs/s0001.svg | grep -q '</svg>' || fail "figs/s0001.svg is cut short"
# An output folder that cannot be written: the spectrum fails with the save's error.
mkdir -p ro && chmod a-w ro
if [ ! -w ro ]; then
  "$tessaly" batch --no-header --out ro --csv six.cfg $good > ro.csv
  [ $? = 1 ] && grep -q ',error,' ro.csv || fail "a folder that cannot be written did not fail the spectrum"
fi
chmod u+w ro

# Progress: one line redrawn on a terminal, none with --quiet.
if command -v script > /dev/null; then
  script -qec "'$tessaly' batch six.cfg spectra/* > /dev/null" /dev/null > tty.txt 2>&1
  grep -q "3/3 spectra" tty.txt || fail "no progress line on a terminal: $(cat -v tty.txt)"
  script -qec "'$tessaly' batch --quiet six.cfg spectra/* > /dev/null" /dev/null > tty.txt 2>&1
  grep -q "spectra" tty.txt && fail "--quiet still shows progress"
fi

# Memory: 1000 spectra stay within 2 MB of 10 (each spectrum starts a fresh program).
if [ -x /usr/bin/time ] && [ "${TESSALY_SANITIZED:-0}" != 1 ]; then
  printf '300,101,1\r\n299,150,1\r\n298,101,1\r\n' > tiny.bgd
  few=$( { /usr/bin/time -f %M "$tessaly" batch --presses 0 six.cfg $(yes tiny.bgd | head -10) > /dev/null; } 2>&1 )
  many=$( { /usr/bin/time -f %M "$tessaly" batch --presses 0 six.cfg $(yes tiny.bgd | head -1000) > /dev/null; } 2>&1 )
  [ $((many - few)) -lt 2048 ] || fail "memory grew from $few kB for 10 spectra to $many kB for 1000"
fi

[ "$failed" = 0 ] && echo "ok: usage errors, error lines, outputs, progress and memory"
exit $failed
