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
  # PRE_TEST: discovery runs when ctest runs, so a cross build lists its tests under Wine.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()
