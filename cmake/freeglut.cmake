# freeglut for the Windows build: the library of Debian's freeglut source
# package (tools/debian-source), cross-built with the same toolchain as a static
# library, without its demo programs, inside the build directory. That happens
# once, at the first configure; later ones use what is there. GLUT::GLUT then
# comes from cmake/windows/FindGLUT.cmake, which src/ finds as on Linux.
set(FREEGLUT_DOWNLOADS ${CMAKE_BINARY_DIR}/freeglut/downloads CACHE PATH
    "Directory for Debian's freeglut source package; one that already holds it is used as it is")
set(freeglut ${CMAKE_BINARY_DIR}/freeglut)

# run(WHAT COMMAND...): runs a step of the freeglut build, and stops with its output when it fails.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "freeglut: ${what} failed (${status}):\n${output}")
  endif()
endfunction()

if(NOT EXISTS ${freeglut}/installed)
  message(STATUS "freeglut: building Debian's source package in ${freeglut}")
  file(REMOVE_RECURSE ${freeglut}/source ${freeglut}/build ${freeglut}/install)
  run("the download" ${PROJECT_SOURCE_DIR}/tools/debian-source freeglut ${FREEGLUT_DOWNLOADS}
      ${freeglut}/source)
  cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
  # No path of this build directory in the library: two builds anywhere give the same bytes.
  run("configuring" ${CMAKE_COMMAND} -S ${freeglut}/source -B ${freeglut}/build -G ${CMAKE_GENERATOR}
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=${freeglut}/install "-DCMAKE_C_FLAGS=-ffile-prefix-map=${freeglut}=freeglut"
      -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON
      -DFREEGLUT_REPLACE_GLUT=ON)  # GL/glut.h, as on Linux
  run("the build" ${CMAKE_COMMAND} --build ${freeglut}/build --parallel ${cores})
  run("the install" ${CMAKE_COMMAND} --install ${freeglut}/build)
  file(TOUCH ${freeglut}/installed)
endif()
set(FREEGLUT_SOURCE ${freeglut}/source)  # for its copyright notices
file(STRINGS ${freeglut}/source/debian/changelog entry LIMIT_COUNT 1)  # freeglut (3.4.0-1) unstable; ...
string(REGEX MATCH "\\(([^)]+)\\)" version "${entry}")
set(FREEGLUT_DEBIAN_VERSION ${CMAKE_MATCH_1})
set(FreeGLUT_DIR ${freeglut}/install/lib/cmake/FreeGLUT)
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
