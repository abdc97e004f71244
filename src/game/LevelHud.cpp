#include "game/LevelHud.h"

#include <algorithm>

#include "assets/StringHelpers.h"
#include "base/GameWide.h"
#include "game/EntityTumblekin.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"
#include "text/TextBox.h"

namespace {
uint16_t fontHeight(const TextBox& box) {
    const GameTexts* texts = GameWide<GameTexts>::get();
    const Font* font = texts ? texts->font(box.fontIndex) : nullptr;
    return font ? static_cast<uint16_t>(font->size) : 0;
}

int32_t percentOf(int32_t part, int32_t whole) {
    return whole > 0 ? static_cast<int32_t>(static_cast<int64_t>(part) * 100 / whole) : 0;
}
} // namespace

LevelHud::LevelHud(uint16_t logicalWidth, uint16_t logicalHeight)
    : width(logicalWidth), height(logicalHeight), percentBox(std::make_unique<TextBox>(0, 0)),
      goalBox(std::make_unique<TextBox>(1, 0)), timeBox(std::make_unique<TextBox>(1, 0)),
      survivorBox(std::make_unique<TextBox>(1, 0)), countBox(std::make_unique<TextBox>(1, 0)),
      toolLabel(std::make_unique<TextBox>(1, 0)) {
    if (ResourceStore* store = GameWide<ResourceStore>::get())
        iconTexture = store->getOrLoadTexture(EntityTumblekin::kSheet);
}

LevelHud::~LevelHud() = default;

std::string LevelHud::clockText(int32_t ms) {
    const int32_t seconds = std::max(0, ms) / 1000;
    return toStringPadded(static_cast<uint32_t>(seconds / 60), 2) + ":" +
           toStringPadded(static_cast<uint32_t>(seconds % 60), 2);
}

void LevelHud::show(TextBox& box, const std::string& text, int32_t x, int32_t y, uint32_t align) {
    if (box.key != "raw" || box.rawText != text) {
        box.setRawText(text, x, y);
        box.setAlignment(align, 1);
    }
    if (box.x != x || box.y != y) box.setPosition(x, y);
}

void LevelHud::setGoal(int32_t goalPercent) {
    const GameTexts* texts = GameWide<GameTexts>::get();
    const std::string pattern = texts ? texts->getText("HUD_GOAL") : std::string("_VAR_");
    const std::string value = toStringPadded(static_cast<uint32_t>(std::max(0, goalPercent)), 2) + "%";
    goalBox->setRawText(replaceFirst(pattern, "_VAR_", value), 5, 12);
}

