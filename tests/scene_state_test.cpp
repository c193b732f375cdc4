// The floor and ledge grids and the height-to-view mapping.
#include <gtest/gtest.h>

#include "scene_state.h"

namespace {

class Meshes : public testing::Test {
protected:
    void SetUp() override
    {
        initSceneState();
        initMeshes();
    }
    const GridMesh& floor_ = scene.floorMesh;
    const GridMesh& ledge_ = scene.ledgeMesh;
};

TEST_F(Meshes, FloorIsAFlatSquareAtHeightZero)
{
    for (int r = 0; r < floorVertices; ++r) {
        EXPECT_FLOAT_EQ(floor_.x[r][0], -0.98f);
        EXPECT_FLOAT_EQ(floor_.x[r][49], 0.98f);
        for (int c = 0; c < floorVertices; ++c) {
            ASSERT_EQ(floor_.z[r][c], -1.0f) << r << "," << c;
            ASSERT_EQ(floor_.x[r][c], floor_.x[0][c]) << "x must not change down a column";
            ASSERT_EQ(floor_.y[r][c], floor_.y[r][0]) << "y must not change along a row";
        }
    }
    for (int c = 0; c < floorVertices; ++c) {
        EXPECT_FLOAT_EQ(floor_.y[0][c], -0.98f);
        EXPECT_FLOAT_EQ(floor_.y[49][c], 0.98f);
    }
}

TEST_F(Meshes, FloorSpacingIsEven)
{
    for (int i = 1; i < floorVertices; ++i) {
        EXPECT_NEAR(floor_.x[0][i] - floor_.x[0][i - 1], 0.04f, 1e-6f) << i;
        EXPECT_NEAR(floor_.y[i][0] - floor_.y[i - 1][0], 0.04f, 1e-6f) << i;
    }
    // Each vertex is rounded once from the exact value, not accumulated.
    EXPECT_EQ(floor_.x[0][25], static_cast<float>(25.5 * 0.04 - 1.0));
}

TEST_F(Meshes, LedgeIsANarrowStripAtLaunchHeight)
{
    const float launchZ = heightToViewZ(100.0f);
    for (int j = 0; j < ledgeVertices; ++j) {
        EXPECT_FLOAT_EQ(ledge_.x[j][0], -0.999f);
        EXPECT_FLOAT_EQ(ledge_.x[j][39], -0.921f);
        for (int k = 0; k < ledgeVertices; ++k) {
            ASSERT_EQ(ledge_.z[j][k], launchZ) << j << "," << k;
        }
    }
    for (int k = 0; k < ledgeVertices; ++k) {
        EXPECT_FLOAT_EQ(ledge_.y[0][k], -0.245f);
        EXPECT_FLOAT_EQ(ledge_.y[39][k], 0.145f);
    }
    for (int i = 1; i < ledgeVertices; ++i) {
        EXPECT_NEAR(ledge_.x[0][i] - ledge_.x[0][i - 1], 0.002f, 1e-6f) << i;
        EXPECT_NEAR(ledge_.y[i][0] - ledge_.y[i - 1][0], 0.01f, 1e-6f) << i;
    }
}

TEST_F(Meshes, LedgeLeavesUnusedRowsAndColumnsZero)
{
    for (int r = 0; r < gridSize; ++r) {
        for (int c = 0; c < gridSize; ++c) {
            if (r < ledgeVertices && c < ledgeVertices) continue;
            ASSERT_EQ(ledge_.x[r][c], 0.0f) << r << "," << c;
            ASSERT_EQ(ledge_.y[r][c], 0.0f) << r << "," << c;
            ASSERT_EQ(ledge_.z[r][c], 0.0f) << r << "," << c;
        }
    }
}

TEST_F(Meshes, LedgeFollowsTheLaunchHeight)
{
    scene.launchHeight = 60.0f;
    initMeshes();
    EXPECT_EQ(ledge_.z[0][0], 0.0f);
    EXPECT_EQ(ledge_.z[39][39], 0.0f);
}

TEST(HeightToViewZ, MapsFloorLedgeAndTop)
{
    initSceneState();
    EXPECT_EQ(heightToViewZ(0.0f), -1.0f);
    EXPECT_EQ(heightToViewZ(100.0f), static_cast<float>(200.0 / 120.0 - 1.0));
    EXPECT_FLOAT_EQ(heightToViewZ(100.0f), 0.6666667f);
    EXPECT_EQ(heightToViewZ(120.0f), 1.0f);
    EXPECT_EQ(heightToViewZ(60.0f), 0.0f);
}

TEST(StartUp, BallRestsOnTheLedge)
{
    initSceneState();
    initMeshes();
    const GridMesh& ledge = scene.ledgeMesh;
    EXPECT_EQ(scene.ballX, -0.99f);
    EXPECT_EQ(heightToViewZ(scene.height), ledge.z[0][0]);
    EXPECT_GE(scene.ballX, ledge.x[0][0]);
    EXPECT_LE(scene.ballX, ledge.x[0][39]);
    EXPECT_GE(0.0f, ledge.y[0][0]);
    EXPECT_LE(0.0f, ledge.y[39][0]);
}

}  // namespace
