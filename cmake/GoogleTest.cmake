# GoogleTest is built from the distribution's sources with whichever compiler
# the tree uses, so the same tests build natively and with MinGW-w64.
set(QUILLON_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUILLON_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)
# The sanitizers check our code, not GoogleTest's: built without them, its
# one large source compiles in a fraction of the time, and a sanitized
# program links with it as with any other library.
if(QUILLON_SANITIZE)
  set_property(TARGET gtest gtest_main PROPERTY COMPILE_OPTIONS "")
endif()

# A GoogleTest program. RESOURCE_LOCK names what it shares under Wine (the
# settings tree, the desktop's focus). Natively ctest lists its cases one by one; under Wine
# every process start costs about a second, so there the whole program is
# one ctest test and GoogleTest's own output names the failing cases.
function(quillon_add_gtest target)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBRARIES;PROPERTIES;RESOURCE_LOCK" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main)
  quillon_warnings(${target})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
    set_tests_properties(${target} PROPERTIES TIMEOUT ${ARG_TIMEOUT} ${ARG_PROPERTIES})
    # Programs that share the Wine desktop or the settings tree take turns.
    if(ARG_RESOURCE_LOCK)
      set_property(TEST ${target} PROPERTY RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
    endif()
  else()
    gtest_discover_tests(${target}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${ARG_TIMEOUT} ${ARG_PROPERTIES})
  endif()
endfunction()
