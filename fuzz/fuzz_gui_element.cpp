// The description and binary forms of GraphicElement and GraphicAnimation, bytes from memory and
// a texture lookup that needs no GL. The first byte picks the form and the class and, with the
// input's length, the size of every picture (so grids over tiny and empty pictures are reached).
#include "../tests/Fakes.h"
#include "gui/GraphicAnimation.h"
#include "gui/GraphicElement.h"

namespace {
template <class E> void exercise(uint8_t mode, const uint8_t* data, size_t size) {
    FakeTextures textures;
    textures.width = static_cast<uint16_t>(mode * 7);
    textures.height = static_cast<uint16_t>(size * 3);
    E element;
    MemorySource in(data, size);
    if (mode & 1)
        element.readBinary(in, textures);
    else
        element.parseDescriptionBytes("Assets/gui/e.gfx", data, size, textures);
    // Whatever was read must animate and write back without reading out of bounds; the texture
    // index is a fake, so the element must not try to delete it from a store.
    element.animated = element.frameCount > 1;
    for (int i = 0; i < 4; ++i)
        element.advanceAnimation();
    writeBytes(element);
    element.texture = -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0)
        (data[0] & 2 ? exercise<GraphicAnimation> : exercise<GraphicElement>)(data[0], data + 1, size - 1);
    return 0;
}
