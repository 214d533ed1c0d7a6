# Header-only dependencies from Debian's packages (libwebsocketpp-dev, libasio-dev,
# nlohmann-json3-dev, libspdlog-dev, libfmt-dev). The Windows cross build sees only their own
# include folders.
find_package(Threads REQUIRED)

if(WIN32)
  # /usr/include must stay out of the cross build (its C library headers are the host's), so
  # each dependency is staged in the build tree as a symlink and only that folder is searched.
  set(GP_STAGED_INCLUDE ${CMAKE_BINARY_DIR}/staged-include)
  file(MAKE_DIRECTORY ${GP_STAGED_INCLUDE})
  foreach(entry websocketpp asio asio.hpp nlohmann spdlog fmt)
    if(NOT EXISTS /usr/include/${entry})
      message(FATAL_ERROR "Missing /usr/include/${entry}: run scripts/install-deps")
    endif()
    file(CREATE_LINK /usr/include/${entry} ${GP_STAGED_INCLUDE}/${entry} SYMBOLIC)
  endforeach()
  set(GP_WEBSOCKETPP_INCLUDE ${GP_STAGED_INCLUDE})
  set(GP_ASIO_INCLUDE ${GP_STAGED_INCLUDE})
  set(GP_JSON_INCLUDE ${GP_STAGED_INCLUDE})
  set(GP_SPDLOG_INCLUDE ${GP_STAGED_INCLUDE})
  set(GP_FMT_INCLUDE ${GP_STAGED_INCLUDE})
else()
  find_path(GP_WEBSOCKETPP_INCLUDE websocketpp/client.hpp REQUIRED)
  find_path(GP_ASIO_INCLUDE asio.hpp REQUIRED)
  find_path(GP_JSON_INCLUDE nlohmann/json.hpp REQUIRED)
  find_path(GP_SPDLOG_INCLUDE spdlog/logger.h REQUIRED)
  find_path(GP_FMT_INCLUDE fmt/format.h REQUIRED)
endif()

add_library(gp_json INTERFACE)
target_include_directories(gp_json SYSTEM INTERFACE ${GP_JSON_INCLUDE})

# spdlog and fmt, header-only on both lanes, so nothing links Debian's libspdlog or libfmt and
# the cross build compiles the very same headers. Debian's spdlog is header-only unless
# SPDLOG_COMPILED_LIB is defined (only its pkg-config and CMake packages define it), and its
# tweakme.h always takes the packaged fmt (SPDLOG_FMT_EXTERNAL) instead of the bundled copy,
# which spdlog then leaves compiled unless FMT_HEADER_ONLY is defined. No default logger: the
# diagnostics file makes its own, and spdlog's registry would make one on stdout.
add_library(gp_spdlog INTERFACE)
target_include_directories(gp_spdlog SYSTEM INTERFACE ${GP_SPDLOG_INCLUDE} ${GP_FMT_INCLUDE})
target_compile_definitions(gp_spdlog INTERFACE FMT_HEADER_ONLY SPDLOG_DISABLE_DEFAULT_LOGGER)
target_link_libraries(gp_spdlog INTERFACE Threads::Threads)
if(WIN32)
  # UTF-16 file names (_wfsopen), so a folder name outside the ANSI code page still opens.
  target_compile_definitions(gp_spdlog INTERFACE SPDLOG_WCHAR_FILENAMES)
endif()

add_library(gp_websocket INTERFACE)
target_include_directories(gp_websocket SYSTEM INTERFACE ${GP_WEBSOCKETPP_INCLUDE} ${GP_ASIO_INCLUDE})
target_compile_definitions(gp_websocket INTERFACE ASIO_STANDALONE _WEBSOCKETPP_CPP11_STL_)
target_link_libraries(gp_websocket INTERFACE Threads::Threads)
if(WIN32)
  # websocketpp assumes mingw lacks std::thread; the POSIX-thread mingw has it.
  target_compile_definitions(gp_websocket INTERFACE _WIN32_WINNT=0x0601 _WEBSOCKETPP_CPP11_THREAD_)
  target_link_libraries(gp_websocket INTERFACE ws2_32 mswsock)
endif()

if(GP_BUILD_TESTS)
  if(WIN32)
    # Cross build: GoogleTest from Debian's sources, built with the mingw toolchain.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest 1.11+ defines the GTest:: aliases itself; older sources do not.
    foreach(gp_gtest_lib gtest gtest_main gmock gmock_main)
      if(NOT TARGET GTest::${gp_gtest_lib})
        add_library(GTest::${gp_gtest_lib} ALIAS ${gp_gtest_lib})
      endif()
    endforeach()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
