// Drawing of the scene: the floor and ledge grids as lit quads, and the ball.
#pragma once

#include "scene_state.h"

struct Vec3 {
    float x, y, z;
};

// Ambient colours of the floor and the ledge (red, green, blue, alpha); diffuse,
// specular and shininess are the ones set at start-up, shared by every object.
extern const float floorAmbient[4];
extern const float ledgeAmbient[4];

// GLUT display callback: draws floor, ledge and ball into the back buffer.
// It does not swap; onIdle shows the frame.
void drawScene();

// Draws the ball at its current place, in its own ambient colour.
void drawBall();

// Draws the first quadRows x quadColumns quads of a mesh, each with its own normal.
// Input: mesh, the vertex grid; quadRows, quadColumns, quads to draw down and across.
void drawGrid(const GridMesh& mesh, int quadRows, int quadColumns);

// Unnormalised normal of the face through three points: (p1 - p0) x (p2 - p0).
// Input: p0, p1, p2, corners of the face.
Vec3 faceNormal(Vec3 p0, Vec3 p1, Vec3 p2);
