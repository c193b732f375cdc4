/* GLUT for the web build: the part of it that the program calls, with GLUT's
 * own names and values, over the page's canvas (web/glut.cpp, web/glut.js) and
 * web/sphere.cpp. */
#ifndef BOUNCING_BALL_WEB_GLUT_H
#define BOUNCING_BALL_WEB_GLUT_H

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

#define GLUT_DOUBLE 0x0002
#define GLUT_DEPTH 0x0010

#define GLUT_LEFT_BUTTON 0
#define GLUT_MIDDLE_BUTTON 1
#define GLUT_RIGHT_BUTTON 2
#define GLUT_DOWN 0
#define GLUT_UP 1

void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
int glutCreateWindow(const char* title);

void glutDisplayFunc(void (*callback)(void));
void glutMouseFunc(void (*callback)(int button, int state, int x, int y));
void glutMotionFunc(void (*callback)(int x, int y));
void glutIdleFunc(void (*callback)(void));

/* Hands the page's frames and pointer to the callbacks; returns to the
 * browser, never to its caller. */
void glutMainLoop(void);
void glutSwapBuffers(void);
void glutPostRedisplay(void);

void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks);

#ifdef __cplusplus
}
#endif

#endif
