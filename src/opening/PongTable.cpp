#include "opening/PongTable.h"

#include <cstdlib>

namespace {
int32_t part(int size, double fraction) {
    return static_cast<int32_t>(size * fraction); // truncation toward zero
}

bool overlaps(const PongRect& a, const PongRect& b) {
    return a.x < b.x + b.w && a.x + a.w > b.x && a.y < b.y + b.h && a.y + a.h > b.y;
}

int32_t magnitude(int32_t v) {
    return v < 0 ? -v : v;
}
} // namespace

PongTable::PongTable(int w, int h)
    : width(w), height(h), paddleHeight(part(h, 0.097)), ballSize(part(w, 0.014)), vx(part(w, -0.006)),
      paddleSpeed(part(w, 0.006)), serveSpeed(part(w, 0.006)), oneWidth(part(w, 0.011)),
      digitWidth(part(w, 0.035)), digitSpacing(part(w, 0.011)) {
    const int32_t inset = part(w, 0.03);
    const int32_t paddleWidth = part(w, 0.009);
    leftPaddle = {inset, h / 2 - paddleHeight / 2, paddleWidth, paddleHeight};
    rightPaddle = {w - inset, h / 2 - paddleHeight / 2, paddleWidth, paddleHeight};
    centreBall();
}

void PongTable::centreBall() {
    ball = {width / 2 - ballSize / 2, height / 2 - ballSize / 2, ballSize, ballSize};
}

void PongTable::rollBlocks() {
    blocks.clear();
    const int32_t unitW = part(width, 0.03);
    const int32_t unitH = part(height, 0.03);
    for (int i = 0; i < kBlockCount; ++i) {
        PongRect block;
        block.w = unitW * (1 + std::rand() % 3);
        block.h = unitH * (1 + std::rand() % 3);
        // A screen narrower than the block leaves nothing to pick from: the block stands at 0.
        const int roomX = width - block.w;
        block.x = roomX > 0 ? std::rand() % roomX : 0;
        const int roomY = height - block.h;
        block.y = roomY > 0 ? std::rand() % roomY : 0;
        blocks.push_back(block);
    }
}

void PongTable::movePlayer(uint8_t directions) {
    if ((directions & 8) && leftPaddle.y > 0) leftPaddle.y -= paddleSpeed;
    if ((directions & 2) && leftPaddle.y < height - paddleHeight) leftPaddle.y += paddleSpeed;
}

int32_t PongTable::bounceFrom(const PongRect& paddle) const {
    // How far the ball's centre sits below the paddle's: the edges send it off steeper.
    return (ballSize / 2 - paddle.h / 2 - paddle.y + ball.y) / 4;
}

PongTable::Hit PongTable::step() {
    Hit hit = NoHit;
    if (overlaps(ball, leftPaddle)) {
        vx = magnitude(vx);
        vy = bounceFrom(leftPaddle);
        ++hitCount;
        hit = LeftHit;
    }
    if (overlaps(ball, rightPaddle)) {
        vx = -magnitude(vx);
        vy = bounceFrom(rightPaddle);
        // A dead-centre return would run flat forever: give it a random slope.
        if (vy == 0) vy += std::rand() % 11 - 5;
        ++hitCount;
        hit = RightHit;
    }
    if (!(ball.x > 0 && ball.x < width)) {
        if (ball.x > 0) {
            ++leftScore;
            vx = serveSpeed;
            rightPaddle.y = height / 2 - paddleHeight / 2;
        } else {
            ++rightScore;
            vx = -serveSpeed;
            leftPaddle.y = height / 2 - paddleHeight / 2;
        }
        centreBall();
        vy = 0;
        hitCount = 0;
    }
    if (ball.y < ball.h || ball.y > height - 2 * ballSize - vy) vy = -vy;
    if (hitCount >= 3) {
        vx += vx < 0 ? -1 : 1;
        hitCount = 0;
    }
    ball.x += vx;
    ball.y += vy;

    if (vx > 0) {
        const int32_t ballCentre = ball.y + ballSize / 2;
        const int32_t paddleCentre = rightPaddle.y + paddleHeight / 2;
        if (ballCentre < paddleCentre && rightPaddle.y >= 1)
            rightPaddle.y -= paddleSpeed;
        else if (ballCentre > paddleCentre && rightPaddle.y < height - paddleHeight)
            rightPaddle.y += paddleSpeed;
    }
    return hit;
}

int PongTable::digitAdvance(int digit) const {
    return (digit == 1 ? oneWidth : digitWidth) + digitSpacing;
}

std::vector<PongRect> PongTable::digitPieces(int digit, int x, int y) const {
    // Seven segments: a stroke as thick as a "1" is wide, the digit twice as tall as it is wide.
    const int32_t t = oneWidth;
    const int32_t w = digitWidth;
    const int32_t h = 2 * digitWidth - t;
    if (digit == 1) return {{x, y, t, h}};
    const int32_t mid = y + (h - t) / 2;
    const PongRect top{x, y, w, t}, middle{x, mid, w, t}, bottom{x, y + h - t, w, t};
    const PongRect upLeft{x, y, t, mid - y + t}, upRight{x + w - t, y, t, mid - y + t};
    const PongRect downLeft{x, mid, t, y + h - mid}, downRight{x + w - t, mid, t, y + h - mid};
    switch (digit) {
    case 0:
        return {top, bottom, upLeft, downLeft, upRight, downRight};
    case 2:
        return {top, upRight, middle, downLeft, bottom};
    case 3:
        return {top, upRight, middle, downRight, bottom};
    case 4:
        return {upLeft, middle, upRight, downRight};
    case 5:
        return {top, upLeft, middle, downRight, bottom};
    case 6:
        return {top, upLeft, middle, downLeft, downRight, bottom};
    case 7:
        return {top, upRight, downRight};
    case 8:
        return {top, middle, bottom, upLeft, upRight, downLeft, downRight};
    case 9:
        return {top, upLeft, upRight, middle, downRight, bottom};
    default:
        return {};
    }
}
