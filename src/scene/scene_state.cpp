#include "scene_state.h"

SceneState scene;

void initSceneState()
{
    scene = SceneState{};  // zero every field, the mesh arrays included

    scene.timeStep = 0.1f;
    scene.gravity = -9.8f;
    scene.restitution = 0.8f;
    scene.launchHeight = 100.0f;
    scene.heightScale = 120.0f;

    scene.height = 100.0f;
    scene.previousHeight = 0.0f;
    scene.launchVelocity = 10.0f;
    scene.stepCount = 1;
    scene.bounceStep = 0;
    scene.ballX = -0.99f;

    scene.pointerX = 0;
    scene.pointerY = 0;
    scene.appliedX = 0;
    scene.appliedY = 0;
}

float heightToViewZ(float h)
{
    return static_cast<float>(2.0 * static_cast<double>(h) / static_cast<double>(scene.heightScale) - 1.0);
}

void initMeshes()
{
    GridMesh& floor = scene.floorMesh;
    GridMesh& ledge = scene.ledgeMesh;

    // Floor: a flat square at height 0 (view z -1), vertices 0.04 apart, centred on the origin.
    for (int i = 0; i < floorVertices; ++i) {
        for (int j = 0; j < floorVertices; ++j) {
            floor.z[i][j] = -1.0f;
        }
    }
    for (int i = 0; i < floorVertices; ++i) {
        const float rowY = static_cast<float>((i + 0.5) * 0.04 - 1.0);
        for (int j = 0; j < floorVertices; ++j) {
            floor.y[i][j] = rowY;
            floor.x[i][j] = static_cast<float>((j + 0.5) * 0.04 - 1.0);
        }
    }

    // Ledge: a narrow strip at the launch height along the floor's left edge,
    // 0.002 apart in x (from -0.999) and 0.01 apart in y (from -0.245).
    const double ledgeZ =
        2.0 * static_cast<double>(scene.launchHeight) / static_cast<double>(scene.heightScale) - 1.0;
    for (int j = 0; j < ledgeVertices; ++j) {
        for (int k = 0; k < ledgeVertices; ++k) {
            ledge.z[j][k] = static_cast<float>(ledgeZ);
            ledge.y[j][k] = static_cast<float>((j + 0.5) * 0.01 - 0.25);
            ledge.x[j][k] = static_cast<float>((k + 0.5) * 0.002 - 1.0);
        }
    }
}
