// Start-up and frame loop: the window, the fixed OpenGL state and the idle callback.
#pragma once

// Initialises GLUT with the command line, opens the 500 x 500 double-buffered
// window and registers the callbacks.
// Input: argc, argv, the command line; GLUT takes out its own options.
void openWindow(int* argc, char** argv);

// Sets the fixed OpenGL state: material, lighting, depth test, clear colour
// and the projection. Needs the window's GL context.
void initGlState();

// GLUT idle callback: one simulation step, the view turn, then shows the
// frame drawn last and asks for the next.
void onIdle();
