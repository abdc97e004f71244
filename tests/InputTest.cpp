#include <SDL.h>
#include <array>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/InputState.h"

namespace {
void push(const SDL_Event& event) {
    SDL_Event copy = event;
    ASSERT_EQ(SDL_PushEvent(&copy), 1);
}

SDL_Event mouseEvent(uint32_t type, uint8_t button) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    return event;
}

void pushAxis(uint8_t axis, int16_t value) {
    SDL_Event event{};
    event.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.axis = axis;
    event.caxis.value = value;
    push(event);
}

void pushPadButton(uint32_t type, uint8_t button) {
    SDL_Event event{};
    event.type = type;
    event.cbutton.button = button;
    push(event);
}

class Input : public testing::Test {
  protected:
    Input() {
        SDL_Init(SDL_INIT_EVENTS);
        input = std::make_unique<InputState>();
        auto source = std::make_unique<FakeInput>();
        fake = source.get();
        input->setSource(std::move(source));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    ~Input() override {
        input.reset();
        SDL_Quit();
    }

    FakeClock clock;
    std::unique_ptr<InputState> input;
    FakeInput* fake = nullptr;
};
} // namespace

TEST_F(Input, HeldKeysFeedActionsThroughEitherBindingTable) {
    ASSERT_FALSE(input->failed());
    // The constructor's own table: A and S are actions 4 and 5.
    fake->keys[SDL_SCANCODE_A] = 1;
    input->poll();
    EXPECT_EQ(input->actionsHeld, 1u << 4);
    EXPECT_EQ(input->directionsHeld, 0) << "WASD is off until the entry point turns it on";

    input->installDefaultKeyBindings();
    input->wasdEnabled = 1;
    input->poll();
    EXPECT_EQ(input->actionsHeld, 0) << "A is no longer an action";
    EXPECT_EQ(input->directionsHeld, InputState::kLeft);

    fake->keys[SDL_SCANCODE_A] = 0;
    fake->keys[SDL_SCANCODE_SPACE] = 1;
    fake->keys[SDL_SCANCODE_RETURN] = 1;
    fake->keys[SDL_SCANCODE_4] = 1;
    fake->keys[SDL_SCANCODE_Q] = 1;
    input->poll();
    EXPECT_EQ(input->actionsHeld, (1u << 0) | (1u << 10) | (1u << 15) | (1u << 4));
    EXPECT_EQ(input->directionsReleased, InputState::kLeft);
}

TEST_F(Input, PressAndReleaseInOneFrameIsAReleaseWithoutHold) {
    input->installDefaultKeyBindings();
    pushKey(SDL_SCANCODE_SPACE);
    pushKey(SDL_SCANCODE_SPACE, false);
    input->poll();
    EXPECT_EQ(input->actionsReleased, 1u);
    EXPECT_EQ(input->actionsHeld, 0u);
    EXPECT_EQ(input->lastKey, static_cast<uint32_t>(SDL_SCANCODE_SPACE));
    input->poll();
    EXPECT_EQ(input->actionsReleased, 0u);
    EXPECT_EQ(input->lastKey, 0u);
}

TEST_F(Input, DirectionEdgesAndArrowReleases) {
    fake->keys[SDL_SCANCODE_UP] = 1;
    input->poll();
    EXPECT_EQ(input->directionsHeld, InputState::kUp);
    EXPECT_EQ(input->directionsPressed, InputState::kUp);
    input->poll();
    EXPECT_EQ(input->directionsPressed, 0);
    fake->keys[SDL_SCANCODE_UP] = 0;
    fake->keys[SDL_SCANCODE_RIGHT] = 1;
    input->poll();
    EXPECT_EQ(input->directionsReleased, InputState::kUp);
    EXPECT_EQ(input->directionsPressed, InputState::kRight);
    // A key-up event marks the release too, even when the state array already says so.
    pushKey(SDL_SCANCODE_DOWN, false);
    input->poll();
    EXPECT_EQ(input->directionsReleased & InputState::kDown, InputState::kDown);
}

