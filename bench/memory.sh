#!/usr/bin/env bash
# Peak memory of one conversion against the page count: 30 pages of the shared corpus's R manual,
# and the same 30 pages ten times over (300 pages), converted by the release build of quarnel.
# Both hold the same pages, so any difference comes from the page count alone.
#
#   bench/memory.sh [CORPUS_FOLDER]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
corpus="${1:-$root/../shared/corpus/dev}"
bin="$root/build/release/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

qpdf --empty --pages "$corpus/r-exts.pdf" 1-30 -- "$work/pages-30.pdf"
qpdf --empty --pages $(for i in $(seq 10); do echo "$work/pages-30.pdf"; done) -- "$work/pages-300.pdf"

for doc in pages-30 pages-300; do
  pages=$(pdfinfo "$work/$doc.pdf" | awk '/^Pages:/ {print $2}')
  /usr/bin/time -f "%e %M" -o "$work/time" "$bin/quarnel" -q -m -r -i "$work/$doc.pdf" -o "$work/$doc.doc"
  read -r seconds kb < "$work/time"
  printf "%-10s %4d pages  %6.2f s  peak %6.1f MB\n" "$doc" "$pages" "$seconds" "$(echo "$kb / 1024" | bc -l)"
done
