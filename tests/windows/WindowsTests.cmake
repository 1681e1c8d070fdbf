# Windows-only checks: the DLL's shape, and the main job run under wine. A wine
# server kept waiting for the whole run makes each test's start quick.
find_program(LLVM_READOBJ NAMES llvm-readobj-14 llvm-readobj REQUIRED)
set(wine_run ${CMAKE_COMMAND} -E env STATLUME_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
    ${CMAKE_SOURCE_DIR}/scripts/wine-run)

add_test(NAME wine_server_start COMMAND ${wine_run} --server-start)
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine_server)
add_test(NAME wine_server_stop COMMAND ${wine_run} --server-stop)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine_server)

add_test(NAME windows_library_shape
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/check_library.sh ${STATLUME_LIBRARY_FILE} ${LLVM_READOBJ})

add_test(NAME main_job
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_main_job.sh
          "${wine_run};$<TARGET_FILE:statlume-host>;--script;${CMAKE_SOURCE_DIR}/testhost/scenes/demo.script"
          ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${STATLUME_LIBRARY_FILE}
          ${CMAKE_CURRENT_SOURCE_DIR}/scripts/main_job.expected)
set_tests_properties(main_job PROPERTIES FIXTURES_REQUIRED wine_server)

# What `cmake --install` lays out: the same plug-in folder on every platform, and
# statlume-host.exe beside it with the bundled scenes.
add_test(NAME plugin_folder_install
  COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check_install.sh ${CMAKE_BINARY_DIR} statlume${STATLUME_LIBRARY_SUFFIX}
          $<TARGET_FILE_NAME:statlume-host>)
