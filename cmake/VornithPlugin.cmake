# add_vornith_plugin(NAME KIND SOURCES... [LIBS ...] [OUTPUT_DIR dir])
# Builds a plug-in: a loadable module named NAME plus the extension of its KIND (SYSTEM .vsy,
# MAIN .vma, ADDIN .vad, INOUT .vio), without a "lib" prefix, linked with its own copies of the
# SDK and the shared library, placed in the program's Plugins folder unless OUTPUT_DIR is given,
# and finding libvornplatform.so in the folder above its own.
function(add_vornith_plugin name kind)
  cmake_parse_arguments(PARSE_ARGV 2 PLUGIN "" "OUTPUT_DIR" "LIBS")
  set(extensions SYSTEM .vsy MAIN .vma ADDIN .vad INOUT .vio)
  list(FIND extensions ${kind} index)
  if(index LESS 0 OR NOT PLUGIN_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "add_vornith_plugin(${name}): KIND must be SYSTEM, MAIN, ADDIN or INOUT, "
                        "followed by sources")
  endif()
  math(EXPR index "${index} + 1")
  list(GET extensions ${index} suffix)
  if(NOT PLUGIN_OUTPUT_DIR)
    set(PLUGIN_OUTPUT_DIR ${VORNITH_RUN_DIR}/Plugins)
  endif()

  add_library(${name} MODULE ${PLUGIN_UNPARSED_ARGUMENTS})
  foreach(library vornsdk vornlib)
    if(TARGET ${library})
      target_link_libraries(${name} PRIVATE ${library})
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE vornplatform ${PLUGIN_LIBS})
  # Each module keeps its own copies of what it links: nothing but its exports is visible, and
  # nothing is marked unique, so unloading really unmaps it and a reload runs the new code.
  target_compile_options(${name} PRIVATE -fvisibility=hidden -fvisibility-inlines-hidden)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${name} PRIVATE -fno-gnu-unique)
  endif()
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX ${suffix}
    LIBRARY_OUTPUT_DIRECTORY ${PLUGIN_OUTPUT_DIR}
    BUILD_RPATH "$ORIGIN/.."
    INSTALL_RPATH "$ORIGIN/..")
endfunction()
