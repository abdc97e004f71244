// The description and binary forms of the widgets, pictures and animations, with no GL. Byte 0 picks
// the class (modulo 6) and the form (bit 7); byte 1 is the picture's width, narrow and empty ones
// included. What was read is driven through every state, step and value, drawn and written back.
#include <type_traits>

#include "../tests/Fakes.h"
#include "base/FrameClock.h"
#include "gui/Button.h"
#include "gui/GraphicAnimation.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"

namespace {
template <class W>
void exercise(const char* name, bool binary, uint8_t width, const uint8_t* data, size_t size) {
    FakeTextures textures;
    textures.width = width;
    textures.height = static_cast<uint16_t>(size % 97);
    W element;
    MemorySource in(data, size);
    binary ? element.readBinary(in, textures) : element.parseDescriptionBytes(name, data, size, textures);
    frameDeltaMs = 17;
    element.setPosition(static_cast<int32_t>(size % 400) - 40, static_cast<int32_t>(size % 220) - 10);
    if constexpr (!std::is_base_of_v<GUIElement, W>) element.animated = element.frameCount > 1;
    for (int32_t s = -1; s < 7; ++s) {
        if constexpr (std::is_base_of_v<GUIElement, W>) {
            element.hitTest(element.x + s * 7, element.y + s);
            element.setState(s);
            element.step(s % 2 == 0);
            element.setValue(s * 40 - 50);
            element.refreshTexts();
            element.getValue();
        }
        element.update();
        element.draw();
    }
    element.drawAt(3, 4);
    writeBytes(element);
    // The texture index is a fake: the element must not ask a store to delete it.
    element.texture = -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::pair<void (*)(const char*, bool, uint8_t, const uint8_t*, size_t), const char*>
        kinds[] = {
            {exercise<Button>, "Assets/gui/w.btn"},         {exercise<Selector>, "Assets/gui/w.sel"},
            {exercise<Slider>, "Assets/gui/w.sli"},         {exercise<SwitchButton>, "Assets/gui/w.swt"},
            {exercise<GraphicElement>, "Assets/gui/w.gfx"}, {exercise<GraphicAnimation>, "Assets/gui/w.ani"}};
    if (size < 2) return 0;
    const auto& [run, name] = kinds[(data[0] & 0x7F) % 6];
    run(name, data[0] >> 7, data[1], data + 2, size - 2);
    return 0;
}
