# GoogleTest for both builds, and kelvary_add_test() to declare a test program.
# In the cross build every test program runs under Wine through the emulator
# wrapper, in a prefix of its own inside the build tree.
include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
  set(KELVARY_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${KELVARY_WINEPREFIX})
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest 1.11 and later declare these names themselves.
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
  set(KELVARY_TEST_LABEL wine)
  # Ends the prefix's persistent wineserver once every test has run.
  add_test(NAME wine_shutdown
           COMMAND ${CMAKE_SOURCE_DIR}/cmake/wine-prefix.sh ${KELVARY_WINEPREFIX} --kill)
  set_tests_properties(wine_shutdown PROPERTIES FIXTURES_CLEANUP wine LABELS wine)
else()
  find_package(GTest REQUIRED)
  if(KELVARY_SANITIZE)
    set(KELVARY_TEST_LABEL sanitize)
  else()
    set(KELVARY_TEST_LABEL native)
  endif()
endif()

# The 32-bit build runs these test programs only: the scanner, the status
# check (its remote path through the 32-bit stand-in library, called as
# stdcall) and the main window with its update check. The others test the
# same portable code as the 64-bit build and would double the time of
# `make test`; they are declared but not built.
set(KELVARY_32BIT_TESTS status_scanner_tests status_check_tests main_window_tests)

# kelvary_add_test(NAME SOURCES a.cpp ... [LIBS lib ...] [TIMEOUT seconds])
function(kelvary_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  set(left_out "")
  if(CMAKE_CROSSCOMPILING AND CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT name IN_LIST KELVARY_32BIT_TESTS)
    set(left_out EXCLUDE_FROM_ALL)
  endif()
  add_executable(${name} ${left_out} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${T_LIBS})
  if(left_out)
    return()
  endif()
  target_compile_definitions(${name} PRIVATE
      KELVARY_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  set(props LABELS ${KELVARY_TEST_LABEL} TIMEOUT ${T_TIMEOUT})
  if(CMAKE_CROSSCOMPILING)
    list(APPEND props FIXTURES_REQUIRED wine)
  endif()
  # Cases of a table are named by their index: a dump of the parameter's bytes
  # would make every line of the test run hundreds of characters wide.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       NO_PRETTY_VALUES PROPERTIES ${props})
endfunction()
