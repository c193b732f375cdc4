# OpenGL in the web build: OpenGL::GL is the platform layer of web/ (OpenGL 1.1
# over WebGL), which web/CMakeLists.txt makes before src/ looks for it.
if(NOT TARGET OpenGL::GL)
  message(FATAL_ERROR "FindOpenGL (web): no OpenGL::GL; add_subdirectory(web) comes before src/")
endif()
set(OPENGL_FOUND TRUE)
