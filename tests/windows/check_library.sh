#!/usr/bin/env bash
# Checks the Windows plug-in DLL: x86-64, exports exactly the entry point and the
# framework records, imports only the C runtime (msvcrt.dll) and kernel32.
set -euo pipefail
library="$1" readobj="$2"
status=0

machine=$("$readobj" --file-headers "$library" | awk '/Machine:/ {print $2}')
[ "$machine" = "IMAGE_FILE_MACHINE_AMD64" ] || { echo "not an x86-64 image: $machine"; status=1; }
"$readobj" --file-headers "$library" | grep -q 'IMAGE_FILE_DLL' || { echo "not a DLL"; status=1; }

expected="g_CpuYieldDelegate g_framework plugin_main"
exported=$("$readobj" --coff-exports "$library" | awk '/^ *Name: ./ {print $2}' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$exported" != "$expected" ]; then
  echo "exported symbols: '$exported', expected: '$expected'"; status=1
fi

imported=$("$readobj" --coff-imports "$library" | awk '/^ *Name: / {print tolower($2)}' | sort -u | tr '\n' ' ' | sed 's/ $//')
if [ "$imported" != "kernel32.dll msvcrt.dll" ]; then
  echo "imported libraries: '$imported', expected: 'kernel32.dll msvcrt.dll'"; status=1
fi

# The Windows build registers neither of the Unix builds' two extra variables.
for variable in g_trackSpinlocks g_inCrashhandler; do
  if grep -qa "$variable" "$library"; then echo "configuration variable $variable in the Windows build"; status=1; fi
done

[ $status -eq 0 ] && echo "Windows library shape ok: exports [$exported], imports [$imported]"
exit $status
