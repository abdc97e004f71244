#pragma once
// InputState — what the player did this frame: keyboard, mouse, one controller, window events.
//
// Owns: the open joystick, game controller and rumble device (device 0 only), both binding tables
// and every per-frame flag and bit set that scenes read.
// Never: draws, plays sounds, or touches scenes; the main loop polls it once per frame.
// On failure: a device that cannot be opened leaves the state as without one ("None"); a game-
// controller subsystem that cannot start makes failed() true, and the entry point ends with 1.
#include <SDL.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/InputSource.h"

class InputState final {
  public:
    static constexpr uint32_t kUnbound = 0xFFFFFFFFu;
    static constexpr int kActionCount = 16;
    // Direction bits of directionsHeld, dpadHeld and their edges.
    static constexpr uint8_t kLeft = 1, kDown = 2, kRight = 4, kUp = 8;
    // Action bits the d-pad adds to actionsHeld and actionsReleased.
    static constexpr uint16_t kDpadUpAction = 0x1000, kDpadRightAction = 0x2000, kDpadDownAction = 0x4000,
                              kDpadLeftAction = 0x8000;
    // A stick must pass this far before it counts as a direction.
    static constexpr int kStickThreshold = 24000;

    InputState();
    ~InputState();
    InputState(const InputState&) = delete;
    InputState& operator=(const InputState&) = delete;

    // True when the game-controller subsystem would not start: the game cannot go on.
    bool failed() const { return failed_; }

    // Drains SDL's event queue and refreshes the state read through the source.
    void poll();

    // The table the entry point installs at start-up (the constructor's own has A and S for
    // actions 4 and 5, which clash with WASD).
    void installDefaultKeyBindings();
    // Xbox-like or other column, by the open device's name.
    void installDefaultControllerBindings();
    bool isXboxLike() const;
    void openDevices();
    void closeDevices();
    // Stops any rumble; every scene calls it when entered.
    void stopRumble();

    // The window's close button, or SIGINT/SIGTERM, which SDL turns into a quit event.
    bool quitRequested() const { return quit_; }
    // Only the frame in which focus went or came back; windowUnfocused stays set meanwhile.
    bool focusLostThisFrame() const { return focusLost_; }
    bool focusGainedThisFrame() const { return focusRegained; }
    int rawMouseX() const { return mouseX; }
    int rawMouseY() const { return mouseY; }
    uint32_t mouseButtons() const { return mouseHeld; }

    // Tests only: read keys and mouse from `source` instead of SDL (null restores SDL).
    void setSource(std::unique_ptr<InputSource> source);

    // Read directly by scenes and menus.
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;
    int32_t buttonCount = 0;
    std::vector<uint32_t> controllerBindings;
    std::vector<uint32_t> keyBindings;
    uint8_t dpadEnabled = 0;
    uint8_t wasdEnabled = 0;
    uint8_t inputLockEnabled = 0;
    uint32_t inputLockMs = 0;
    uint32_t lastInputTicks = 0;
    uint8_t directionsHeld = 0;
    uint8_t dpadHeld = 0;
    uint8_t directionsReleased = 0;
    uint8_t directionsPressed = 0;
    uint8_t previousDirections = 0;
    uint8_t previousDpad = 0;
    uint16_t actionsHeld = 0;
    uint16_t actionsReleased = 0;
    uint32_t lastKey = 0;
    int16_t axisX = 0;
    int16_t axisY = 0;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    uint8_t mouseReleased = 0;
    // Buttons that went down this frame (SDL_BUTTON(n) bits), from the button-down events: a tap
    // pressed and let go between two frames never shows in the held mask, yet it is a click.
    uint8_t mousePressed = 0;
    uint8_t backPressed = 0;
    uint8_t acceptPressed = 0;
    uint8_t secondaryPressed = 0;
    uint8_t escapePressed = 0;
    uint8_t windowUnfocused = 0;
    uint8_t focusRegained = 0;
    uint8_t acceptButton = 0;
    uint8_t secondaryButton = 1;
    uint8_t backButton = 7;
    uint8_t acceptOnPress = 0;
    std::string deviceName = "None";
    SDL_Haptic* haptic = nullptr;

  private:
    void handle(const SDL_Event& event);
    void handleKeyUp(uint32_t scancode);
    void handleButtonUp(uint32_t button);
    void readPlainJoystick();
    void bindActionsHeld(const uint8_t* keys, int count);
    bool hapticStartedHere_ = false;

    std::unique_ptr<InputSource> source_;
    bool failed_ = false;
    bool quit_ = false;
    bool focusLost_ = false;
    uint8_t mouseHeld = 0;
};
