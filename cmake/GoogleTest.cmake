# GoogleTest from Debian's source package, built with whichever toolchain
# this tree is configured for, so the same tests run natively and under Wine.
set(KOLVAR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${KOLVAR_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found at ${KOLVAR_GTEST_SOURCE}: run scripts/setup.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
if(WIN32)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(${KOLVAR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# kolvar_add_test(name SOURCES ... LIBS ... [TIMEOUT seconds] [SUITES suite ...]):
# one test program, registered with CTest as one entry that runs all its
# cases in a single start (under Wine one process, not one per case). A
# failing case fails the entry, and GoogleTest's closing summary in its
# output names the case. SUITES splits a long program so that its parts can
# run side by side: one entry per suite named, and one for all the others.
# TIMEOUT bounds each entry as a whole.
function(kolvar_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;SUITES" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  if(WIN32)
    target_link_options(${name} PRIVATE -static)
  endif()
  if(NOT T_SUITES)
    kolvar_register_gtest(${name} ${name} "" ${T_TIMEOUT})
    return()
  endif()
  set(named)
  foreach(suite IN LISTS T_SUITES)
    kolvar_register_gtest(${name}.${suite} ${name} "${suite}.*" ${T_TIMEOUT})
    list(APPEND named "${suite}.*")
  endforeach()
  list(JOIN named ":" named)
  kolvar_register_gtest(${name}.others ${name} "-${named}" ${T_TIMEOUT})
endfunction()

# One CTest entry: the cases of program that filter selects (all when empty).
# An entry that runs no case fails, so a renamed suite cannot go unrun.
function(kolvar_register_gtest entry program filter timeout)
  if(filter)
    add_test(NAME ${entry} COMMAND ${program} --gtest_filter=${filter})
  else()
    add_test(NAME ${entry} COMMAND ${program})
  endif()
  set_tests_properties(${entry} PROPERTIES
    TIMEOUT ${timeout}
    FAIL_REGULAR_EXPRESSION "Running 0 tests from")
  if(CMAKE_CROSSCOMPILING)
    # Under Wine the test programs share one prefix and one display, where
    # one program's windows would take the focus from another's: one at a
    # time.
    set_tests_properties(${entry} PROPERTIES RESOURCE_LOCK wine_desktop)
  endif()
endfunction()
