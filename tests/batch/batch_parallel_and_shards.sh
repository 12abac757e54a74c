#!/usr/bin/env bash
# batch_parallel_and_shards.sh TESSALY SOURCE_DIR WORK_DIR
# One process or many, one thread or several, whole or in shards: 200 spectra give the same
# table, byte for byte, sequentially, in threads, through GNU parallel over two cores, and as the
# union of four shards.
source "$(dirname "$0")/batch_test_setup.sh" "$@"
command -v parallel > /dev/null || { echo "FAIL: GNU parallel is not installed (Debian package parallel)"; exit 1; }

"$src/make_spectra.sh" spectra 200 101
# One spectrum in the middle fails: its line must sit at its place in every table.
printf '1,2\r\n' > spectra/s0100.bgd

"$tessaly" batch --no-header --jobs 1 six.cfg spectra/* > sequential.csv
[ $? = 1 ] || fail "one failed spectrum must give exit status 1"
[ "$(wc -l < sequential.csv)" = 200 ] || fail "sequential: $(wc -l < sequential.csv) lines"
[ "$(grep -c ',ok,,' sequential.csv)" = 199 ] || fail "sequential: expected 199 ok lines"
sed -n 100p sequential.csv | grep -q '^spectra/s0100.bgd,error,54 ' || fail "line 100 is not the failed spectrum"

# Threads in one process: the same table, and the same curves and graphs (text drawn in each
# thread by a renderer of its own), as one thread; more threads than spectra are idle.
"$tessaly" batch --no-header --jobs 1 --out one --csv --bmp six.cfg $(ls spectra/* | head -30) > one.csv
"$tessaly" batch --no-header --jobs 3 --out three --csv --bmp six.cfg $(ls spectra/* | head -30) > three.csv
cmp one.csv three.csv || fail "--jobs 3 gives another table than --jobs 1"
diff -r one three > /dev/null || fail "--jobs 3 writes other files than --jobs 1"
"$tessaly" batch --no-header --jobs 8 six.cfg spectra/s0001.bgd spectra/s0002.bgd > few.csv
head -2 sequential.csv | cmp -s - few.csv || fail "--jobs 8 over two spectra gives another table"
"$tessaly" batch --no-header --jobs 2 six.cfg spectra/* > threads.csv
[ $? = 1 ] || fail "--jobs 2: one failed spectrum must give exit status 1"
cmp sequential.csv threads.csv || fail "--jobs 2 gives another table than --jobs 1"

# Twenty spectra per process, two processes at a time, output kept in input order.
parallel --will-cite -j2 -k -n 20 "$tessaly" batch --no-header six.cfg ::: spectra/* > parallel.csv
cmp sequential.csv parallel.csv || fail "parallel -j2 -k gives another table"

# One process per spectrum, as the shortest recipe does it, on the first ten.
head -10 sequential.csv > first10.csv
parallel --will-cite -j2 -k "$tessaly" batch --no-header six.cfg ::: $(ls spectra/* | head -10) > one_each.csv
cmp first10.csv one_each.csv || fail "one process per spectrum gives another table"

# Shards K/4 take positions K, K+4, ...; together they are the whole run.
parallel --will-cite -j2 "$tessaly" batch --no-header --shard {}/4 six.cfg spectra/* '>' shard{}.csv ::: 1 2 3 4
for k in 1 2 3 4; do
  awk -v k=$k 'NR % 4 == k % 4' sequential.csv | cmp -s - shard$k.csv || fail "shard $k/4 holds other lines"
done
# The example's merge puts them back in order, header first: the whole run's table.
"$src/../../examples/merge_shards.sh" shard1.csv shard2.csv shard3.csv shard4.csv > merged.csv
"$tessaly" batch six.cfg spectra/* > whole.csv
cmp whole.csv merged.csv || fail "the merged shards are not the whole run's table"

[ "$failed" = 0 ] && echo "ok: sequential, parallel and sharded tables agree"
exit $failed
