/* OpenGL 1.1 for the web build: the part of it that the program calls, with
 * OpenGL's own names and values, drawn over WebGL by web/gl.cpp. The values
 * that WebGL shares are spelt as Khronos' GLES2/gl2.h spells them, so that the
 * layer can include both. */
#ifndef BOUNCING_BALL_WEB_GL_H
#define BOUNCING_BALL_WEB_GL_H

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int GLenum;
typedef unsigned int GLbitfield;
typedef int GLint;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;

#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_TRIANGLE_STRIP 0x0005
#define GL_QUADS 0x0007
#define GL_FRONT_AND_BACK 0x0408
#define GL_LIGHTING 0x0B50
#define GL_LIGHT_MODEL_TWO_SIDE 0x0B52
#define GL_LIGHT_MODEL_AMBIENT 0x0B53
#define GL_DEPTH_TEST 0x0B71
#define GL_NORMALIZE 0x0BA1
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_SHININESS 0x1601
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_LIGHT0 0x4000

/* Primitives: GL_QUADS and GL_TRIANGLE_STRIP. */
void glBegin(GLenum mode);
void glEnd(void);
void glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);

/* Lighting: one material for both faces, GL_LIGHT0, the light model. */
void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params);
void glMaterialf(GLenum face, GLenum pname, GLfloat param);
void glLightfv(GLenum light, GLenum pname, const GLfloat* params);
void glLightModelf(GLenum pname, GLfloat param);
void glLightModelfv(GLenum pname, const GLfloat* params);

/* GL_LIGHTING, GL_LIGHT0, GL_DEPTH_TEST, GL_NORMALIZE. */
void glEnable(GLenum cap);

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void glClear(GLbitfield mask);
void glFlush(void);

/* The modelview and projection matrix stacks. */
void glMatrixMode(GLenum mode);
void glLoadIdentity(void);
void glOrtho(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar);
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glPushMatrix(void);
void glPopMatrix(void);

#ifdef __cplusplus
}
#endif

#endif
