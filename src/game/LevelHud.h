#pragma once
// LevelHud — the level's numbers: painted share and goal, time left, survivors and the column's
// count, the brush reserves beside the pointer and the tool's name.
//
// Owns: its six text boxes. Draws into whatever target is bound (the level binds the HUD layer).
// Never: changes a counter; it only shows them. On failure: with no font the texts draw nothing;
// with no icon the icon is skipped.
#include <cstdint>
#include <memory>

#include "base/ClipRect.h"

class ProgressRecord;
class TextBox;
struct LevelInfo;

class LevelHud final {
  public:
    LevelHud(uint16_t logicalWidth, uint16_t logicalHeight);
    ~LevelHud();

    // The goal line: "HUD_GOAL" with its variable as two digits and "%".
    void setGoal(int32_t goalPercent);
    // `buttons` is SDL's held-button mask; (px, py) the pointer in logical pixels.
    void draw(const ProgressRecord& progress, const LevelInfo* level, int32_t px, int32_t py,
              uint32_t buttons, uint32_t levelTimeMs);

    // "mm:ss" of a time in milliseconds.
    static std::string clockText(int32_t ms);

    uint16_t width, height;
    std::unique_ptr<TextBox> percentBox, goalBox, timeBox, survivorBox, countBox, toolLabel;
    int32_t iconTexture = -1;
    ClipRect iconClip{180, 0, 20, 20};
    int32_t iconX = 0, iconY = 0;

  private:
    // Sets a box's text only when it changed (each change lays the glyphs out again).
    static void show(TextBox& box, const std::string& text, int32_t x, int32_t y, uint32_t align);
};
