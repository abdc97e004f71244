#pragma once
// MenuBriefing — the briefing (scene 8): the chosen country's picture, its stamp as a thumbnail,
// its name and its numbers (time, paint goal, survivors), then back or into the level.
//
// Owns: the name line, the thumbnail's render texture ("MaskTextureMEnuBriefing") and the
// shrunk copy of the terrain it shows as the country's picture.
// Never: divides by a picture's size of 0; writes into an element that is not a text box.
// On failure: a level without a terrain (0 x 0) or without a stamp shows no picture or no
// thumbnail; with no level at all only the buttons remain.
#include <memory>

#include "assets/ImageData.h"
#include "base/ClipRect.h"
#include "menus/MenuScreen.h"
#include "text/TextLine.h"

class MenuBriefing final : public MenuScreen {
  public:
    static constexpr uint32_t kClearColour = 0xFF2D2D7B;
    static constexpr uint32_t kPictureBackColour = 0x7F202020;
    static constexpr const char* kThumbName = "MaskTextureMEnuBriefing";
    static constexpr const char* kPreviewName = "PreviewTextureMenuBriefing";

    MenuBriefing();

    void load() override;
    void enter() override;
    const char* className() const override { return "MenuBriefing"; }
    void loadScene() override;
    void placeForEntry() override;
    void handleInput() override;
    void onAction(int16_t code) override;
    void drawOver(uint8_t phase) override;

    // Placement of a w x h picture in the top right quarter; a zero-size rectangle for 0 x 0.
    static ClipRect previewPlacement(int width, int height, int logicalWidth, int logicalHeight);
    // Drawn size of a w x h thumbnail: the shorter side 20, the longer in proportion.
    static ClipRect thumbSize(int width, int height);
    std::unique_ptr<TextLine> levelNameText;
    int32_t previewTexture = -1;
    ClipRect previewRect;
    int32_t thumbTexture = -1;
    ClipRect thumbRect;
};
