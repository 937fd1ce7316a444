# Qt's moc step (with Ninja) does not notice a source file that a glob picked
# up after the first build. When the file list changes, drop the target's
# autogen stamp so moc runs again.
function(quorvel_autogen_follows_glob target sources)
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt")
  string(REPLACE ";" "\n" content "${sources}")
  set(old "")
  if(EXISTS "${list_file}")
    file(READ "${list_file}" old)
  endif()
  if(NOT old STREQUAL content)
    file(WRITE "${list_file}" "${content}")
    file(REMOVE "${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp")
  endif()
endfunction()

# One static library per module. Sources are every .cpp/.h/.qrc in the module's
# folder and its subfolders; a module lists the modules it builds on.
#
#   quorvel_module(whois DEPENDS platform LIBS Qt6::Network)
function(quorvel_module name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;LIBS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
       "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
  foreach(ex IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${ex}")
  endforeach()
  set(cpp_sources ${sources})
  list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
  if(cpp_sources)
    add_library(qv_${name} STATIC ${sources})
    quorvel_autogen_follows_glob(qv_${name} "${sources}")
    set(scope PUBLIC)
  else()
    # A module with nothing compiled yet still takes part in the link graph.
    add_library(qv_${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(qv_${name} ${scope} "${PROJECT_SOURCE_DIR}/src")
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(qv_${name} ${scope} qv_${dep})
  endforeach()
  target_link_libraries(qv_${name} ${scope} ${ARG_LIBS})
endfunction()

# One test executable per module. Each tests/<module>/test_*.cpp holds one
# Qt Test class registered with QV_TEST(Class); every class becomes its own
# ctest entry (run with --suite Class) so the suites run in parallel.
function(quorvel_tests module)
  cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp"
                                           "${CMAKE_CURRENT_SOURCE_DIR}/*.h"
                                           "${CMAKE_CURRENT_SOURCE_DIR}/*.qrc")
  if(NOT test_sources)
    return()
  endif()
  set(exe tst_${module})
  add_executable(${exe} ${test_sources})
  if(ARG_GUI)
    target_link_libraries(${exe} PRIVATE qv_testmain_gui)
  else()
    target_link_libraries(${exe} PRIVATE qv_testmain)
  endif()
  target_link_libraries(${exe} PRIVATE ${ARG_LIBS})
  # A test file added later must still get its .moc generated: tie the
  # autogen step to the globbed file list.
  quorvel_autogen_follows_glob(${exe} "${test_sources}")
  target_compile_definitions(${exe} PRIVATE
      QV_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
      QV_BINARY_DIR="${PROJECT_BINARY_DIR}")
  foreach(src IN LISTS test_sources)
    file(STRINGS "${src}" lines REGEX "^QV_TEST\\([A-Za-z0-9_]+\\)")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^QV_TEST\\(([A-Za-z0-9_]+)\\).*" "\\1" cls "${line}")
      add_test(NAME ${module}.${cls} COMMAND ${exe} --suite ${cls})
      set_tests_properties(${module}.${cls} PROPERTIES
          ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
          TIMEOUT 600)
    endforeach()
  endforeach()
endfunction()
