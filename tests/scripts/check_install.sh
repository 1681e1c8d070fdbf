#!/usr/bin/env bash
# Installs a build into a scratch prefix and checks what it lays out: the plug-in
# folder (the library under its platform's name, the resource folder and the
# manual) and, where the build has the command-line host, the program in bin/ with
# the bundled scenes in share/statlume-host/scenes/.
#   check_install.sh BUILD_DIR LIBRARY_FILE_NAME [PROGRAM_FILE_NAME]
set -euo pipefail
build_dir="$1" library="$2" program="${3:-}"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" > /dev/null
expected=$(printf '%s\n' "plugins/statlume/Statlume.pdf" "plugins/statlume/$library" \
  "plugins/statlume/res/statlume.tif" "plugins/statlume/res/strings.res")
if [ -n "$program" ]; then
  expected+=$'\n'$(printf '%s\n' "bin/$program" "share/statlume-host/scenes/default.scene" \
    "share/statlume-host/scenes/default.json" "share/statlume-host/scenes/demo.script" \
    "share/statlume-host/statlume-host.schema.json")
fi
expected=$(sort <<< "$expected")
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
if [ "$installed" != "$expected" ]; then
  echo "installed:"; echo "$installed"; echo "expected:"; echo "$expected"; exit 1
fi
echo "installed: $(echo $installed)"
