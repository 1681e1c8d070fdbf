#!/usr/bin/env bash
# A plug-in that calls a C function the system-library stub does not list must not
# link: the stub is what keeps new run-time dependencies out of the macOS library.
set -euo pipefail
clangxx="$1" ld64="$2" macos_dir="$3"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/uses_listed.cpp" <<'CPP'
extern "C" int printf(const char*, ...);
extern "C" __attribute__((visibility("default"))) int plugin_main(int, void*, void*, void*) { return printf("%s", ""); }
extern "C" __attribute__((visibility("default"))) char g_framework[64] = {};
extern "C" __attribute__((visibility("default"))) void* g_CpuYieldDelegate = nullptr;
CPP
sed 's/return printf("%s", "");/return printf("%s", "") + fork();/; 1a extern "C" int fork(void);' \
  "$work/uses_listed.cpp" > "$work/uses_unlisted.cpp"

link() {
  "$clangxx" --target=x86_64-apple-macos11 -ffreestanding -fvisibility=hidden -c "$work/$1.cpp" -o "$work/$1.o"
  "$ld64" -dylib -arch x86_64 -platform_version macos 11.0 11.0 -exported_symbols_list "$macos_dir/exports.txt" \
    -o "$work/$1.dylib" "$macos_dir/libSystem.tbd" "$work/$1.o" 2> "$work/$1.log"
}

if ! link uses_listed; then
  echo "a plug-in using only listed functions failed to link:"; cat "$work/uses_listed.log"; exit 1
fi
if link uses_unlisted; then
  echo "a plug-in calling fork(), which the stub does not list, linked"; exit 1
fi
if ! grep -q '_fork' "$work/uses_unlisted.log"; then
  echo "the link failed, but not on the unlisted function:"; cat "$work/uses_unlisted.log"; exit 1
fi
echo "unlisted C function refused: $(grep -m1 '_fork' "$work/uses_unlisted.log")"
