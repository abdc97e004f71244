#pragma once
// InputState — what the player did this frame.
//
// Owns: the per-frame event flags (quit, focus lost or gained) and the raw mouse position.
// Never: draws, plays sounds, or touches scenes; the main loop and scenes read its flags.
#include <cstdint>
#include <memory>

#include "core/InputSource.h"

class InputState final {
  public:
    InputState();
    ~InputState();

    // Drains SDL's event queue and refreshes the state read through the source.
    void poll();

    // The window's close button, or SIGINT/SIGTERM, which SDL turns into a quit event.
    bool quitRequested() const { return quit_; }
    bool focusLostThisFrame() const { return focusLost_; }
    bool focusGainedThisFrame() const { return focusGained_; }
    int rawMouseX() const { return mouseX_; }
    int rawMouseY() const { return mouseY_; }
    uint32_t mouseButtons() const { return mouseButtons_; }

    // Tests only: read keys and mouse from `source` instead of SDL (null restores SDL).
    void setSource(std::unique_ptr<InputSource> source);

  private:
    std::unique_ptr<InputSource> source_;
    bool quit_ = false;
    bool focusLost_ = false;
    bool focusGained_ = false;
    int mouseX_ = 0;
    int mouseY_ = 0;
    uint32_t mouseButtons_ = 0;
};
