#!/bin/sh
# Typesets the manual: build-manual.sh SOURCE.ms OUTPUT.pdf
# The pictures beside the source (the .pdf files it names with .PDFPIC) are copied
# into a scratch folder, where groff runs, with cairo's page-number comment blanked
# out: gropdf's reader takes no comment inside a dictionary. Blanking keeps every
# byte offset, so the copy stays a valid PDF. -U lets .PDFPIC ask pdfinfo for a
# picture's size.
set -e
source=$(realpath "$1")
out=$(realpath -m "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for picture in "$(dirname "$source")"/*.pdf; do
  [ -e "$picture" ] || continue
  perl -pe 's{^(<< /Type /Page )(% \d+)$}{$1 . " " x length($2)}e' "$picture" > "$work/${picture##*/}"
done
cd "$work"
groff -U -ms -Tpdf "$source" > "$out.tmp"
mv "$out.tmp" "$out"
