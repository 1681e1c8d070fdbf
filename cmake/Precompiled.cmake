# Precompiled headers: the standard library headers (and, for the tests, the test
# framework and the test host) that most units of a target read. Each target builds
# its own, with its own flags.
set(STATLUME_STANDARD_HEADERS
  <algorithm> <cstdint> <cstring> <filesystem> <fstream> <functional> <map> <memory> <mutex>
  <set> <sstream> <string> <vector>)

# statlume_precompile(TARGET [HEADER ...]): the standard headers and the ones given.
function(statlume_precompile target)
  target_precompile_headers(${target} PRIVATE ${STATLUME_STANDARD_HEADERS} ${ARGN})
endfunction()
