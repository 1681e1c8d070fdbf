# The Windows x64 plug-in: clang in Microsoft C++ ABI mode, linked by lld-link as a
# DLL with our own entry point against the C runtime (msvcrt.dll) and kernel32
# import libraries that mingw-w64 ships. It exports what its sources mark
# __declspec(dllexport): plugin_main, g_framework and g_CpuYieldDelegate.
find_program(STATLUME_LLD_LINK NAMES lld-link-14 lld-link REQUIRED)
set(STATLUME_MINGW_LIB_DIR /usr/x86_64-w64-mingw32/lib CACHE PATH "mingw-w64's import libraries")

set(STATLUME_PLATFORM_COMPILE_OPTIONS --target=x86_64-pc-windows-msvc)
set(STATLUME_PLATFORM_LINK_COMMAND
  ${STATLUME_LLD_LINK} /nologo /dll /entry:StatlumeLibraryEntry /nodefaultlib
  /out:${STATLUME_LIBRARY_FILE} /implib:${CMAKE_CURRENT_BINARY_DIR}/statlume.lib
  ${STATLUME_MINGW_LIB_DIR}/libmsvcrt.a ${STATLUME_MINGW_LIB_DIR}/libkernel32.a)
set(STATLUME_PLATFORM_LINK_DEPENDS "")
