#include "core/InputState.h"

#include <algorithm>

#include "core/TickSource.h"

namespace {
constexpr uint32_t U = InputState::kUnbound;
// Action number -> scancode. The entry point's table; the constructor's differs in 4 and 5.
constexpr uint32_t kDefaultKeys[16] = {44, 29, 27, 6, 20, 8, U, U, U, U, 40, 42, 30, 31, 32, 33};
constexpr uint32_t kXboxButtons[16] = {0, 3, 1, 2, 9, 10, U, U, U, U, 6, 4, U, U, U, U};
constexpr uint32_t kOtherButtons[16] = {1, 3, 0, 2, 6, 7, 4, 5, U, U, 9, 8, U, U, U, U};

constexpr uint32_t kKeyA = 4, kKeyD = 7, kKeyS = 22, kKeyW = 26;
constexpr uint32_t kKeyReturn = 40, kKeyEscape = 41, kKeyBackspace = 42, kKeyReturn2 = 158;
constexpr uint32_t kKeyRight = 79, kKeyLeft = 80, kKeyDown = 81, kKeyUp = 82;
constexpr uint32_t kPadUp = 11, kPadDown = 12, kPadLeft = 13, kPadRight = 14;

class SdlInputSource final : public InputSource {
  public:
    const uint8_t* keyboard(int* count) override { return SDL_GetKeyboardState(count); }
    uint32_t mouse(int* x, int* y) override { return SDL_GetMouseState(x, y); }
};

// The d-pad button's direction bit and the action bit it adds.
bool dpadBits(uint32_t button, uint8_t* direction, uint16_t* action) {
    switch (button) {
    case kPadUp:
        *direction = InputState::kUp;
        *action = InputState::kDpadUpAction;
        return true;
    case kPadDown:
        *direction = InputState::kDown;
        *action = InputState::kDpadDownAction;
        return true;
    case kPadLeft:
        *direction = InputState::kLeft;
        *action = InputState::kDpadLeftAction;
        return true;
    case kPadRight:
        *direction = InputState::kRight;
        *action = InputState::kDpadRightAction;
        return true;
    default:
        return false;
    }
}

bool keyDown(const uint8_t* keys, int count, uint32_t scancode) {
    return keys && scancode < static_cast<uint32_t>(count) && keys[scancode];
}
} // namespace

InputState::InputState() : source_(std::make_unique<SdlInputSource>()) {
    lastInputTicks = TickSource::now();
    controllerBindings.assign(kActionCount, kUnbound);
    keyBindings.assign(std::begin(kDefaultKeys), std::end(kDefaultKeys));
    keyBindings[4] = kKeyA;
    keyBindings[5] = kKeyS;
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        failed_ = true;
        return;
    }
    openDevices();
    axisX = axisY = 0;
    actionsHeld = 0;
    dpadHeld = 0;
}

InputState::~InputState() {
    closeDevices();
}

void InputState::setSource(std::unique_ptr<InputSource> source) {
    source_ = source ? std::move(source) : std::make_unique<SdlInputSource>();
}

void InputState::installDefaultKeyBindings() {
    keyBindings.assign(std::begin(kDefaultKeys), std::end(kDefaultKeys));
}

void InputState::installDefaultControllerBindings() {
    const uint32_t* table = isXboxLike() ? kXboxButtons : kOtherButtons;
    controllerBindings.assign(table, table + kActionCount);
}

bool InputState::isXboxLike() const {
    for (const char* mark : {"XBOX 360", "Xbox 360", "xbox 360", "XInput Controller", "X360 Controller"})
        if (deviceName.find(mark) != std::string::npos) return true;
    return false;
}

