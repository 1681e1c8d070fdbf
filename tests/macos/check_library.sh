#!/usr/bin/env bash
# Checks the macOS plug-in library: a Mach-O x86-64 library that exports exactly the
# entry point and the framework records, and loads nothing but the system library.
set -euo pipefail
library="$1" nm="$2" objdump="$3"
status=0

file_format=$("$objdump" --macho --private-header "$library" | awk '/MH_MAGIC_64/ {print $2, $5}')
if [ "$file_format" != "X86_64 DYLIB" ]; then
  echo "not an x86-64 Mach-O library: '$file_format'"; status=1
fi

expected="_g_CpuYieldDelegate _g_framework _plugin_main"
exported=$("$nm" --defined-only --extern-only "$library" | awk '{print $3}' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$exported" != "$expected" ]; then
  echo "exported symbols: '$exported', expected: '$expected'"; status=1
fi
trie=$("$objdump" --macho --exports-trie "$library" | awk 'NF {print $NF}' | grep -v ':$' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$trie" != "$expected" ]; then
  echo "export trie: '$trie', expected: '$expected'"; status=1
fi

# The first entry is the library's own install name.
libraries=$("$objdump" --macho --dylibs-used "$library" | tail -n +3 | awk '{print $1}' | tr '\n' ' ' | sed 's/ $//')
if [ "$libraries" != "/usr/lib/libSystem.B.dylib" ]; then
  echo "libraries used: '$libraries'"; status=1
fi

# The Unix builds register two configuration variables the Windows build has not.
for variable in g_trackSpinlocks g_inCrashhandler g_enableDebugBreak g_trackCpuYield; do
  grep -qa "$variable" "$library" || { echo "configuration variable $variable missing"; status=1; }
done

# The host's macOS table layout is not known: the library says so and does not start.
grep -qa "does not know where the host's table entries lie on this platform" "$library" ||
  { echo "the refusal line of an unknown table layout is missing"; status=1; }

[ $status -eq 0 ] && echo "macOS library shape ok: exports [$exported], uses [$libraries]"
exit $status
