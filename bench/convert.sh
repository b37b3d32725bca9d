#!/usr/bin/env bash
# Converts every PDF of a folder and prints, measured in the same run on the same files, pages per
# second and peak memory for quarnel, for pdftotext (the floor: interpreting the PDF) and for
# LibreOffice's PDF import saving a .doc (the peer).
#
#   bench/convert.sh [FOLDER] [--no-libreoffice]
# Needs the release build (./run builds it), poppler-utils, GNU time and LibreOffice.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
folder="${1:-$root/../shared/corpus/dev}"
with_lo=1
[ "${2:-}" = "--no-libreoffice" ] && with_lo=0
bin="$root/build/release/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUARNEL_CODEPAGE=65001

# measure CMD...: prints "seconds peak_kb exit" for one command; wall time in nanoseconds, since
# GNU time's own clock counts in hundredths and one-page files take less.
measure() {
  local start end rc
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$work/time" "$@" >/dev/null 2>&1 && rc=0 || rc=$?
  end=$(date +%s%N)
  echo "$(awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }') $(tail -1 "$work/time") $rc"
}

printf "%-24s %6s  %-22s %-22s %-22s\n" file pages "quarnel s/page MB" "pdftotext s/page MB" "libreoffice s/page MB"
declare -a q_rates t_rates l_rates
for pdf in "$folder"/*.pdf; do
  name=$(basename "$pdf" .pdf)
  pages=$(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
  [ -n "$pages" ] && [ "$pages" -gt 0 ] || continue
  read -r qs qk qrc < <(measure "$bin/quarnel" -q -m -r -i "$pdf" -o "$work/$name.doc")
  read -r ts tk trc < <(measure pdftotext "$pdf" "$work/$name.txt")
  ls="-"; lk=0; lrc="-"
  if [ $with_lo = 1 ]; then
    read -r ls lk lrc < <(measure timeout 600 soffice -env:UserInstallation=file://$work/lo --headless \
      --infilter=writer_pdf_import --convert-to doc --outdir "$work/lo-out" "$pdf")
  fi
  per() { awk -v s="$1" -v p="$pages" 'BEGIN { if (s == "-") print "-"; else printf "%.5f", s / p }'; }
  q_rates+=("$(per "$qs")"); t_rates+=("$(per "$ts")"); [ $with_lo = 1 ] && l_rates+=("$(per "$ls")")
  printf "%-24s %6d  %-8s %6d %-6s %-8s %6d %-6s %-8s %6d %-6s\n" "$name" "$pages" \
    "$(per "$qs")" $((qk / 1024)) "rc=$qrc" "$(per "$ts")" $((tk / 1024)) "rc=$trc" "$(per "$ls")" $((lk / 1024)) "rc=$lrc"
done
median() { printf "%s\n" "$@" | grep -v '^-$' | sort -g | awk '{a[NR]=$1} END { if (NR == 0) print "-"; else if (NR % 2) print a[(NR+1)/2]; else printf "%.4f", (a[NR/2]+a[NR/2+1])/2 }'; }
echo
echo "median seconds per page: quarnel $(median "${q_rates[@]}")  pdftotext $(median "${t_rates[@]}")  libreoffice $(median "${l_rates[@]:-}")"
