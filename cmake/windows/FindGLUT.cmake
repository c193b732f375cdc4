# GLUT on Windows: the static freeglut that cmake/freeglut.cmake built, as
# GLUT::GLUT, the target that CMake's own FindGLUT makes on Linux. Its
# package brings FREEGLUT_STATIC and the system libraries it needs.
find_package(FreeGLUT CONFIG REQUIRED NO_DEFAULT_PATH PATHS ${FreeGLUT_DIR} NO_CMAKE_FIND_ROOT_PATH)
if(NOT TARGET GLUT::GLUT)
  add_library(GLUT::GLUT INTERFACE IMPORTED)
  target_link_libraries(GLUT::GLUT INTERFACE FreeGLUT::freeglut_static)
endif()
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(GLUT REQUIRED_VARS FreeGLUT_DIR VERSION_VAR FreeGLUT_VERSION)
