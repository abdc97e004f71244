#include "menus/MenuBriefing.h"

#include <algorithm>

#include "assets/ImageData.h"
#include "assets/StringHelpers.h"
#include "audio/AudioSystem.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "menus/MenuSupport.h"
#include "persist/ProgressRecord.h"
#include "render/Draw.h"
#include "render/ResourceStore.h"
#include "render/TextureRecord.h"
#include "text/TextBox.h"

MenuBriefing::MenuBriefing() : MenuScreen(kClearColour), levelNameText(std::make_unique<TextLine>(0, 4)) {}

void MenuBriefing::load() {
    loadScreen("Assets/scene/Briefing.scn");
    forwardButton = 1; // Accept: into the level
    setButtonTips(0);
}

void MenuBriefing::loadScene() {
    Menu::loadScene();
    menus::link(*this, 0, 1, Right);
}

void MenuBriefing::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"GEN_BACK", "GEN_ACCEPT"});
}

ClipRect MenuBriefing::previewPlacement(int width, int height, int logicalWidth, int logicalHeight) {
    if (width <= 0 || height <= 0) return ClipRect{};
    const double scale = std::min((logicalWidth * 0.5 - 10) / width, (logicalHeight * 0.5 - 10) / height);
    const int w = static_cast<int>(width * scale);
    const int h = static_cast<int>(height * scale);
    return ClipRect{logicalWidth - logicalWidth / 4 - w / 2 - 10, logicalHeight / 4 - h / 2 + 10,
                    static_cast<uint16_t>(w), static_cast<uint16_t>(h)};
}

ClipRect MenuBriefing::thumbSize(int width, int height) {
    if (width <= 0 || height <= 0) return ClipRect{};
    if (width <= height) return ClipRect{0, 0, 20, static_cast<uint16_t>(height * 20 / width)};
    return ClipRect{0, 0, static_cast<uint16_t>(width * 20 / height), 20};
}

void MenuBriefing::enter() {
    Menu::enter();
    ProgressRecord* progress = GameWide<ProgressRecord>::get();
    ResourceStore* store = GameWide<ResourceStore>::get();
    const LevelInfo* level = menus::currentLevel();

    if (store && previewTexture >= 0) store->deleteTexture(kPreviewName);
    previewTexture = -1;
    previewRect = ClipRect{};
    const ImageData* terrain = progress && store ? store->surfaces().get(progress->terrainSurface) : nullptr;
    if (terrain && terrain->bytesPerPixel() == 4) {
        previewRect = previewPlacement(terrain->width(), terrain->height(), logicalWidth, logicalHeight);
        const int32_t surface = store->surfaces().createBlank(kPreviewName, previewRect.w, previewRect.h);
        if (ImageData* shrunk = store->surfaces().get(surface)) {
            // Mipmaps would average each block, and a country drawn as a thin coast on clear air
            // would fade to nothing; drawn 1:1, so without them.
            terrain->shrinkInto(*shrunk, ImageData::Shrink::KeepLines);
            previewTexture = store->createTextureFromSurface(surface, false);
            store->surfaces().remove(kPreviewName);
        }
        if (previewTexture < 0) previewRect = ClipRect{};
    }

    if (store && thumbTexture >= 0) store->deleteTexture(kThumbName);
    thumbTexture = -1;
    thumbRect = ClipRect{};
    if (store && level) {
        if (const ImageData* stamp = store->surfaces().get(level->stampSurface)) {
            thumbTexture =
                store->createRenderTexture(kThumbName, stamp->width(), stamp->height(), false, true);
            store->uploadSurface(level->stampSurface, thumbTexture);
            thumbRect = thumbSize(stamp->width(), stamp->height());
            if (thumbTexture < 0) thumbRect = ClipRect{};
        }
    }

    levelNameText->setString(20, 30, level ? menus::levelDisplayName(*level) : std::string(), TextLine::Left);
    if (!level) return;
    const std::string values[3] = {
        std::to_string(level->timeLimitMinutes),
        toStringPadded(static_cast<uint32_t>(std::max(level->goalPercent, 0)), 2),
        toStringPadded(static_cast<uint32_t>(std::max(level->minSurvivorPercent, 0)), 2)};
    for (int i = 0; i < 3; ++i) {
        GraphicElement* box = element(4 + i);
        if (box && box->isKindOf(32)) static_cast<TextBox*>(box)->replaceVariable(values[i]);
    }
}

void MenuBriefing::handleInput() {
    Menu::handleInput();
    const InputState* input = GameWide<InputState>::get();
    if (input && input->backPressed && state == Running && !pressPending)
        requestExit(menus::kSwitchBack, menus::kBackScene);
}

void MenuBriefing::onAction(int16_t) {
    if (focused == 0) {
        requestExit(menus::kSwitchBack, menus::kBackScene);
    } else if (focused == 1) {
        requestExit(menus::kSwitchOn, kLevelScene);
        menus::stopMenuMusic();
    }
}

void MenuBriefing::drawOver(uint8_t phase) {
    if (phase != RunningPhase) return;
    if (previewTexture >= 0 && previewRect.w > 0 && previewRect.h > 0) {
        drawColourRect(static_cast<int16_t>(previewRect.x - 2), static_cast<int16_t>(previewRect.y - 2),
                       static_cast<uint16_t>(previewRect.w + 4), static_cast<uint16_t>(previewRect.h + 4),
                       kPictureBackColour);
        const TextureRecord* terrain = GameWide<ResourceStore>::get()->texture(previewTexture);
        if (terrain) {
            const ClipRect source{0, 0, static_cast<uint16_t>(terrain->width),
                                  static_cast<uint16_t>(terrain->height)};
            drawTexture(previewTexture, source, static_cast<int16_t>(previewRect.x),
                        static_cast<int16_t>(previewRect.y), 0.0f, previewRect.w, previewRect.h, nullptr, 0,
                        255);
        }
    }
    if (thumbTexture >= 0 && thumbRect.w > 0) {
        const TextureRecord* thumb = GameWide<ResourceStore>::get()->texture(thumbTexture);
        if (thumb) {
            const ClipRect source{0, 0, static_cast<uint16_t>(thumb->width),
                                  static_cast<uint16_t>(thumb->height)};
            drawTexture(thumbTexture, source, static_cast<int16_t>(logicalWidth - thumbRect.w - 10), 140,
                        0.0f, thumbRect.w, thumbRect.h, nullptr, 0, 255);
        }
    }
    levelNameText->draw(false);
}
