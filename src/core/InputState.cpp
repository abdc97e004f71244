#include "core/InputState.h"

#include <SDL.h>

namespace {
class SdlInputSource final : public InputSource {
  public:
    const uint8_t* keyboard(int* count) override { return SDL_GetKeyboardState(count); }
    uint32_t mouse(int* x, int* y) override { return SDL_GetMouseState(x, y); }
};
} // namespace

InputState::InputState() : source_(std::make_unique<SdlInputSource>()) {}

InputState::~InputState() = default;

void InputState::setSource(std::unique_ptr<InputSource> source) {
    source_ = source ? std::move(source) : std::make_unique<SdlInputSource>();
}

void InputState::poll() {
    focusLost_ = false;
    focusGained_ = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit_ = true;
        } else if (event.type == SDL_WINDOWEVENT) {
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focusLost_ = true;
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focusGained_ = true;
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) quit_ = true;
        }
    }
    mouseButtons_ = source_->mouse(&mouseX_, &mouseY_);
}
