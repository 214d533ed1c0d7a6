# Sanitizer builds rebuild the same sources; pick one with -DGP_SANITIZE=address|thread.
if(GP_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(GP_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  # GCC warns that TSan does not model asio's atomic_thread_fence; -Werror would stop the build.
  add_compile_options($<$<CXX_COMPILER_ID:GNU>:-Wno-tsan>)
  add_link_options(-fsanitize=thread)
elseif(NOT GP_SANITIZE STREQUAL "")
  message(FATAL_ERROR "GP_SANITIZE must be empty, 'address' or 'thread'")
endif()
