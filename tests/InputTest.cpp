#include <SDL.h>
#include <array>
#include <gtest/gtest.h>
#include <tuple>

#include "TestSupport.h"
#include "core/InputState.h"

namespace {
using State = std::array<int, 5>;
constexpr int kLeft = InputState::kLeft, kRight = InputState::kRight, kUp = InputState::kUp,
              kDown = InputState::kDown;

class Input : public testing::Test {
  protected:
    Input() {
        SDL_Init(SDL_INIT_EVENTS);
        input->setSource(std::unique_ptr<FakeInput>(fake = new FakeInput));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    ~Input() override {
        input.reset();
        SDL_Quit();
    }
    // Polls once: actions held and released, directions held, pressed and released.
    State poll() {
        input->poll();
        return {input->actionsHeld, input->actionsReleased, input->directionsHeld, input->directionsPressed,
                input->directionsReleased};
    }
    static void pad(uint32_t type, uint8_t button) {
        pushEvent(type, [&](SDL_Event& e) { e.cbutton.button = button; });
    }

    FakeClock clock;
    std::unique_ptr<InputState> input = std::make_unique<InputState>();
    FakeInput* fake = nullptr;
};
} // namespace

TEST_F(Input, KeysFeedActionsDirectionsAndTheirEdges) {
    // The constructor's own table: A and S are actions 4 and 5; WASD is off until turned on.
    fake->keys[SDL_SCANCODE_A] = 1;
    EXPECT_EQ(poll(), (State{1 << 4, 0, 0, 0, 0}));
    input->installDefaultKeyBindings();
    input->wasdEnabled = 1;
    EXPECT_EQ(poll(), (State{0, 0, kLeft, kLeft, 0})) << "A is no longer an action";
    fake->keys[SDL_SCANCODE_A] = 0;
    for (SDL_Scancode key :
         {SDL_SCANCODE_SPACE, SDL_SCANCODE_RETURN, SDL_SCANCODE_4, SDL_SCANCODE_Q, SDL_SCANCODE_UP})
        fake->keys[key] = 1;
    EXPECT_EQ(poll(), (State{1 << 0 | 1 << 10 | 1 << 15 | 1 << 4, 0, kUp, kUp, kLeft}));
    // Down and up in one frame is a release without a hold; a key-up marks a direction released
    // even when the state array already says so.
    fake->keys = {};
    poll();
    pushKey(SDL_SCANCODE_SPACE);
    pushKey(SDL_SCANCODE_SPACE, false);
    pushKey(SDL_SCANCODE_DOWN, false);
    EXPECT_EQ(poll(), (State{0, 1, 0, 0, kDown}));
    EXPECT_EQ(input->lastKey, static_cast<uint32_t>(SDL_SCANCODE_SPACE));
    EXPECT_EQ(poll(), (State{0, 0, 0, 0, 0}));
    EXPECT_EQ(input->lastKey, 0u);
}

TEST_F(Input, StickCountsOnlyPastItsThreshold) {
    auto axis = [&](int which, int value) {
        pushEvent(SDL_CONTROLLERAXISMOTION, [&](SDL_Event& e) {
            e.caxis.axis = static_cast<uint8_t>(which);
            e.caxis.value = static_cast<int16_t>(value);
        });
    };
    for (auto [which, sign, direction] : {std::array<int, 3>{SDL_CONTROLLER_AXIS_LEFTX, 1, kRight},
                                          {SDL_CONTROLLER_AXIS_LEFTX, -1, kLeft},
                                          {SDL_CONTROLLER_AXIS_LEFTY, 1, kDown},
                                          {SDL_CONTROLLER_AXIS_LEFTY, -1, kUp}})
        for (int value : {24000, 24001, 32767}) {
            axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
            axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
            axis(which, sign * value);
            EXPECT_EQ(poll()[2], value > 24000 ? direction : 0) << sign * value;
        }
}

TEST_F(Input, LockHoldsEventsBackUntilItsTimeIsUp) {
    input->installDefaultKeyBindings();
    input->inputLockEnabled = 1;
    input->inputLockMs = 150;
    fake->keys[SDL_SCANCODE_SPACE] = 1;
    clock.advance(1000);
    poll();
    const uint32_t lastInput = clock.now;
    EXPECT_EQ(input->lastInputTicks, lastInput);
    // Held bits are cleared even while locked, the key-up waits in the queue, the pointer moves.
    fake->keys[SDL_SCANCODE_SPACE] = 0;
    pushKey(SDL_SCANCODE_SPACE, false);
    fake->mx = 77;
    clock.advance(149);
    EXPECT_EQ(poll(), (State{0, 0, 0, 0, 0}));
    EXPECT_EQ(input->rawMouseX(), 77);
    clock.advance(1);
    EXPECT_EQ(poll(), (State{0, 1, 0, 0, 0}));
    EXPECT_EQ(input->lastInputTicks, lastInput) << "a frame without input starts no new lock";
    for (bool locked : {true, false}) {
        input->inputLockEnabled = locked;
        clock.advance(1);
        const SDL_Scancode key = locked ? SDL_SCANCODE_X : SDL_SCANCODE_Z;
        pushKey(key);
        poll();
        EXPECT_EQ(input->lastKey, static_cast<uint32_t>(key));
    }
}

TEST_F(Input, WindowEventsAcceptBackAndSecondary) {
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    for (SDL_Scancode key : {SDL_SCANCODE_RETURN2, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_BACKSPACE})
        pushKey(key);
    poll();
    EXPECT_TRUE(input->focusLostThisFrame() && input->acceptPressed && input->backPressed &&
                input->escapePressed && input->secondaryPressed);
    poll();
    EXPECT_FALSE(input->focusLostThisFrame() || input->acceptPressed || input->backPressed);
    EXPECT_TRUE(input->windowUnfocused) << "unfocused until focus returns";
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    poll();
    EXPECT_TRUE(!input->windowUnfocused && input->focusRegained);
    input->acceptOnPress = 1;
    pushKey(SDL_SCANCODE_RETURN);
    pushEvent(SDL_QUIT, [](SDL_Event&) {});
    poll();
    EXPECT_TRUE(!input->focusRegained && input->quitRequested());
    poll();
    EXPECT_TRUE(input->acceptPressed) << "with acceptOnPress only the reader clears it";
}

TEST_F(Input, MouseHeldFromTheSourcePressesAndReleasesFromEvents) {
    fake->mx = 640;
    fake->my = 360;
    fake->buttons = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
    pushButton(SDL_BUTTON_MIDDLE, false);
    pushButton(SDL_BUTTON_LEFT, false);
    poll();
    // Both releases of the frame are kept.
    EXPECT_EQ(std::tuple(input->rawMouseY(), input->mouseButtons(), input->mouseReleased),
              std::tuple(360, uint32_t{SDL_BUTTON_LMASK | SDL_BUTTON_RMASK}, uint8_t{0b011}));
    // A tap between two frames: down and up before one poll, never seen in the held mask.
    fake->buttons = 0;
    pushClick(SDL_BUTTON_RIGHT);
    poll();
    EXPECT_EQ(std::tuple(input->mousePressed, input->mouseButtons()), std::tuple(uint8_t{0b100}, 0u));
    // A held button fires in its first frame only, and not again after the lock zeroed the mask.
    pushButton(SDL_BUTTON_LEFT, true);
    fake->buttons = SDL_BUTTON_LMASK;
    clock.advance(1000);
    poll();
    EXPECT_EQ(input->mousePressed, 0b001);
    input->inputLockEnabled = 1;
    input->inputLockMs = 150;
    poll();
    EXPECT_EQ(input->mousePressed + input->mouseButtons(), 0u);
    clock.advance(150);
    poll();
    EXPECT_EQ(std::tuple(input->mouseButtons(), input->mousePressed),
              std::tuple(uint32_t{SDL_BUTTON_LMASK}, uint8_t{0}));
}

TEST_F(Input, ControllerButtonsAndDpadOfAnXboxLikePad) {
    input->deviceName = "Generic X360 Controller";
    ASSERT_TRUE(input->isXboxLike());
    input->installDefaultControllerBindings();
    input->dpadEnabled = 1;
    pad(SDL_CONTROLLERBUTTONDOWN, 3); // Y: action 1
    pad(SDL_CONTROLLERBUTTONDOWN, 11);
    EXPECT_EQ(poll(), (State{1 << 1 | InputState::kDpadUpAction, 0, 0, kUp, 0}));
    EXPECT_EQ(input->dpadHeld, kUp);
    pad(SDL_CONTROLLERBUTTONUP, 11);
    pad(SDL_CONTROLLERBUTTONUP, 0); // A: accept, action 0
    const State after = poll();
    EXPECT_EQ(std::tuple(after[1], after[4], input->dpadHeld, input->acceptPressed),
              std::tuple(1 | InputState::kDpadUpAction, kUp, uint8_t{0}, uint8_t{1}));
}

// A virtual pad plugged in and out while the game runs, as SDL reports a real one: B is action 2
// on an Xbox-like pad and action 0 on another, and a pad's held bits carry over between frames.
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
        poll();
        const bool xbox = name[0] == 'X';
        EXPECT_EQ(input->deviceName + " " + std::to_string(input->backButton),
                  name + std::string(xbox ? " 4" : " 7"));
        SDL_JoystickSetVirtualButton(input->joystick, SDL_CONTROLLER_BUTTON_B, 1);
        SDL_JoystickSetVirtualAxis(input->joystick, SDL_CONTROLLER_AXIS_LEFTX, 30000);
        poll();
        EXPECT_EQ(poll(), (State{xbox ? 1 << 2 : 1 << 0, 0, kRight, 0, 0}));
        ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
        poll();
        EXPECT_EQ(input->controller, nullptr);
        EXPECT_EQ(poll(), (State{0, 0, 0, 0, 0})) << "nothing stays held from a pad that is gone";
    }
}
