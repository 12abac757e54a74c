# Sourced by the batch test scripts with their arguments TESSALY SOURCE_DIR WORK_DIR: an empty
# work folder as the current one, fail() to note a failure and go on, and six.cfg, the settings
# every batch test fits with.
set -u
tessaly=$1 src=$2 work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
export LC_ALL=C
fail() { echo "FAIL: $*"; failed=1; }
failed=0
"$tessaly" --run "$src/six_peaks.script" || { echo "cannot make six.cfg"; exit 1; }