void InputState::openDevices() {
    if (SDL_NumJoysticks() < 1) return;
    if (SDL_IsGameController(0)) {
        controller = SDL_GameControllerOpen(0);
        if (!controller) return;
        joystick = SDL_GameControllerGetJoystick(controller);
        const char* name = SDL_GameControllerName(controller);
        deviceName = name ? name : "";
        SDL_JoystickEventState(SDL_ENABLE);
        buttonCount = std::min(SDL_JoystickNumButtons(joystick), 16);
        dpadEnabled = (SDL_JoystickNumHats(joystick) > 0 || isXboxLike()) ? 1 : 0;
        if (!SDL_WasInit(SDL_INIT_HAPTIC) && SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0) {
            hapticStartedHere_ = true;
            // The controller's own rumble motor, not whatever haptic device happens to be first.
            if (SDL_JoystickIsHaptic(joystick) == SDL_TRUE) {
                haptic = SDL_HapticOpenFromJoystick(joystick);
                if (haptic && SDL_HapticRumbleInit(haptic) != 0) {
                    SDL_HapticClose(haptic);
                    haptic = nullptr;
                }
            }
        }
    } else {
        joystick = SDL_JoystickOpen(0);
        if (!joystick) return;
        const char* name = SDL_JoystickName(joystick);
        deviceName = name ? name : "";
        SDL_JoystickEventState(SDL_ENABLE);
        buttonCount = std::min(SDL_JoystickNumButtons(joystick), 16);
        dpadEnabled = SDL_JoystickNumHats(joystick) > 0 ? 1 : 0;
    }
    if (deviceName == "None") return;
    installDefaultControllerBindings();
    acceptButton = 0;
    secondaryButton = 1;
    backButton = isXboxLike() ? 4 : 7;
}

void InputState::closeDevices() {
    if (haptic) {
        SDL_HapticClose(haptic);
        haptic = nullptr;
    }
    if (hapticStartedHere_) {
        SDL_QuitSubSystem(SDL_INIT_HAPTIC);
        hapticStartedHere_ = false;
    }
    if (controller) {
        // The controller owns its joystick: closing that one again would free it twice.
        SDL_GameControllerClose(controller);
        controller = nullptr;
    } else if (joystick && SDL_JoystickGetAttached(joystick)) {
        SDL_JoystickClose(joystick);
    }
    joystick = nullptr;
    deviceName = "None";
    dpadEnabled = 0;
    // Nothing from a device that is gone may stay held: a stick pulled right while the pad was
    // unplugged would walk the leader right forever.
    dpadHeld = 0;
    axisX = axisY = 0;
    previousDirections = 0;
    previousDpad = 0;
}

void InputState::stopRumble() {
    if (haptic) SDL_HapticRumbleStop(haptic);
}

void InputState::poll() {
    directionsHeld = 0;
    // A controller's held bits come from its button events, which arrive only on change.
    if (!controller) actionsHeld = 0;
    directionsReleased = directionsPressed = 0;
    actionsReleased = 0;
    lastKey = 0;
    mouseHeld = 0;
    mouseReleased = 0;
    mousePressed = 0;
    backPressed = 0;
    quit_ = false;
    escapePressed = 0;
    secondaryPressed = 0;
    focusRegained = 0;
    focusLost_ = false;
    if (!acceptOnPress) acceptPressed = 0;

    const uint32_t now = TickSource::now();
    if (inputLockEnabled && now - lastInputTicks < inputLockMs) {
        // Events stay queued until the lock ends, so nothing pressed meanwhile is lost.
        SDL_PumpEvents();
        int x = 0, y = 0;
        source_->mouse(&x, &y);
        mouseX = x;
        mouseY = y;
        dpadHeld = 0;
        return;
    }

    SDL_Event event;
    while (SDL_PollEvent(&event))
        handle(event);

    int keyCount = 0;
    const uint8_t* keys = source_->keyboard(&keyCount);
    int x = 0, y = 0;
    mouseHeld = static_cast<uint8_t>(source_->mouse(&x, &y));
    mouseX = x;
    mouseY = y;

    if (joystick && !controller) readPlainJoystick();

    if (keyDown(keys, keyCount, kKeyUp) || axisY < -kStickThreshold) directionsHeld |= kUp;
    if (keyDown(keys, keyCount, kKeyRight) || axisX > kStickThreshold) directionsHeld |= kRight;
    if (keyDown(keys, keyCount, kKeyDown) || axisY > kStickThreshold) directionsHeld |= kDown;
    if (keyDown(keys, keyCount, kKeyLeft) || axisX < -kStickThreshold) directionsHeld |= kLeft;
    if (wasdEnabled) {
        if (keyDown(keys, keyCount, kKeyW)) directionsHeld |= kUp;
        if (keyDown(keys, keyCount, kKeyD)) directionsHeld |= kRight;
        if (keyDown(keys, keyCount, kKeyS)) directionsHeld |= kDown;
        if (keyDown(keys, keyCount, kKeyA)) directionsHeld |= kLeft;
    }

    directionsReleased |= previousDirections & ~directionsHeld;
    directionsPressed |= ~previousDirections & directionsHeld;
    directionsReleased |= previousDpad & ~dpadHeld;
    directionsPressed |= ~previousDpad & dpadHeld;
    previousDirections = directionsHeld;
    previousDpad = dpadHeld;

    bindActionsHeld(keys, keyCount);

    if (directionsHeld || dpadHeld || actionsHeld || lastKey || mouseHeld) lastInputTicks = now;
}

