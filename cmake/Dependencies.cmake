# Header-only dependencies from Debian's packages (libwebsocketpp-dev, libasio-dev,
# nlohmann-json3-dev). The Windows cross build sees only their own include folders.
find_package(Threads REQUIRED)

find_path(GP_WEBSOCKETPP_INCLUDE websocketpp/client.hpp REQUIRED)
find_path(GP_ASIO_INCLUDE asio.hpp REQUIRED)
find_path(GP_JSON_INCLUDE nlohmann/json.hpp REQUIRED)

add_library(gp_json INTERFACE)
target_include_directories(gp_json SYSTEM INTERFACE ${GP_JSON_INCLUDE})

add_library(gp_websocket INTERFACE)
target_include_directories(gp_websocket SYSTEM INTERFACE ${GP_WEBSOCKETPP_INCLUDE} ${GP_ASIO_INCLUDE})
target_compile_definitions(gp_websocket INTERFACE ASIO_STANDALONE _WEBSOCKETPP_CPP11_STL_)
target_link_libraries(gp_websocket INTERFACE Threads::Threads)
if(WIN32)
  target_compile_definitions(gp_websocket INTERFACE _WIN32_WINNT=0x0601)
  target_link_libraries(gp_websocket INTERFACE ws2_32 mswsock)
endif()

if(GP_BUILD_TESTS)
  if(WIN32)
    # Cross build: GoogleTest from Debian's sources, built with the mingw toolchain.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
