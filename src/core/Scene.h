#pragma once
// Scene — one screen of the game (logos, advice, paddle game, level, menus).
//
// Owns: its GUI elements, its scroll layers, its fade clocks and the pointer position.
// Never: creates or destroys other scenes; it leaves by requestExit and switchScene, which only
// change the SceneManager's scene numbers.
//
// Life: not entered -> enter -> 0 fading in -> 1 running -> (requestExit) 2 fading out ->
// switchScene -> not entered. Every clock advances by frameDeltaMs.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/ClipRect.h"
#include "gui/GraphicElement.h"
#include "text/TextLine.h"

class Scene {
  public:
    enum State : uint32_t { FadingIn = 0, Running = 1, FadingOut = 2 };

    Scene();
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    virtual void load();
    virtual void reset();
    virtual void enter();
    virtual void render();
    virtual void refreshTexts();
    virtual const char* className() const { return "Scene"; }
    virtual bool isKindOf(int kind) const { return kind == 29; }
    virtual void drawFadeIn() {}
    virtual void drawRunning() {}
    virtual void drawFadeOut() {}
    virtual void drawStillFadeIn() {}
    virtual void drawStill();
    virtual void drawStillFadeOut() {}
    virtual void updateFadeIn() {}
    virtual void updateRunning() {}
    virtual void updateFadeOut() {}
    virtual void handleInput() {}
    virtual void requestExit(uint32_t switchFlag, uint16_t scene);
    virtual void switchScene() {}
    virtual void drawFadeInCurtain();
    virtual void drawFadeOutCurtain();
    virtual void drawWipe();
    virtual void drawScanlines();
    virtual void showNotice(const std::string& key);
    // The main loop calls this in the frame the window loses focus, before it stops updating
    // scenes; a scene that must pause (the level) does it here.
    virtual void focusLost() {}

    // The tips along the bottom of the window: layout 1, 2 or any other (see the table in the
    // source); 255 rebuilds the last layout, as after a language change.
    void setButtonTips(uint16_t layout);
    void drawButtonTips();

    // The usual subclass steps: advance a fade clock, leave the fade when it passes its duration.
    // Returns true in the frame the fade ended.
    bool advanceFadeIn();
    bool advanceFadeOut();
    // The common switchScene: this scene is left and `nextScene` becomes current.
    void switchToNextScene();

    // Curtain opacity for the current clocks; -1 when no curtain is drawn (duration 0).
    int fadeInCurtainAlpha() const;
    int fadeOutCurtainAlpha() const;
    // How many 40-pixel wipe columns cover the window now; -1 when no wipe is drawn.
    int wipeColumns() const;
    // Top-left corner where the pointer image is drawn for the current mouse position.
    void pointerDrawPosition(int* x, int* y) const;

    void updateScrollingLayers();
    void drawScrollingLayers();
    void addScrollingLayer(uint32_t texture, ClipRect rect, int32_t speed, int32_t x, int32_t y);

    // Fields shared with the main loop and the subclasses.
    uint16_t fadeDelay = 0;
    int32_t fadeTexture = -1;
    int32_t blackBarTexture = -1, whiteBarTexture = -1, redBarTexture = -1;
    ClipRect fadeClip;
    int32_t scanlineTexture = -1;
    int32_t hoveredElement = -1;
    std::vector<uint32_t> layerTextures;
    std::vector<ClipRect> layerRects;
    std::vector<int32_t> layerSpeeds;
    std::vector<int32_t> layerX;
    std::vector<int32_t> layerY;
    uint8_t entered = 0;
    uint8_t fadeInOnEnter = 1;
    uint32_t state = FadingIn;
    uint32_t switchRequested = 0;
    uint16_t nextScene = 0;
    uint8_t mouseEnabled = 0;
    int32_t mouseX = 0, mouseY = 0;
    int32_t previousMouseX = 0, previousMouseY = 0;
    int32_t pointerTexture = -1;
    int32_t defaultPointerTexture = -1;
    ClipRect pointerClip;
    uint8_t pointerCentred = 0;
    uint16_t logicalWidth = 320, logicalHeight = 200;
    int32_t windowWidth = 1280, windowHeight = 720;
    int32_t fadeInClock = 0, fadeOutClock = 0;
    int32_t fadeInDuration = 5000, fadeOutDuration = 5000;
    uint8_t skipFadeInAllowed = 0, skipFadeOutAllowed = 0;
    uint8_t inputConsumed = 0;
    int32_t noticeTime = 0;
    int32_t padButtonsTexture = -1;
    // Owned; deleted by reset and by the destructor.
    std::vector<std::unique_ptr<GraphicElement>> elements;
    std::unique_ptr<TextLine> noticeLine;
    uint16_t tipLayout = 0;
    uint8_t showButtonTips = 0;
    std::vector<std::unique_ptr<TextLine>> tipLines;
    // Cell of "Assets/gui/padbuttons.png" per tip; kNoIcon for none.
    std::vector<uint16_t> tipIcons;
    static constexpr uint16_t kNoIcon = 65535;

  protected:
    // The fade texture over the whole game screen at `alpha`; nothing for a negative alpha.
    void drawCurtain(int alpha);
};