TEST_F(Input, StickCountsOnlyPastItsThreshold) {
    struct Way {
        uint8_t axis;
        int sign;
        uint8_t direction;
    };
    for (const Way& way : {Way{SDL_CONTROLLER_AXIS_LEFTX, 1, InputState::kRight},
                           Way{SDL_CONTROLLER_AXIS_LEFTX, -1, InputState::kLeft},
                           Way{SDL_CONTROLLER_AXIS_LEFTY, 1, InputState::kDown},
                           Way{SDL_CONTROLLER_AXIS_LEFTY, -1, InputState::kUp}})
        for (int value : {24000, 24001, 32767}) {
            pushAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
            pushAxis(SDL_CONTROLLER_AXIS_LEFTY, 0);
            pushAxis(way.axis, static_cast<int16_t>(way.sign * value));
            input->poll();
            EXPECT_EQ(input->directionsHeld, value > 24000 ? way.direction : 0) << way.sign * value;
        }
}

TEST_F(Input, LockHoldsEventsBackUntilItsTimeIsUp) {
    input->installDefaultKeyBindings();
    input->inputLockEnabled = 1;
    input->inputLockMs = 150;
    fake->keys[SDL_SCANCODE_SPACE] = 1;
    clock.advance(1000);
    input->poll();
    EXPECT_EQ(input->lastInputTicks, clock.now);
    const uint32_t lastInput = clock.now;

    fake->keys[SDL_SCANCODE_SPACE] = 0;
    pushKey(SDL_SCANCODE_SPACE, false);
    fake->mx = 77;
    clock.advance(149);
    input->poll();
    EXPECT_EQ(input->actionsHeld, 0u) << "held bits are cleared even while locked";
    EXPECT_EQ(input->actionsReleased, 0u) << "the key-up waits in the queue";
    EXPECT_EQ(input->rawMouseX(), 77) << "the pointer still moves";
    EXPECT_EQ(input->lastInputTicks, lastInput);

    clock.advance(1);
    input->poll();
    EXPECT_EQ(input->actionsReleased, 1u);
    // No input in that frame: the lock does not start again.
    EXPECT_EQ(input->lastInputTicks, lastInput);
    clock.advance(1);
    pushKey(SDL_SCANCODE_X);
    input->poll();
    EXPECT_EQ(input->lastKey, static_cast<uint32_t>(SDL_SCANCODE_X));

    input->inputLockEnabled = 0;
    clock.advance(1);
    pushKey(SDL_SCANCODE_Z);
    input->poll();
    EXPECT_EQ(input->lastKey, static_cast<uint32_t>(SDL_SCANCODE_Z));
}

TEST_F(Input, WindowEventsQuitAndFocus) {
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    input->poll();
    EXPECT_TRUE(input->focusLostThisFrame());
    EXPECT_TRUE(input->windowUnfocused);
    input->poll();
    EXPECT_FALSE(input->focusLostThisFrame());
    EXPECT_TRUE(input->windowUnfocused) << "unfocused until focus returns";
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    input->poll();
    EXPECT_FALSE(input->windowUnfocused);
    EXPECT_TRUE(input->focusRegained);
    input->poll();
    EXPECT_FALSE(input->focusRegained);

    pushQuit();
    input->poll();
    EXPECT_TRUE(input->quitRequested());
}

TEST_F(Input, AcceptBackSecondaryAndAcceptOnPress) {
    pushKey(SDL_SCANCODE_RETURN2);
    pushKey(SDL_SCANCODE_ESCAPE);
    pushKey(SDL_SCANCODE_BACKSPACE);
    input->poll();
    EXPECT_TRUE(input->acceptPressed);
    EXPECT_TRUE(input->backPressed);
    EXPECT_TRUE(input->escapePressed);
    EXPECT_TRUE(input->secondaryPressed);
    input->poll();
    EXPECT_FALSE(input->acceptPressed);
    EXPECT_FALSE(input->backPressed);

    input->acceptOnPress = 1;
    pushKey(SDL_SCANCODE_RETURN);
    input->poll();
    input->poll();
    EXPECT_TRUE(input->acceptPressed) << "with acceptOnPress only the reader clears it";
}

