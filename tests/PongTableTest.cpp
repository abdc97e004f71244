#include <cstdlib>
#include <gtest/gtest.h>
#include <set>

#include "opening/PongTable.h"

namespace {
// A ball placed so that it overlaps `paddle` with its top at `y`, coming towards it at `speed`.
void ballOnto(PongTable& table, const PongRect& paddle, int32_t y, int32_t speed) {
    table.ball.x = paddle.x + paddle.w - 1;
    table.ball.y = y;
    table.vx = speed;
    table.vy = 0;
}
} // namespace

TEST(PongTable, EverySizeComesFromTheLogicalScreen) {
    const PongTable table(320, 200);
    EXPECT_EQ(table.paddleHeight, 19);
    EXPECT_EQ(table.ballSize, 4);
    EXPECT_EQ(table.leftPaddle.x, 9);
    EXPECT_EQ(table.leftPaddle.y, 91);
    EXPECT_EQ(table.leftPaddle.w, 2);
    EXPECT_EQ(table.leftPaddle.h, 19);
    EXPECT_EQ(table.rightPaddle.x, 311);
    EXPECT_EQ(table.rightPaddle.y, 91);
    EXPECT_EQ(table.ball.x, 158);
    EXPECT_EQ(table.ball.y, 98);
    EXPECT_EQ(table.ball.w, 4);
    EXPECT_EQ(table.vx, -1);
    EXPECT_EQ(table.vy, 0);
    EXPECT_EQ(table.paddleSpeed, 1);
    EXPECT_EQ(table.leftScore + table.rightScore, 0u);
    // A "1" is 3 wide, every other digit 11, and 3 pixels stand between digits.
    EXPECT_EQ(table.digitAdvance(1), 6);
    EXPECT_EQ(table.digitAdvance(7), 14);
}

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
}

TEST(PongTable, PaddleHitsSetTheSlopeAndEveryThirdSpeedsUp) {
    PongTable table(320, 200);
    // Dead centre on the left paddle (top 91): (2 - 9 - 91 + 98) / 4 = 0.
    ballOnto(table, table.leftPaddle, 98, -1);
    EXPECT_EQ(table.step(), PongTable::LeftHit);
    EXPECT_EQ(table.vx, 1);
    EXPECT_EQ(table.vy, 0);
    EXPECT_EQ(table.hitCount, 1);
    // Low on the paddle: (2 - 9 - 91 + 108) / 4 = 2, downwards.
    ballOnto(table, table.leftPaddle, 108, -1);
    table.step();
    EXPECT_EQ(table.vy, 2);
    EXPECT_EQ(table.hitCount, 2);
    EXPECT_EQ(table.ball.y, 110);
    // The top corner: (2 - 9 - 91 + 88) / 4 = -2 (truncated towards zero from -2.5). Third hit.
    ballOnto(table, table.leftPaddle, 88, -1);
    table.step();
    EXPECT_EQ(table.vy, -2);
    EXPECT_EQ(table.vx, 2) << "three hits add one pixel a frame";
    EXPECT_EQ(table.hitCount, 0);

    // The right paddle sends it back left; a flat return gets a random slope of -5..5.
    std::srand(1234);
    const int expected = std::rand() % 11 - 5;
    std::srand(1234);
    table.ball = {table.rightPaddle.x - 3, 98, 4, 4};
    table.vx = 2;
    table.vy = 0;
    EXPECT_EQ(table.step(), PongTable::RightHit);
    EXPECT_EQ(table.vx, -2);
    EXPECT_EQ(table.vy, expected);
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
    table.ball = {100, 3, 4, 4}; // above the ball's own height from the top
    table.vy = -1;
    table.step();
    EXPECT_EQ(table.vy, 1);
    EXPECT_EQ(table.ball.y, 4);
    table.ball.y = 4; // at the limit: goes on
    table.vy = -1;
    table.step();
    EXPECT_EQ(table.vy, -1);
    // Bottom: turned once y > 200 - 8 - vy.
    table.ball.y = 190;
    table.vy = 2;
    table.step();
    EXPECT_EQ(table.vy, 2);
    table.step();
    EXPECT_EQ(table.vy, -2);

    for (int i = 0; i < 300; ++i)
        table.movePlayer(8);
    EXPECT_EQ(table.leftPaddle.y, 0);
    for (int i = 0; i < 300; ++i)
        table.movePlayer(2);
    EXPECT_EQ(table.leftPaddle.y, 181);
    table.movePlayer(8 | 2);
    EXPECT_EQ(table.leftPaddle.y, 181) << "up and down together cancel";
    table.movePlayer(1 | 4);
    EXPECT_EQ(table.leftPaddle.y, 181);

    // The right paddle chases the ball only while it comes its way.
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

TEST(PongTable, TwentyBlocksRolledWidthHeightXYInTurn) {
    std::srand(99);
    int r[80];
    for (int& v : r)
        v = std::rand();
    std::srand(99);
    PongTable table(320, 200);
    table.rollBlocks();
    ASSERT_EQ(table.blocks.size(), 20u);
    std::set<int32_t> widths, heights;
    for (size_t i = 0; i < table.blocks.size(); ++i) {
        const PongRect& b = table.blocks[i];
        widths.insert(b.w);
        heights.insert(b.h);
        EXPECT_EQ(b.w, 9 * (1 + r[4 * i] % 3));
        EXPECT_EQ(b.h, 6 * (1 + r[4 * i + 1] % 3));
        EXPECT_EQ(b.x, r[4 * i + 2] % (320 - b.w));
        EXPECT_EQ(b.y, r[4 * i + 3] % (200 - b.h));
    }
    EXPECT_TRUE(widths <= (std::set<int32_t>{9, 18, 27}));
    EXPECT_TRUE(heights <= (std::set<int32_t>{6, 12, 18}));
    // Rolled again only when asked.
    const PongRect first = table.blocks[0];
    table.step();
    EXPECT_EQ(table.blocks[0].x, first.x);
}
