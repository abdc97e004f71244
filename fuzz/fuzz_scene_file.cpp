// The scene-file reader with fake services: every element file it names is the input again, every
// picture a fake. What was read is entered, flown in, walked, pressed, flown out and drawn (no GL).
#include "../tests/Fakes.h"
#include "base/FrameClock.h"
#include "gui/GUIElement.h"
#include "menus/Menu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FakeFiles files;
    files.everyFile = &bytes;
    FakeTextures textures;
    textures.width = static_cast<uint16_t>(size * 5);
    textures.height = static_cast<uint16_t>(size * 2);
    Menu menu;
    menu.parseSceneBytes(data, size, files, textures);
    // A navigation table that points anywhere, rings and stale indices included.
    const auto count = static_cast<int16_t>(menu.widgets.size());
    for (int16_t i = 0; i < count && i < 64; ++i)
        menu.setNeighbours(i, static_cast<int16_t>((i * 7) % (count + 2) - 1),
                           static_cast<int16_t>((i + 1) % (count + 1)), static_cast<int16_t>(count - i), -1);
    if (count > 1) menu.widgets[1]->setState(GUIElement::Disabled);
    frameDeltaMs = 18;
    menu.fadeInDuration = menu.fadeOutDuration = 200;
    menu.placeForEntry();
    menu.state = Scene::FadingIn;
    for (int i = 0; i < 15 && menu.state == Scene::FadingIn; ++i)
        menu.updateFadeIn();
    for (uint8_t d = 0; d < 8; ++d) {
        menu.navigate(d % 4);
        menu.moveFocus(d % 4, 3);
        menu.mouseX = d * 40;
        menu.mouseY = d * 25;
        menu.hoverFocus();
        menu.pressFocused();
        menu.updateRunning();
    }
    menu.setFocus(static_cast<int16_t>(count + 3));
    menu.state = Scene::FadingOut;
    for (int i = 0; i < 15; ++i)
        menu.updateFadeOut();
    menu.refreshTexts();
    // Fake texture indices must not be handed to a store for deletion.
    for (const auto& element : menu.elements)
        if (element) element->draw(), element->texture = -1;
    return 0;
}
