// The scene record: every constant and variable of the bouncing-ball scene,
// the two vertex grids (floor and ledge) and their one-time generation.
#pragma once

#include <cstdint>

// Vertices of one grid, one array per coordinate, indexed [row][column].
// The row length is always gridSize, also for meshes that use fewer columns.
constexpr int gridSize = 50;

struct GridMesh {
    float x[gridSize][gridSize];
    float y[gridSize][gridSize];
    float z[gridSize][gridSize];
};

// Floor and ledge sizes, in vertices per side.
constexpr int floorVertices = 50;
constexpr int ledgeVertices = 40;

// Number of steps in one throw; a step counter reaching throwSteps + 1 starts the next throw.
constexpr std::int32_t throwSteps = 99;

struct SceneState {
    // Constants of the throw, fixed after start-up.
    float timeStep;      // length of one simulation step, in scene time units
    float gravity;       // vertical acceleration, negative is downward
    float restitution;   // fraction of the arriving speed a bounce gives back
    float launchHeight;  // height of the ledge, in scene units
    float heightScale;   // the height that maps to view z = +1

    // The ball.
    float height;             // above the floor, in scene units; never negative after a step
    float previousHeight;     // height at the start of the latest step
    float launchVelocity;     // vertical velocity at the start of the current flight, up is positive
    std::int32_t stepCount;   // step within the current throw, 1..99; 100 starts a new throw
    std::int32_t bounceStep;  // stepCount of the last bounce; 0 when the flight began with the throw
    float ballX;              // view x of the ball's centre

    // The pointer, in window pixels with the origin at the top left.
    std::int32_t pointerX, pointerY;  // last position reported while dragging
    std::int32_t appliedX, appliedY;  // position at which the view was last turned

    GridMesh floorMesh;  // 50 x 50 vertices
    GridMesh ledgeMesh;  // 40 x 40 vertices in rows and columns 0..39
};

// The one scene of the process, in static storage.
extern SceneState scene;

// Gives every field of the scene its start-up value (the meshes are cleared;
// initMeshes fills them).
void initSceneState();

// Fills the floor and ledge meshes. Needs launchHeight and heightScale set.
void initMeshes();

// View z of a height: 0 (the floor) gives -1, heightScale gives +1.
// Input: h, height in scene units.
float heightToViewZ(float h);
