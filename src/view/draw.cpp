#include "draw.h"

#include <GL/glut.h>

const GLfloat floorAmbient[4] = {0.15f, 0.22f, 1.0f, 1.0f};
const GLfloat ledgeAmbient[4] = {0.15f, 0.82f, 0.16f, 1.0f};

namespace {

const GLfloat ballAmbient[] = {0.25f, 0.32f, 0.36f, 1.0f};

const GLdouble ballRadius = 0.1;  // view units
const GLint ballSlices = 50;
const GLint ballStacks = 50;

Vec3 vertexAt(const GridMesh& mesh, int row, int column)
{
    return Vec3{mesh.x[row][column], mesh.y[row][column], mesh.z[row][column]};
}

}  // namespace

Vec3 faceNormal(Vec3 p0, Vec3 p1, Vec3 p2)
{
    const double ux = static_cast<double>(p1.x) - static_cast<double>(p0.x);
    const double uy = static_cast<double>(p1.y) - static_cast<double>(p0.y);
    const double uz = static_cast<double>(p1.z) - static_cast<double>(p0.z);
    const double vx = static_cast<double>(p2.x) - static_cast<double>(p0.x);
    const double vy = static_cast<double>(p2.y) - static_cast<double>(p0.y);
    const double vz = static_cast<double>(p2.z) - static_cast<double>(p0.z);
    return Vec3{static_cast<float>(uy * vz - uz * vy), static_cast<float>(uz * vx - ux * vz),
                static_cast<float>(ux * vy - uy * vx)};
}

void drawGrid(const GridMesh& mesh, int quadRows, int quadColumns)
{
    glBegin(GL_QUADS);
    for (int r = 0; r < quadRows; ++r) {
        for (int c = 0; c < quadColumns; ++c) {
            const Vec3 p00 = vertexAt(mesh, r, c);
            const Vec3 p10 = vertexAt(mesh, r + 1, c);
            const Vec3 p11 = vertexAt(mesh, r + 1, c + 1);
            const Vec3 p01 = vertexAt(mesh, r, c + 1);
            const Vec3 n = faceNormal(p00, p10, p01);
            glNormal3f(n.x, n.y, n.z);
            glVertex3f(p00.x, p00.y, p00.z);
            glVertex3f(p10.x, p10.y, p10.z);
            glVertex3f(p11.x, p11.y, p11.z);
            glVertex3f(p01.x, p01.y, p01.z);
        }
    }
    glEnd();
}

void drawScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, floorAmbient);
    drawGrid(scene.floorMesh, floorVertices - 1, floorVertices - 1);

    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ledgeAmbient);
    drawGrid(scene.ledgeMesh, ledgeVertices - 1, ledgeVertices - 1);

    drawBall();

    glFlush();
}

void drawBall()
{
    glPushMatrix();
    glTranslatef(scene.ballX, 0.0f, heightToViewZ(scene.height));
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ballAmbient);
    glutSolidSphere(ballRadius, ballSlices, ballStacks);
    glPopMatrix();
}