void InputState::bindActionsHeld(const uint8_t* keys, int count) {
    for (int action = 0; action < kActionCount && action < static_cast<int>(keyBindings.size()); ++action)
        if (keyDown(keys, count, keyBindings[action])) actionsHeld |= static_cast<uint16_t>(1u << action);
}

void InputState::readPlainJoystick() {
    axisX = SDL_JoystickGetAxis(joystick, 0);
    axisY = SDL_JoystickGetAxis(joystick, 1);
    for (int action = 0; action < kActionCount && action < static_cast<int>(controllerBindings.size());
         ++action) {
        const uint32_t button = controllerBindings[action];
        if (button < static_cast<uint32_t>(buttonCount) &&
            SDL_JoystickGetButton(joystick, static_cast<int>(button)))
            actionsHeld |= static_cast<uint16_t>(1u << action);
    }
    if (!dpadEnabled) return;
    // The hat is read as it is now: a direction let go must not stay held.
    dpadHeld = 0;
    switch (SDL_JoystickGetHat(joystick, 0)) {
    case SDL_HAT_UP:
        actionsHeld |= kDpadUpAction;
        dpadHeld = kUp;
        break;
    case SDL_HAT_RIGHT:
        actionsHeld |= kDpadRightAction;
        dpadHeld = kRight;
        break;
    case SDL_HAT_DOWN:
        actionsHeld |= kDpadDownAction;
        dpadHeld = kDown;
        break;
    case SDL_HAT_LEFT:
        actionsHeld |= kDpadLeftAction;
        dpadHeld = kLeft;
        break;
    case SDL_HAT_RIGHTUP:
        dpadHeld = kUp | kRight;
        break;
    case SDL_HAT_RIGHTDOWN:
        dpadHeld = kDown | kRight;
        break;
    case SDL_HAT_LEFTUP:
        dpadHeld = kUp | kLeft;
        break;
    case SDL_HAT_LEFTDOWN:
        dpadHeld = kDown | kLeft;
        break;
    default:
        break;
    }
}

void InputState::handleKeyUp(uint32_t scancode) {
    switch (scancode) {
    case kKeyRight:
        directionsReleased |= kRight;
        break;
    case kKeyLeft:
        directionsReleased |= kLeft;
        break;
    case kKeyDown:
        directionsReleased |= kDown;
        break;
    case kKeyUp:
        directionsReleased |= kUp;
        break;
    default:
        break;
    }
    if (wasdEnabled) {
        if (scancode == kKeyA) directionsReleased |= kLeft;
        if (scancode == kKeyD) directionsReleased |= kRight;
        if (scancode == kKeyS) directionsReleased |= kDown;
        if (scancode == kKeyW) directionsReleased |= kUp;
    }
    for (int action = 0; action < kActionCount && action < static_cast<int>(keyBindings.size()); ++action) {
        if (keyBindings[action] != scancode) continue;
        actionsReleased |= static_cast<uint16_t>(1u << action);
        actionsHeld &= static_cast<uint16_t>(~(1u << action));
    }
}

