#pragma once
// PongTable — the paddle-ball game without any drawing: two paddles, the ball, the scores, the speed
// and the twenty light-blocking blocks, all sized from the logical screen.
//
// Owns: plain numbers only. Never: draws, plays sounds or reads input; the scene feeds it the held
// direction bits and turns the hits it reports into sounds.
// On failure: nothing can fail; a screen too small for a block still gets one (it sits at 0).
#include <cstdint>
#include <vector>

struct PongRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
};

class PongTable final {
  public:
    enum Hit { NoHit = 0, LeftHit = 1, RightHit = 2 };
    static constexpr int kBlockCount = 20;
    static constexpr uint32_t kColour = 0xFFEEEEEEu;

    PongTable(int width, int height);

    // Rolls the twenty blocks from std::rand(), in the order width, height, x, y per block.
    void rollBlocks();
    // The player's paddle: bit 8 moves it up, bit 2 down, one paddleSpeed per frame, kept on screen.
    void movePlayer(uint8_t directions);
    // One frame of the ball: paddle hits, a point when it leaves, the walls, the speed-up, the move.
    // The right paddle then follows the ball while it comes its way. Returns the paddle it hit.
    Hit step();

    // Pieces of one decimal digit, in table pixels, with its top-left corner at (x, y).
    std::vector<PongRect> digitPieces(int digit, int x, int y) const;
    // How far the next digit starts after this one.
    int digitAdvance(int digit) const;

    int width;
    int height;
    int32_t paddleHeight;
    int32_t ballSize;
    int32_t hitCount = 0;
    PongRect leftPaddle;
    PongRect rightPaddle;
    PongRect ball;
    int32_t vx;
    int32_t vy = 0;
    uint32_t leftScore = 0;
    uint32_t rightScore = 0;
    int32_t paddleSpeed;
    int32_t serveSpeed;
    int32_t oneWidth;
    int32_t digitWidth;
    int32_t digitSpacing;
    std::vector<PongRect> blocks;

  private:
    int32_t bounceFrom(const PongRect& paddle) const;
    void centreBall();
};
