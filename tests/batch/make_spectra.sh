#!/usr/bin/env bash
# make_spectra.sh DIR COUNT [POINTS]
# Writes COUNT spectrum files DIR/s0001.bgd ... in the record format (x, measured value,
# background; CR LF): six overlapping peaks whose places, widths and heights vary a little from
# file to file, on a sloped background, with a fixed pseudo-random ripple. The same arguments
# always give the same bytes.
set -eu
export LC_ALL=C
dir=$1 count=$2 points=${3:-1001}
mkdir -p "$dir"
awk -v dir="$dir" -v count="$count" -v points="$points" 'BEGIN {
  split("282 284.5 287 289 292 294.2", c, " ")
  split("1.5 1.7 1.2 2 1.5 1.4", w, " ")
  split("1000 1400 800 1100 500 700", h, " ")
  seed = 12345
  for (f = 1; f <= count; f++) {
    name = sprintf("%s/s%04d.bgd", dir, f)
    for (i = 0; i < points; i++) {
      x = 300 - 20 * i / (points - 1)
      y = 0
      for (k = 1; k <= 6; k++) {
        d = (x - (c[k] + 0.05 * ((f * k) % 7 - 3))) / w[k]
        y += h[k] * (1 + 0.03 * ((f + k) % 5 - 2)) / (1 + 1.2 * d * d) * exp(-1.94 * d * d)
      }
      # A linear congruential ripple: the same on every machine, unlike rand().
      seed = (seed * 1103515245 + 12345) % 2147483648
      bg = 100 + 2 * (300 - x)
      printf "%.2f,%.1f,%.1f\r\n", x, y + bg + 8 * (seed / 2147483648 - 0.5), bg > name
    }
    close(name)
  }
}'
