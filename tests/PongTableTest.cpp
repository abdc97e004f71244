#include <cstdlib>
#include <gtest/gtest.h>

#include "opening/PongTable.h"

TEST(PongTable, APointGoesToWhoeverTheBallLeftBehind) {
    PongTable table(320, 200);
    table.rightPaddle.y = 0;
    table.leftPaddle.y = 30;
    table.ball = {320, 50, 4, 4};
    table.vx = 3;
    table.vy = 2;
    table.hitCount = 2;
    table.step();
    EXPECT_EQ(table.leftScore, 1u);
    EXPECT_EQ(table.rightScore, 0u);
    EXPECT_EQ(table.rightPaddle.y, 91) << "the right paddle is re-centred";
    EXPECT_EQ(table.leftPaddle.y, 30);
    EXPECT_EQ(table.vx, 1) << "served to the right at speed 1";
    EXPECT_EQ(table.vy, 0);
    EXPECT_EQ(table.hitCount, 0);
    EXPECT_EQ(table.ball.x, 159) << "from the centre, moved once";
    EXPECT_EQ(table.ball.y, 98);

    table.ball.x = 0; // not strictly inside: the right player scores
    table.step();
    EXPECT_EQ(table.rightScore, 1u);
    EXPECT_EQ(table.leftPaddle.y, 91);
    EXPECT_EQ(table.vx, -1);
    EXPECT_EQ(table.ball.x, 157);
    table.ball.x = 1; // still in play
    table.step();
    EXPECT_EQ(table.leftScore + table.rightScore, 2u);
    // A "1" is 3 wide, every other digit 11, and 3 pixels stand between digits.
    EXPECT_EQ(table.digitAdvance(1), 6);
    EXPECT_EQ(table.digitAdvance(7), 14);
}

TEST(PongTable, PaddleHitsSetTheSlopeAndEveryThirdSpeedsUp) {
    PongTable table(320, 200);
    // Where the ball meets the left paddle (top 91) gives the slope: (2 - 9 - 91 + y) / 4,
    // truncated towards zero; the third hit adds one pixel a frame.
    struct Hit {
        int32_t y, vy, vx, hitCount;
    };
    for (const Hit& hit : {Hit{98, 0, 1, 1}, Hit{108, 2, 1, 2}, Hit{88, -2, 2, 0}}) {
        table.ball = {table.leftPaddle.x + table.leftPaddle.w - 1, hit.y, 4, 4};
        table.vx = -1;
        table.vy = 0;
        EXPECT_EQ(table.step(), PongTable::LeftHit) << hit.y;
        EXPECT_EQ(table.vy, hit.vy) << hit.y;
        EXPECT_EQ(table.vx, hit.vx) << hit.y;
        EXPECT_EQ(table.hitCount, hit.hitCount) << hit.y;
    }
    EXPECT_EQ(table.ball.y, 86);

    // The right paddle sends it back left; a flat return gets a random slope of -5..5.
    table.ball = {table.rightPaddle.x - 3, 98, 4, 4};
    table.vx = 2;
    table.vy = 0;
    EXPECT_EQ(table.step(), PongTable::RightHit);
    EXPECT_EQ(table.vx, -2);
    EXPECT_LE(std::abs(table.vy), 5);
    EXPECT_EQ(table.hitCount, 1);
    // Not touching: no hit, nothing changes but the position.
    table.ball = {100, 100, 4, 4};
    table.vx = -1;
    table.vy = 0;
    EXPECT_EQ(table.step(), PongTable::NoHit);
    EXPECT_EQ(table.ball.x, 99);
}

TEST(PongTable, WallsTurnTheBallAndPaddlesStayOnScreen) {
    PongTable table(320, 200);
    // Top: turned when y is below the ball's height; bottom: once y > 200 - 8 - vy.
    struct Wall {
        int32_t y, vy, turned;
    };
    for (const Wall& wall : {Wall{3, -1, 1}, Wall{4, -1, -1}, Wall{190, 2, 2}, Wall{191, 2, -2}}) {
        table.ball = {100, wall.y, 4, 4};
        table.vy = wall.vy;
        table.step();
        EXPECT_EQ(table.vy, wall.turned) << wall.y;
    }

    for (int i = 0; i < 300; ++i)
        table.movePlayer(8);
    EXPECT_EQ(table.leftPaddle.y, 0);
    for (int i = 0; i < 300; ++i)
        table.movePlayer(2);
    EXPECT_EQ(table.leftPaddle.y, 181);
    table.movePlayer(8 | 2);
    EXPECT_EQ(table.leftPaddle.y, 181) << "up and down together cancel";

    // The right paddle chases the ball only while it comes its way, and stays on the screen.
    table.rightPaddle.y = 91;
    table.ball = {200, 20, 4, 4};
    table.vx = -1;
    table.vy = 0;
    table.step();
    EXPECT_EQ(table.rightPaddle.y, 91);
    table.vx = 1;
    table.step();
    EXPECT_EQ(table.rightPaddle.y, 90);
    table.ball.y = 170;
    table.step();
    EXPECT_EQ(table.rightPaddle.y, 91);
    table.rightPaddle.y = 0;
    table.ball.y = 2;
    table.step();
    EXPECT_EQ(table.rightPaddle.y, 0);
}
