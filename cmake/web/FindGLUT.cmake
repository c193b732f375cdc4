# GLUT in the web build: GLUT::GLUT is the platform layer of web/ (GLUT over
# the page's canvas), the library web_layer that web/CMakeLists.txt makes.
if(NOT TARGET web_layer)
  message(FATAL_ERROR "FindGLUT (web): no target web_layer; add_subdirectory(web) comes before src/")
endif()
add_library(GLUT::GLUT INTERFACE IMPORTED)
target_link_libraries(GLUT::GLUT INTERFACE web_layer)
set(GLUT_FOUND TRUE)
