#!/bin/sh
# Typesets the manual: build-manual.sh SOURCE.ms OUTPUT.pdf
set -e
groff -ms -Tpdf "$1" > "$2.tmp"
mv "$2.tmp" "$2"
