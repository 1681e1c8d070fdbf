# The macOS x86-64 plug-in: a Mach-O library linked by ld64.lld against a text stub
# of the system library that lists exactly the C functions the plug-in calls, so a
# new dependency fails the link. It cannot run on this machine.
find_program(STATLUME_LD64 NAMES ld64.lld-14 ld64.lld REQUIRED)
set(macos_dir ${CMAKE_SOURCE_DIR}/plugins/statlume/platform/macos)

# -ffreestanding: without it clang's stdint.h reaches for system headers that
# do not exist for this target here.
set(STATLUME_PLATFORM_COMPILE_OPTIONS --target=x86_64-apple-macos11 -ffreestanding -fPIC
  -fvisibility=hidden -fvisibility-inlines-hidden)
set(STATLUME_PLATFORM_LINK_COMMAND
  ${STATLUME_LD64} -dylib -arch x86_64 -platform_version macos 11.0 11.0
  -install_name @rpath/statlume${STATLUME_LIBRARY_SUFFIX}
  -exported_symbols_list ${macos_dir}/exports.txt
  -o ${STATLUME_LIBRARY_FILE} ${macos_dir}/libSystem.tbd)
set(STATLUME_PLATFORM_LINK_DEPENDS ${macos_dir}/exports.txt ${macos_dir}/libSystem.tbd)
