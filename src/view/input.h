// Pointer input: dragging turns the whole scene, the right button ends the program.
#pragma once

// GLUT mouse callback: a press (or release) of the right button ends the program with status 0.
// Input: button, GLUT button number; state, x, y are not used.
void onMouseButton(int button, int state, int x, int y);

// GLUT motion callback: records where the pointer is while a button is held.
// Input: x, y, pointer position in window pixels, origin top left.
void onMouseDrag(int x, int y);

// Turns the current matrix by 5 degrees about an axis taken from the pointer's
// movement since the last turn; does nothing when the pointer has not moved.
void applyViewRotation();
