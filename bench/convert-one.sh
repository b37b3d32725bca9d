#!/bin/sh
# The converter contract of the fidelity harness: convert-one.sh IN.pdf OUT_DIR writes
# OUT_DIR/<base>.doc. Uses the release build.
set -eu
bin="$(cd "$(dirname "$0")/.." && pwd)/build/release/bin"
base=$(basename "$1")
base=${base%.*}
exec "$bin/quarnel" -q -m -r -i "$1" -o "$2/$base.doc"
