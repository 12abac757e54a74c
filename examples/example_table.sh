#!/bin/sh
# Runs the bundled example without a display (load two_peaks.bgd, two peaks made with "Make",
# "FITTING" twice, both exports) and prints its results as a small table.
# usage: examples/example_table.sh TESSALY OUTPUT_FOLDER
set -e
tessaly=$(realpath "$1")
out=$2
here=$(dirname "$(realpath "$0")")
mkdir -p "$out"
cp "$here/two_peaks.bgd" "$out/"
# The script prints, one per line: the file's name; centre, width and height of peak 1, then
# of peak 2; the shares of peaks 1 and 2 in percent; the total; the clipboard's line.
results=$(cd "$out" && "$tessaly" --run "$here/example.script")
echo "$results" | awk -v out="$out" '
  { v[NR] = $0 }
  END {
    printf "File: %s\n\n", v[1]
    printf "%-6s %10s %8s %10s %10s\n", "peak", "centre", "width", "height", "share (%)"
    printf "%-6s %10s %8s %10s %10s\n", "1", v[2], v[3], v[4], v[8]
    printf "%-6s %10s %8s %10s %10s\n", "2", v[5], v[6], v[7], v[9]
    printf "%-6s %10s %8s %10s %10s\n\n", "total", "", "", "", v[10]
    printf "Clipboard: %s\n", v[11]
    printf "Exported:  %s/example-results.csv (the curves), %s/example-graph.bmp (the graph)\n", out, out
  }'
