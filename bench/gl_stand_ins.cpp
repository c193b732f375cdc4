// Stand-ins for the four GL entry points drawGrid calls, for bench_scene only:
// the executable's own definitions take the place of libGL's, so the program's
// real drawGrid runs its loops and face normals with no driver behind them.
// They do nothing, but in their own file the compiler still has to call them.
#include <GL/gl.h>

extern "C" {

void glBegin(GLenum /*mode*/) {}
void glEnd() {}
void glNormal3f(GLfloat /*nx*/, GLfloat /*ny*/, GLfloat /*nz*/) {}
void glVertex3f(GLfloat /*x*/, GLfloat /*y*/, GLfloat /*z*/) {}

}  // extern "C"
