// The ball's motion: one fixed simulation step per call, throw after throw.
#pragma once

// Advances the ball by one step: gravity, bounces on the floor, constant
// pace to the right, and a new throw from the ledge after 99 steps.
// Needs the scene's start-up values (initSceneState).
void stepBall();
