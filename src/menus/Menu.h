#pragma once
// Menu — the scene every menu screen derives from: a screen built from a scene file (background
// layers, drawables, their fly-in and fly-out paths, which of them are widgets), one focused
// widget moved by directions and the pointer, and presses handed to the concrete menu 200 ms later
// as onAction.
//
// Owns: every element the scene file made (in `elements`, at the index the element had in the
// file; an index whose line made nothing holds null), the paths, speeds and phase bits.
// `widgets` points into `elements` again, in file order.
// Never: dereferences an element or widget index the file did not fill; reads the disk or the pack
// except through the reader's services (the game passes the pack and the texture store).
// On failure: a scene file that cannot be had leaves the menu without layers and elements; an
// element file that cannot be read leaves an empty element that still takes focus and draws
// nothing; a line the reader does not know uses up an index and makes nothing.
//
// A concrete menu: sets `sceneFile` and the three sound names, then calls Menu::load; overrides
// loadScene to call Menu::loadScene and fill `navigation` with setNeighbours; draws through
// MenuScreen (the game screen bound or cleared, the phase, the curtain or tips); names its way on
// in `forwardButton`; acts in onAction on `focused` (through widget(), which is null for an index
// the file did not make).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Scene.h"
#include "gui/GraphicElement.h"

class GUIElement;
class ElementFileLookup;
class TextureLookup;

class Menu : public Scene {
  public:
    enum Direction : uint8_t { Up = 0, Down = 1, Left = 2, Right = 3 };
    enum Phase : uint8_t { FadeInPhase = 0, RunningPhase = 1, FadeOutPhase = 2 };
    // Bounds on what a scene file may ask for, so a hand-edited number cannot ask for 2^64
    // elements or move a picture off every screen.
    static constexpr int32_t kMaxElements = 32767;
    static constexpr int32_t kMaxSpeed = 100000;

    Menu();
    ~Menu() override;

    void load() override;
    void reset() override;
    void enter() override;
    void refreshTexts() override;
    const char* className() const override { return "Menu"; }
    bool isKindOf(int kind) const override { return kind == 27 || kind == 29; }
    void drawFadeIn() override;
    void drawRunning() override;
    void drawFadeOut() override;
    void updateFadeIn() override;
    void updateRunning() override;
    void updateFadeOut() override;
    void handleInput() override;
    // Leaves for `nextScene` (or quits) once the fade-out is over.
    void switchScene() override;

    virtual void loadScene();
    virtual void placeForEntry();
    virtual void readSceneFile(const std::string& name);
    virtual void parseSceneFile(const std::string& name);
    virtual void moveFocus(uint8_t direction, uint16_t steps);
    virtual void setFocus(int16_t index);
    virtual void navigate(uint8_t direction);
    virtual void hoverFocus();
    virtual void pressFocused();
    virtual void updatePress();
    virtual void onAction(int16_t code);

    // The scene-file reader on bytes: element files come from `files`, pictures from `textures`.
    // parseSceneFile passes the pack and the texture store; tests and fuzz targets pass stubs.
    void parseSceneBytes(const uint8_t* bytes, size_t size, ElementFileLookup& files,
                         TextureLookup& textures);

    // The widget at widget index `index`, or null when the file made no such widget.
    GUIElement* widget(int index) const;
    // The element at scene-file index `index`, or null when that line made nothing.
    GraphicElement* element(int index) const;
    // Whether the element at scene-file index `index` takes part in `phase`.
    bool inPhase(uint8_t phase, size_t index) const;
    // Sets one widget's neighbours (up, down, left, right; -1 none), growing `navigation` as
    // needed. Concrete menus call it from loadScene.
    void setNeighbours(int16_t index, int16_t up, int16_t down, int16_t left, int16_t right);
    // Binds the game screen and clears it: concrete menus call it first in their draw steps,
    // since the scene's render leaves the window bound.
    void clearGameScreen(uint32_t argb);

    std::string sceneFile = "none";
    std::string moveSound, confirmSound, cancelSound;
    uint16_t elementCount = 0;
    std::vector<GUIElement*> widgets;
    std::vector<std::array<int16_t, 4>> navigation;
    std::array<std::vector<bool>, 3> phaseFlags;
    std::vector<std::vector<PointI32>> entryPaths, exitPaths;
    std::vector<uint16_t> entrySpeeds, exitSpeeds;
    std::vector<uint16_t> entrySteps, exitSteps;
    int16_t focused = -1;
    int16_t previousFocus = -1, lastFocus = -1;
    // The screen's way on (Continue, Play, Accept, Resume), set by each menu: the confirm input
    // presses it while nothing is focused, so a newcomer who only knows Return is never stuck on
    // a screen that shows no focus. -1: the confirm input needs a focus.
    int16_t forwardButton = -1;
    uint8_t pressPending = 0;
    uint32_t pressClock = 0;
    uint8_t drawDisabled = 1;

  protected:
    void playNamed(const std::string& sound) const;
    // Moves every element of `phase` one frame along its path.
    void moveAlongPaths(uint8_t phase);
    // Every element to the start of its path for `phase` (fly-in or fly-out).
    void placeAtPathStarts(bool entry);
    void drawPhase(uint8_t phase);
    bool confirmPressed() const;
    // Neither disabled nor hidden: the focus walk may stop on it.
    bool widgetUsable(int index) const;
    // The left button went down this frame.
    bool leftClicked() const;

  private:
    // The scene-file reader's steps: the layers' line, their speeds' line, the element count and
    // one element line (false when it ends the file), which reads its path lines from `at` on.
    void readLayers(const std::string& line, TextureLookup& textures);
    void readLayerSpeeds(const std::string& line);
    void wrapScrollingLayers();
    void sizeElementLists(uint16_t count);
    bool readElementLine(size_t index, const std::string& line, const std::vector<std::string>& lines,
                         size_t& at, ElementFileLookup& files, TextureLookup& textures);
};
