# Settings shared by the program, its tests and its tools.
option(BOUNCING_BALL_WERROR "Treat compiler warnings as errors (CI turns this on)" OFF)
option(BOUNCING_BALL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer, errors fatal" OFF)

# The language level and the warnings, for every target of the project's own code.
add_library(project_warnings INTERFACE)
target_compile_features(project_warnings INTERFACE cxx_std_17)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wpedantic -Wconversion -Wshadow
                                                  -Wdouble-promotion)
if(BOUNCING_BALL_WERROR)
  target_compile_options(project_warnings INTERFACE -Werror)
endif()

# The warnings, and the sanitizers when they are on: for everything but the frame
# dump, which is preloaded into processes built with or without them.
add_library(project_options INTERFACE)
target_link_libraries(project_options INTERFACE project_warnings)
if(BOUNCING_BALL_SANITIZE)
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all)
  target_compile_options(project_options INTERFACE ${sanitizers} -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE ${sanitizers})
endif()
