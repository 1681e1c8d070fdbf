#!/usr/bin/env bash
# The dialog pictures in the repository are what the command-line host draws of the
# bundled scene now (scripts/update-figures makes them), and the built manual shows
# the figure.
#   check_figures.sh HOST SOURCE_DIR MANUAL_PDF
set -euo pipefail
host="$1" source_dir="$2" manual="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
"$host" --png "$work/dialog.pdf" > /dev/null
"$host" --png "$work/dialog.png" > /dev/null
cmp -s "$work/dialog.pdf" "$source_dir/plugins/statlume/manual/dialog.pdf" ||
  { echo "plugins/statlume/manual/dialog.pdf is out of date: run scripts/update-figures"; status=1; }
cmp -s "$work/dialog.png" "$source_dir/docs/dialog.png" ||
  { echo "docs/dialog.png is out of date: run scripts/update-figures"; status=1; }
text=$(pdftotext "$manual" -)
for expected in "Figure 1." "Include Non-Poly/Point Objects" "Editable"; do
  grep -qF "$expected" <<< "$text" || { echo "the manual lacks '$expected'"; status=1; }
done
[ $status -eq 0 ] && echo "figures current; the manual shows the dialog"
exit $status
