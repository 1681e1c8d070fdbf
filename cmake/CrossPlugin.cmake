# Builds the plug-in library for a platform other than this machine's, from the
# same sources as the Linux library, with clang-14 and lld-14. Each source becomes
# one object (with its header dependencies), then the platform's linker makes the
# library. Used by the windows and macos builds (cmake/platforms/<platform>.cmake).
#
#   statlume_cross_library(NAME target OUTPUT file SOURCES ... INCLUDES ...
#                          COMPILE_OPTIONS ... LINK_COMMAND ... [LINK_DEPENDS ...])
# LINK_COMMAND is the linker's command line without the objects; the objects are
# appended.
find_program(STATLUME_CLANGXX NAMES clang++-14 clang++ REQUIRED)

function(statlume_cross_library)
  cmake_parse_arguments(ARG "" "NAME;OUTPUT" "SOURCES;INCLUDES;COMPILE_OPTIONS;LINK_COMMAND;LINK_DEPENDS" ${ARGN})
  set(object_dir ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.objects)
  set(include_flags "")
  foreach(dir IN LISTS ARG_INCLUDES)
    list(APPEND include_flags -I${dir})
  endforeach()
  set(objects "")
  foreach(source IN LISTS ARG_SOURCES)
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source})
    string(REGEX REPLACE "\\.cpp$" ".o" object ${object_dir}/${relative})
    get_filename_component(object_parent ${object} DIRECTORY)
    file(MAKE_DIRECTORY ${object_parent})
    add_custom_command(
      OUTPUT ${object}
      COMMAND ${STATLUME_CLANGXX} ${ARG_COMPILE_OPTIONS} ${include_flags} -MD -MF ${object}.d -c ${source} -o ${object}
      DEPENDS ${source}
      DEPFILE ${object}.d
      COMMENT "Compiling ${relative} for ${ARG_NAME}"
      VERBATIM)
    list(APPEND objects ${object})
  endforeach()
  get_filename_component(output_dir ${ARG_OUTPUT} DIRECTORY)
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${ARG_LINK_COMMAND} ${objects}
    DEPENDS ${objects} ${ARG_LINK_DEPENDS}
    COMMENT "Linking ${ARG_OUTPUT}"
    VERBATIM)
  add_custom_target(${ARG_NAME} ALL DEPENDS ${ARG_OUTPUT})
endfunction()

# Warnings the plug-in's code is held to on every platform.
set(STATLUME_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
# No C++ runtime anywhere: no exceptions, no RTTI, no standard C++ headers.
set(STATLUME_FREESTANDING_CXX -std=c++20 -O2 -fno-exceptions -fno-rtti -nostdinc++ -fno-threadsafe-statics)
