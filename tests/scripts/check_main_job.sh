#!/usr/bin/env bash
# Runs the main job and compares what it prints (the dialog as the user sees it,
# the console lines, the host's answers) with the transcript worked out by hand
# for the bundled scene. Paths are reduced to SOURCE and BUILD.
set -euo pipefail
host="$1"
source_dir="$2"
expected="$3"
"$host" | sed -e "s|$source_dir/build/[A-Za-z0-9_-]*/|BUILD/|g" -e "s|$source_dir|SOURCE|g" |
  diff -u "$expected" - && echo "main job output as expected"
