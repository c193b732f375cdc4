# GLUT in the web build: GLUT::GLUT is the platform layer of web/ (GLUT over the
# page's canvas), which web/CMakeLists.txt makes before src/ looks for it.
if(NOT TARGET GLUT::GLUT)
  message(FATAL_ERROR "FindGLUT (web): no GLUT::GLUT; add_subdirectory(web) comes before src/")
endif()
set(GLUT_FOUND TRUE)
