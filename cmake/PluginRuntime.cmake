# Compile options of everything that goes into the plug-in library: no C++ runtime,
# no exceptions, no RTTI, nothing visible unless exported on purpose.
add_library(statlume_runtime_options INTERFACE)
target_compile_options(statlume_runtime_options INTERFACE
  -fvisibility=hidden -fPIC
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics -fvisibility-inlines-hidden>)
