#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks the plug-in folder it lays out:
# the library under its platform's name, the resource folder and the manual.
#   check_install.sh BUILD_DIR LIBRARY_FILE_NAME
set -euo pipefail
build_dir="$1" library="$2"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" > /dev/null
expected=$(printf '%s\n' "plugins/statlume/Statlume.pdf" "plugins/statlume/$library" \
  "plugins/statlume/res/statlume.tif" "plugins/statlume/res/strings.res" | sort)
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
if [ "$installed" != "$expected" ]; then
  echo "installed:"; echo "$installed"; echo "expected:"; echo "$expected"; exit 1
fi
echo "plug-in folder laid out: $(echo $installed)"
