#!/usr/bin/env bash
# Runs the main job and compares what it prints (the dialog as the user sees it,
# the console lines, the host's answers) with the transcript worked out by hand
# for the bundled scene. The build folder reads BUILD, the source folder SOURCE and
# the plug-in library's file name LIBRARY, so that one transcript serves every
# build and platform.
#   check_main_job.sh HOST_COMMAND SOURCE_DIR BUILD_DIR LIBRARY_FILE EXPECTED
# HOST_COMMAND is one ;-separated argument (a Windows host runs under wine).
set -euo pipefail
IFS=';' read -r -a host <<< "$1"
source_dir="$2"
build_dir="$3"
library_name=$(basename "$4")
expected="$5"
# Windows adds carriage returns to line ends, and the Windows program under wine
# names the folders it finds beside itself from the drive wine gives them (Z:).
"${host[@]}" | tr -d '\r' |
  sed -e "s|$build_dir/|BUILD/|g" -e "s|$source_dir|SOURCE|g" -e "s|BUILD/out/plugins/statlume/$library_name|BUILD/out/plugins/statlume/LIBRARY|" \
      -e "s|[A-Z]:BUILD/|BUILD/|g" |
  diff -u "$expected" - && echo "main job output as expected"
