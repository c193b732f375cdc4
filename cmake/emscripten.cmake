# The web build: Debian's Emscripten toolchain (package emscripten), and the
# Find modules of cmake/web/, which hand the platform layer in web/ to src/ as
# OpenGL::GL and GLUT::GLUT, the targets CMake's own modules make on Linux.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/web)

# emcc's link runs Node.js scripts that need acorn, which Debian installs
# under /usr/share/nodejs: a Node.js that is not Debian's does not look there.
# (The linker launcher needs CMake 3.21 or later.)
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
