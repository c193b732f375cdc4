// glutSolidSphere: the sphere of freeglut 3.4.0's library (src/fg_geometry.c:
// fghCircleTable, fghGenerateSphere, fghSphere), with the same vertices,
// normals and triangle strips in the same order, each strip drawn through
// glBegin(GL_TRIANGLE_STRIP) in place of freeglut's glDrawElements. Derived
// from freeglut under this notice:
//
// Copyright (c) 1999-2000 Pawel W. Olszta. All Rights Reserved.
// Written by Pawel W. Olszta, <olszta@sourceforge.net>
//
// Permission is hereby granted, free of charge, to any person obtaining a
// copy of this software and associated documentation files (the "Software"),
// to deal in the Software without restriction, including without limitation
// the rights to use, copy, modify, merge, publish, distribute, sublicense,
// and/or sell copies of the Software, and to permit persons to whom the
// Software is furnished to do so, subject to the following conditions:
//
// The above copyright notice and this permission notice shall be included
// in all copies or substantial portions of the Software.
//
// THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS
// OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
// FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT.  IN NO EVENT SHALL
// PAWEL W. OLSZTA BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER
// IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN
// CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE.
#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const int maxDivisions = 1024;  // slices and stacks; more are drawn as this many

struct SphereState {
    // Sines and cosines around the circle (slices) and down the half circle (stacks).
    float sliceSin[maxDivisions + 1], sliceCos[maxDivisions + 1];
    float stackSin[maxDivisions + 1], stackCos[maxDivisions + 1];
    float radius;
    int slices, stacks;
};

SphereState sphere;

// fghCircleTable: n + 1 samples of the circle, or of half of it, the last
// equal to the first (or to -1 at the half circle's end); a negative n turns
// the other way. In float, with sin and cos of double, as freeglut computes them.
void fillCircle(float* sines, float* cosines, int n, bool halfCircle)
{
    const int size = std::abs(n);
    const float angle =
        (halfCircle ? 1.0f : 2.0f) * static_cast<float>(3.14159265358979323846) / static_cast<float>(n);
    sines[0] = 0.0f;
    cosines[0] = 1.0f;
    for (int i = 1; i < size; ++i) {
        sines[i] = static_cast<float>(std::sin(static_cast<double>(angle * static_cast<float>(i))));
        cosines[i] = static_cast<float>(std::cos(static_cast<double>(angle * static_cast<float>(i))));
    }
    sines[size] = halfCircle ? 0.0f : sines[0];
    cosines[size] = halfCircle ? -1.0f : cosines[0];
}

// Vertex `index` of fghGenerateSphere's array: the top (0), the stacks' rings
// of `slices` vertices from the top down, then the bottom; normal, then position.
void emitVertex(int index)
{
    const int bottom = sphere.slices * (sphere.stacks - 1) + 1;
    float x = 0.0f, y = 0.0f, z = index == 0 ? 1.0f : -1.0f;
    if (index != 0 && index != bottom) {
        const int stack = (index - 1) / sphere.slices + 1, slice = (index - 1) % sphere.slices;
        x = sphere.sliceCos[slice] * sphere.stackSin[stack];
        y = sphere.sliceSin[slice] * sphere.stackSin[stack];
        z = sphere.stackCos[stack];
    }
    glNormal3f(x, y, z);
    glVertex3f(x * sphere.radius, y * sphere.radius, z * sphere.radius);
}

// One strip of fghSphere's index array, which pairs each vertex of one ring
// (`upper`, or the top) with the one below it (`lower`, or the bottom), around
// the sphere and back to the first slice.
void emitStrip(int upper, int lower, bool upperIsPole, bool lowerIsPole)
{
    glBegin(GL_TRIANGLE_STRIP);
    for (int slice = 0; slice <= sphere.slices; ++slice) {
        const int j = slice % sphere.slices;
        emitVertex(lowerIsPole ? lower : lower + j);
        emitVertex(upperIsPole ? upper : upper + j);
    }
    glEnd();
}

}  // namespace

void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks)
{
    if (slices <= 0 || stacks < 2) return;  // nothing to draw
    sphere.slices = std::min(slices, maxDivisions);
    sphere.stacks = std::min(stacks, maxDivisions);
    sphere.radius = static_cast<float>(radius);
    fillCircle(sphere.sliceSin, sphere.sliceCos, -sphere.slices, false);
    fillCircle(sphere.stackSin, sphere.stackCos, sphere.stacks, true);

    const int bottom = sphere.slices * (sphere.stacks - 1) + 1;
    emitStrip(0, 1, true, false);  // the top stack: each vertex of the first ring, then the top
    for (int stack = 0; stack < sphere.stacks - 2; ++stack) {
        const int ring = 1 + stack * sphere.slices;
        emitStrip(ring, ring + sphere.slices, false, false);
    }
    emitStrip(1 + (sphere.stacks - 2) * sphere.slices, bottom, false, true);  // the bottom stack
}
