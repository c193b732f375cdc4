# OpenGL in the web build: OpenGL::GL is the platform layer of web/ (OpenGL 1.1
# over WebGL), the library web_layer that web/CMakeLists.txt makes.
if(NOT TARGET web_layer)
  message(FATAL_ERROR "FindOpenGL (web): no target web_layer; add_subdirectory(web) comes before src/")
endif()
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_libraries(OpenGL::GL INTERFACE web_layer)
set(OPENGL_FOUND TRUE)
