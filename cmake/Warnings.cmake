# One warning policy for every target of the project.
add_library(gp_warnings INTERFACE)
target_compile_options(gp_warnings INTERFACE -Wall -Wextra -Wpedantic)
option(GP_WERROR "Treat warnings as errors" ON)
if(GP_WERROR)
  target_compile_options(gp_warnings INTERFACE -Werror)
endif()
