#!/usr/bin/env bash
# Checks the built plug-in library: it needs only the C runtime and exports only
# the entry point and the framework records.
set -euo pipefail
library="$1"
status=0

needed=$(readelf -d "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for lib in $needed; do
  case "$lib" in
    libc.so.*) ;;
    *) echo "unexpected run-time dependency: $lib"; status=1 ;;
  esac
done

expected="g_CpuYieldDelegate g_framework plugin_main"
exported=$(nm -D --defined-only "$library" | awk '{print $3}' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$exported" != "$expected" ]; then
  echo "exported symbols: '$exported', expected: '$expected'"
  status=1
fi

# No C++ runtime symbols may be referenced either.
if nm -D --undefined-only "$library" | grep -E '_Znw|_Zna|_Zdl|_Zda|__cxa_(allocate|throw|begin_catch|end_catch|rethrow|pure_virtual|deleted_virtual|guard)|__gxx_personality|_ZSt|_ZTV|_ZTI' ; then
  echo "C++ runtime symbols referenced"
  status=1
fi

[ $status -eq 0 ] && echo "library shape ok: needs [$needed], exports [$exported]"
exit $status
