#!/usr/bin/env bash
# Installs a build, moves the installation elsewhere and runs the installed
# statlume-host from a folder outside the build, through a link on PATH as a user
# would: it must find the plug-in folder and the bundled scenes beside itself, replay
# the bundled session as the build's program does, and validate the installed
# plug-in folder. With PATHS_CHECK "paths", the installed program must hold no path
# of the source or build folder (a sanitizer build's instrumentation names its
# source files, so it skips this).
#   check_installed_program.sh BUILD_DIR SOURCE_DIR LIBRARY_FILE_NAME EXPECTED [paths]
set -euo pipefail
build_dir="$1" source_dir="$2" library="$3" expected="$4" paths_check="${5:-}"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build_dir" --prefix "$scratch/installed" > /dev/null
prefix="$scratch/moved here"  # nothing may lead back to where it was installed
mv "$scratch/installed" "$prefix"
mkdir "$scratch/elsewhere" "$scratch/on-path"
ln -s "$prefix/bin/statlume-host" "$scratch/on-path/statlume-host"
cd "$scratch/elsewhere"
export PATH="$scratch/on-path:$PATH"
status=0
fail() { echo "$1"; status=1; }

out=$(statlume-host)
for line in "  plug-in: $prefix/plugins/statlume/$library" \
            "  scene:   $prefix/share/statlume-host/scenes/default.scene" \
            "  | Objects              6           4          |" "no host faults"; do
  grep -qxF -- "$line" <<< "$out" || fail "the installed program's output lacks the line '$line'"
done

# The bundled session from the installed scenes, as the build's transcript has it.
statlume-host --script "$prefix/share/statlume-host/scenes/demo.script" |
  sed -e "s|$prefix/|BUILD/out/|g" -e "s|BUILD/out/plugins/statlume/$library|BUILD/out/plugins/statlume/LIBRARY|" > session.txt
diff -u "$expected" session.txt > /dev/null || fail "the installed program's session differs: $(diff -u "$expected" session.txt)"

report=$(statlume-host validate --level 1 "$prefix/plugins/statlume") ||
  fail "validate --level 1 on the installed plug-in folder failed: $report"
grep -q " 0 failed$" <<< "$report" || fail "validate did not end with 0 failed: $report"
[ -f "$prefix/share/statlume-host/statlume-host.schema.json" ] ||
  fail "the JSON Schema of the output is not installed beside the scenes"
listed=$(statlume-host validate --list | wc -l)
[ "$listed" -gt 10 ] || fail "validate --list listed $listed lines"

if [ "$paths_check" = paths ]; then
  found=$(strings -a "$prefix/bin/statlume-host" | grep -F -e "$source_dir" -e "$build_dir" | head -3 || true)
  [ -z "$found" ] || fail "the installed program holds paths of the build: $found"
fi
[ $status -eq 0 ] && echo "installed program runs from $prefix"
exit $status