void LevelHud::draw(const ProgressRecord& progress, const LevelInfo* level, int32_t px, int32_t py,
                    uint32_t buttons, uint32_t levelTimeMs) {
    const int32_t W = width;
    const int32_t goal = level ? level->goalPercent : 0;

    // 1. Painted share, and the goal while it is not reached.
    const int32_t painted = percentOf(progress.paintedPixels, progress.paintablePixels);
    show(*percentBox, toStringPadded(static_cast<uint32_t>(painted), 3) + "%", 5, 5, 0);
    const int32_t f0 = fontHeight(*percentBox);
    drawColourRect(3, 3, static_cast<uint16_t>(percentBox->maxWidth + 2), static_cast<uint16_t>(f0 + 2),
                   0x7F000000u);
    percentBox->drawInBand(1, 1, 1);
    if (painted < goal) {
        percentBox->drawInBand(0, 0, 0);
        // Under the percentage, however tall the fonts are.
        const int32_t f1 = fontHeight(*goalBox);
        const int32_t goalY = 5 + f0 + 1;
        drawColourRect(3, static_cast<int16_t>(goalY), static_cast<uint16_t>(goalBox->maxWidth + 2),
                       static_cast<uint16_t>(f1 + 2), 0x7F000000u);
        if (goalBox->x != 5 || goalBox->y != goalY + 1) goalBox->setPosition(5, goalY + 1);
        goalBox->drawInBand(0, 0, 0);
    } else {
        percentBox->drawInBand(4, 0, 0);
    }

    // 2. Time left, blinking in the last minute.
    const int64_t limit = level ? static_cast<int64_t>(level->timeLimitMinutes) * 60000 : 0;
    const auto left = static_cast<int32_t>(std::max<int64_t>(0, limit - levelTimeMs));
    const std::string clock = clockText(left);
    const int32_t fw = timeBox->maxWidth;
    show(*timeBox, clock, W - fw - 3, 3, 0);
    const int32_t tw = timeBox->maxWidth;
    if (timeBox->x != W - tw - 3) timeBox->setPosition(W - tw - 3, 3);
    const int32_t f1 = fontHeight(*timeBox);
    drawColourRect(static_cast<int16_t>(W - tw - 5), 3, static_cast<uint16_t>(tw + 2),
                   static_cast<uint16_t>(f1 + 2), 0xAF000000u);
    timeBox->drawInBand(1, 1, 0);
    const bool blink = left < 60000 && levelTimeMs % 500 >= 251;
    timeBox->drawInBand(blink ? 2 : 0, 0, 0);

    // 3. Survivors and the column.
    const int32_t survivors = percentOf(progress.creaturesAlive, progress.creaturesTotal);
    show(*survivorBox, toStringPadded(static_cast<uint32_t>(survivors), 2) + "%", W - 3, f1 + 3, 1);
    show(*countBox,
         toStringPadded(static_cast<uint32_t>(std::max(0, progress.creaturesOut)), 2) + "/" +
             toStringPadded(static_cast<uint32_t>(std::max(0, progress.creaturesAlive)), 2),
         W - 3, f1 + 13, 1);
    const int32_t sw = std::max<int32_t>(survivorBox->maxWidth, countBox->maxWidth);
    iconX = W - sw - 20;
    iconY = f1 + 3;
    drawColourRect(static_cast<int16_t>(W - sw - 15), static_cast<int16_t>(f1 + 3),
                   static_cast<uint16_t>(sw + 20), static_cast<uint16_t>(2 * f1), 0xAF007F40u);
    drawSprite(iconTexture, iconClip, static_cast<int16_t>(iconX), static_cast<int16_t>(iconY - 4));
    survivorBox->drawInBand(1, 1, 1);
    const bool low = progress.creaturesAlive <= 0 || (level && survivors < level->minSurvivorPercent);
    survivorBox->drawInBand(low ? 2 : 4, 0, 0);
    countBox->drawInBand(0, 0, 0);

    // 4. Reserves beside the pointer.
    const int32_t capacity = std::max(1, progress.inkCapacity);
    drawColourRect(static_cast<int16_t>(px - 12), static_cast<int16_t>(py - 8), 3, 16, 0xFF333333u);
    drawColourRect(static_cast<int16_t>(px + 9), static_cast<int16_t>(py - 8), 3, 16, 0xFF333333u);
    const int32_t hb = std::clamp(progress.buildInk, 0, capacity) * 14 / capacity;
    const int32_t hd = std::clamp(progress.digInk, 0, capacity) * 14 / capacity;
    if (hb > 0)
        drawColourRect(static_cast<int16_t>(px - 11), static_cast<int16_t>(py - hb + 7), 1,
                       static_cast<uint16_t>(hb), 0xBF20FF20u);
    if (hd > 0)
        drawColourRect(static_cast<int16_t>(px + 10), static_cast<int16_t>(py - hd + 7), 1,
                       static_cast<uint16_t>(hd), 0xBFFF2020u);

    // 5. The tool's name under the pointer while exactly one of the two buttons is held.
    if (buttons == 1 || buttons == 4) {
        const bool digging = buttons == 4;
        const GameTexts* texts = GameWide<GameTexts>::get();
        const std::string name =
            texts ? texts->getText(digging ? "HUD_DIGGING" : "HUD_BUILDING") : std::string();
        show(*toolLabel, name, px, py + 10, 2);
        toolLabel->drawInBand(1, 1, 1);
        const int32_t reserve = digging ? progress.digInk : progress.buildInk;
        toolLabel->drawInBand(reserve < 1 ? 2 : 0, 0, 0);
    }
}
