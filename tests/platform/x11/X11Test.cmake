# What the X11 test folders share: the plain Xlib test host, and
# ondrel_add_x11_test(NAME SOURCES... LIBS ...), like ondrel_add_test with
# every run (the listing of cases too) inside a private X server of its own
# (scripts/xvfb-session.sh).
include_guard(GLOBAL)

find_package(X11 REQUIRED)
add_library(ondrel_x11_test_host STATIC ${CMAKE_CURRENT_LIST_DIR}/XTestHost.cpp)
target_link_libraries(ondrel_x11_test_host PUBLIC ondrel_platform ondrel_settings X11::X11 X11::Xtst)

function(ondrel_add_x11_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ondrel_x11_test_host GTest::gtest GTest::gtest_main ondrel_settings)
  set_target_properties(${name} PROPERTIES
    CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/scripts/xvfb-session.sh;${CMAKE_CROSSCOMPILING_EMULATOR}")
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()