// Accept, secondary, back and the bound actions, shared by plain joysticks and controllers.
void InputState::handleButtonUp(uint32_t button) {
    if (button == acceptButton && !acceptOnPress) acceptPressed = 1;
    if (button == secondaryButton) secondaryPressed = 1;
    if (button == backButton) backPressed = 1;
    for (int action = 0; action < kActionCount && action < static_cast<int>(controllerBindings.size());
         ++action) {
        if (controllerBindings[action] != button) continue;
        actionsReleased |= static_cast<uint16_t>(1u << action);
        actionsHeld &= static_cast<uint16_t>(~(1u << action));
    }
}

void InputState::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        quit_ = true;
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            windowUnfocused = 1;
            focusLost_ = true;
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            windowUnfocused = 0;
            focusRegained = 1;
        } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            // The close button of a window that is not the last one sends no SDL_QUIT.
            quit_ = true;
        }
        break;
    case SDL_KEYDOWN: {
        const uint32_t scancode = event.key.keysym.scancode;
        lastKey = scancode;
        if (scancode == kKeyReturn || scancode == kKeyReturn2) acceptPressed = 1;
        if (scancode == kKeyEscape) backPressed = escapePressed = 1;
        if (scancode == kKeyBackspace) secondaryPressed = 1;
        break;
    }
    case SDL_KEYUP:
        handleKeyUp(event.key.keysym.scancode);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button >= 1 && event.button.button <= 8)
            mousePressed |= static_cast<uint8_t>(SDL_BUTTON(event.button.button));
        break;
    case SDL_MOUSEBUTTONUP:
        // Two buttons let go in one frame are both reported.
        if (event.button.button >= 1 && event.button.button <= 8)
            mouseReleased |= static_cast<uint8_t>(1u << (event.button.button - 1));
        break;
    case SDL_JOYBUTTONDOWN:
        if (!controller && event.jbutton.button == acceptButton && acceptOnPress) acceptPressed = 1;
        break;
    case SDL_JOYBUTTONUP:
        if (!controller) handleButtonUp(event.jbutton.button);
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) axisX = event.caxis.value;
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) axisY = event.caxis.value;
        break;
    case SDL_CONTROLLERBUTTONDOWN: {
        const uint32_t button = event.cbutton.button;
        if (button == acceptButton && acceptOnPress) acceptPressed = 1;
        for (int action = 0; action < kActionCount && action < static_cast<int>(controllerBindings.size());
             ++action)
            if (controllerBindings[action] == button) actionsHeld |= static_cast<uint16_t>(1u << action);
        uint8_t direction = 0;
        uint16_t actionBit = 0;
        if (dpadEnabled && isXboxLike() && dpadBits(button, &direction, &actionBit)) {
            actionsHeld |= actionBit;
            dpadHeld |= direction;
        }
        break;
    }
    case SDL_CONTROLLERBUTTONUP: {
        const uint32_t button = event.cbutton.button;
        handleButtonUp(button);
        uint8_t direction = 0;
        uint16_t actionBit = 0;
        if (dpadBits(button, &direction, &actionBit)) {
            actionsReleased |= actionBit;
            actionsHeld &= static_cast<uint16_t>(~actionBit);
            dpadHeld &= static_cast<uint8_t>(~direction);
        }
        break;
    }
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
        // Re-open either way: when a second pad goes away, the first one stays in use.
        closeDevices();
        openDevices();
        break;
    default:
        break;
    }
}
