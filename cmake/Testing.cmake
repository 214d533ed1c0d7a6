# gp_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, registered with ctest test by test.
include(GoogleTest)
function(gp_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main gp_warnings)
  if(WIN32)
    target_link_options(${name} PRIVATE -static)
  endif()
  # On Windows, and under Wine, every test process shares one desktop: a test that walks the
  # windows in Z order meets another's windows coming and going, and loses its walk when one
  # goes. There every test takes the desktop, so they run one at a time (12 s for the Wine lane);
  # the Linux stand-ins keep a desktop per process.
  set(shared_desktop "")
  if(WIN32)
    set(shared_desktop PROPERTIES RESOURCE_LOCK desktop)
  endif()
  # PRE_TEST: discovery runs when ctest runs, so a cross build lists its tests under Wine.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 ${shared_desktop})
endfunction()
