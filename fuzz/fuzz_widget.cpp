// The four widgets' description and binary forms, bytes from memory and a texture lookup that
// needs no GL. The first byte picks the class (bits 0-1) and the form (bit 2); what was read is
// then driven through every state, step and value, hit, drawn (no GL: nothing reaches the screen,
// but every tile loop runs) and written back.
#include "../tests/Fakes.h"
#include "base/FrameClock.h"
#include "gui/Button.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"

namespace {
template <class W> void exercise(uint8_t mode, const uint8_t* data, size_t size) {
    // The picture's width comes from the input too, so narrow pictures (no pieces) are reached.
    FakeTextures textures;
    textures.width = static_cast<uint16_t>(mode >> 3);
    textures.height = static_cast<uint16_t>(size % 97);
    W widget;
    static const char* const kNames[] = {"Assets/gui/w.btn", "Assets/gui/w.sel", "Assets/gui/w.sli",
                                         "Assets/gui/w.swt"};
    MemorySource in(data, size);
    if (mode & 4)
        widget.readBinary(in, textures);
    else
        widget.parseDescriptionBytes(kNames[mode & 3], data, size, textures);
    frameDeltaMs = 17;
    widget.setPosition(size % 400 - 40, size % 220 - 10);
    for (int32_t s = -1; s < 7; ++s) {
        widget.hitTest(widget.x + s * 7, widget.y + s);
        widget.setState(s);
        widget.step(s % 2 == 0);
        widget.setValue(s * 40 - 50);
        widget.update();
        widget.draw();
    }
    widget.drawAt(3, 4);
    widget.refreshTexts();
    widget.getValue();
    writeBytes(widget);
    // The texture index is a fake: the element must not ask a store to delete it.
    widget.texture = -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using Exercise = void (*)(uint8_t, const uint8_t*, size_t);
    static const Exercise kinds[] = {exercise<Button>, exercise<Selector>, exercise<Slider>,
                                     exercise<SwitchButton>};
    if (size > 0) kinds[data[0] & 3](data[0], data + 1, size - 1);
    return 0;
}
