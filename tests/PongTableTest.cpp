#include <array>
#include <cstdlib>
#include <gtest/gtest.h>

#include "opening/PongTable.h"

TEST(PongTable, APointGoesToWhoeverTheBallLeftBehindAndServesFromTheCentre) {
    PongTable table(320, 200);
    table.rightPaddle.y = 0;
    table.leftPaddle.y = 30;
    table.ball = {320, 50, 4, 4};
    table.vx = 3;
    table.vy = 2;
    table.hitCount = 2;
    table.step();
    // The loser's paddle is re-centred; served its way at speed 1 from the centre, moved once.
    EXPECT_EQ((std::array{table.leftScore, table.rightScore}), (std::array{1u, 0u}));
    EXPECT_EQ((std::array{table.rightPaddle.y, table.leftPaddle.y, table.vx, table.vy, table.hitCount,
                          table.ball.x, table.ball.y}),
              (std::array{91, 30, 1, 0, 0, 159, 98}));
    table.ball.x = 0; // not strictly inside: the right player scores
    table.step();
    EXPECT_EQ((std::array{int(table.rightScore), table.leftPaddle.y, table.vx, table.ball.x}),
              (std::array{1, 91, -1, 157}));
    table.ball.x = 1; // still in play
    table.step();
    EXPECT_EQ(table.leftScore + table.rightScore, 2u);
    // A "1" is 3 wide, every other digit 11, and 3 pixels stand between digits.
    EXPECT_EQ((std::array{table.digitAdvance(1), table.digitAdvance(7)}), (std::array{6, 14}));
}

TEST(PongTable, PaddleHitsSetTheSlopeAndEveryThirdSpeedsUp) {
    PongTable table(320, 200);
    // Left paddle (top 91): slope (2 - 9 - 91 + y) / 4, truncated towards zero; the third hit adds
    // one pixel a frame. The right paddle sends a flat ball back with a random slope of -5..5.
    for (auto [left, y, vy, vx, hits] :
         {std::array{1, 98, 0, 1, 1}, {1, 108, 2, 1, 2}, {1, 88, -2, 2, 0}, {0, 98, 0, -2, 1}}) {
        table.ball = {left ? table.leftPaddle.x + table.leftPaddle.w - 1 : table.rightPaddle.x - 3, y, 4, 4};
        table.vx = left ? -1 : 2;
        table.vy = 0;
        EXPECT_EQ(table.step(), left ? PongTable::LeftHit : PongTable::RightHit) << y;
        EXPECT_LE(std::abs(table.vy), 5);
        EXPECT_EQ((std::array{left ? table.vy : 0, table.vx, table.hitCount}), (std::array{vy, vx, hits}))
            << y;
    }
    table.ball = {100, 100, 4, 4};
    table.vx = -1;
    EXPECT_EQ(table.step(), PongTable::NoHit);
    EXPECT_EQ(table.ball.x, 99);
}

TEST(PongTable, WallsTurnTheBallAndPaddlesStayOnScreen) {
    PongTable table(320, 200);
    // Top: turned when y is below the ball's height; bottom: once y > 200 - 8 - vy.
    for (auto [y, vy, turned] : {std::array{3, -1, 1}, {4, -1, -1}, {190, 2, 2}, {191, 2, -2}}) {
        table.ball = {100, y, 4, 4};
        table.vy = vy;
        table.step();
        EXPECT_EQ(table.vy, turned) << y;
    }
    // Up (8) and down (2) one paddle speed a frame, together nothing, always on the screen.
    for (auto [directions, times, y] : {std::array{8, 300, 0}, {2, 300, 181}, {10, 1, 181}}) {
        for (int i = 0; i < times; ++i)
            table.movePlayer(static_cast<uint8_t>(directions));
        EXPECT_EQ(table.leftPaddle.y, y) << directions;
    }
    // The right paddle chases the ball only while it comes its way, and stays on the screen.
    table.ball = {200, 20, 4, 4};
    table.vy = 0;
    for (auto [from, vx, ballY, to] :
         {std::array{91, -1, 20, 91}, {91, 1, 20, 90}, {90, 1, 170, 91}, {0, 1, 2, 0}}) {
        table.rightPaddle.y = from;
        table.vx = vx;
        table.ball.y = ballY;
        table.step();
        EXPECT_EQ(table.rightPaddle.y, to) << from << " " << ballY;
    }
}