TEST_F(Input, MouseHeldFromTheSourcePressesAndReleasesFromEvents) {
    fake->mx = 640;
    fake->my = 360;
    fake->buttons = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
    for (uint8_t button : {SDL_BUTTON_MIDDLE, SDL_BUTTON_LEFT})
        push(mouseEvent(SDL_MOUSEBUTTONUP, button));
    input->poll();
    EXPECT_EQ(input->rawMouseX(), 640);
    EXPECT_EQ(input->rawMouseY(), 360);
    EXPECT_EQ(input->mouseButtons(), SDL_BUTTON_LMASK | SDL_BUTTON_RMASK);
    EXPECT_EQ(input->mouseReleased, 0b011) << "both releases of the frame are kept";
    fake->buttons = 0;

    // A tap between two frames: down and up before one poll, never seen in the held mask.
    pushClick(SDL_BUTTON_RIGHT);
    input->poll();
    EXPECT_EQ(input->mousePressed, 0b100);
    EXPECT_EQ(input->mouseButtons(), 0u);
    input->poll();
    EXPECT_EQ(input->mousePressed, 0);

    // A held button fires in its first frame only, and not again after the lock zeroed the held mask.
    push(mouseEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT));
    fake->buttons = SDL_BUTTON_LMASK;
    clock.advance(1000);
    input->poll();
    EXPECT_EQ(input->mousePressed, 0b001);
    input->poll();
    EXPECT_EQ(input->mousePressed, 0);
    input->inputLockEnabled = 1;
    input->inputLockMs = 150;
    input->poll();
    EXPECT_EQ(input->mouseButtons(), 0u);
    clock.advance(150);
    input->poll();
    EXPECT_EQ(input->mouseButtons(), SDL_BUTTON_LMASK);
    EXPECT_EQ(input->mousePressed, 0);
}

TEST_F(Input, ControllerButtonsAndDpadOfAnXboxLikePad) {
    input->deviceName = "Generic X360 Controller";
    ASSERT_TRUE(input->isXboxLike());
    input->installDefaultControllerBindings();
    input->dpadEnabled = 1;
    pushPadButton(SDL_CONTROLLERBUTTONDOWN, 3); // Y: action 1
    pushPadButton(SDL_CONTROLLERBUTTONDOWN, 11);
    input->poll();
    EXPECT_EQ(input->actionsHeld, (1u << 1) | InputState::kDpadUpAction);
    EXPECT_EQ(input->dpadHeld, InputState::kUp);
    EXPECT_EQ(input->directionsPressed, InputState::kUp);
    pushPadButton(SDL_CONTROLLERBUTTONUP, 11);
    pushPadButton(SDL_CONTROLLERBUTTONUP, 0); // A: accept, action 0
    input->poll();
    EXPECT_EQ(input->actionsReleased, 1u | InputState::kDpadUpAction);
    EXPECT_EQ(input->dpadHeld, 0);
    EXPECT_EQ(input->directionsReleased, InputState::kUp);
    EXPECT_TRUE(input->acceptPressed);
}

// A virtual pad plugged in and out while the game runs, as SDL reports a real one.
TEST_F(Input, PadConnectedAndRemovedWhileRunning) {
    for (const char* name : {"X360 Controller", "Cheap USB Gamepad"}) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        input->poll();
        ASSERT_EQ(input->deviceName, name);
        ASSERT_NE(input->controller, nullptr);
        const bool xbox = std::string(name) == "X360 Controller";
        EXPECT_EQ(input->backButton, xbox ? 4 : 7);
        EXPECT_EQ(input->controllerBindings[4], xbox ? 9u : 6u);

        // Held bits of a pad survive frames: they change only with its button events.
        SDL_JoystickSetVirtualButton(input->joystick, SDL_CONTROLLER_BUTTON_B, 1);
        input->poll();
        const uint16_t bBit = xbox ? (1u << 2) : (1u << 0);
        EXPECT_EQ(input->actionsHeld & bBit, bBit);
        input->poll();
        EXPECT_EQ(input->actionsHeld & bBit, bBit);
        SDL_JoystickSetVirtualAxis(input->joystick, SDL_CONTROLLER_AXIS_LEFTX, 30000);
        input->poll();
        EXPECT_EQ(input->directionsHeld, InputState::kRight);

        ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
        input->poll();
        EXPECT_EQ(input->deviceName, "None");
        EXPECT_EQ(input->controller, nullptr);
        input->poll();
        EXPECT_EQ(input->actionsHeld, 0u) << "nothing stays held from a pad that is gone";
        EXPECT_EQ(input->directionsHeld, 0);
    }
}
