// The scene-file reader, bytes from memory with stub services: every element file it names is
// the same input again (so element readers are reached through the scene), every picture a stub.
// What was read is then entered, flown in, walked, hovered, pressed, flown out and drawn (no GL).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/FrameClock.h"
#include "gui/ElementServices.h"
#include "gui/GUIElement.h"
#include "menus/Menu.h"

namespace {
class StubTextures final : public TextureLookup {
  public:
    int32_t fetch(const std::string& path, uint16_t& w, uint16_t& h) override {
        w = static_cast<uint16_t>(path.size() * 5);
        h = static_cast<uint16_t>(path.size() * 2);
        return path.size() % 4 == 0 ? -1 : 1;
    }
};

class StubFiles final : public ElementFileLookup {
  public:
    StubFiles(const uint8_t* data, size_t size) : bytes_(data, data + size) {}
    bool readPackFile(const std::string&, std::vector<uint8_t>& bytes) override {
        bytes = bytes_;
        return true;
    }
    bool readDiskFile(const std::string& path, std::vector<uint8_t>& bytes) override {
        if (path.size() % 2) return false;
        bytes = bytes_;
        return true;
    }

  private:
    std::vector<uint8_t> bytes_;
};

class FuzzMenu final : public Menu {
  public:
    void onAction(int16_t) override { ++actions; }
    int actions = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StubFiles files(data, size);
    StubTextures textures;
    FuzzMenu menu;
    menu.parseSceneBytes(data, size, files, textures);
    // A navigation table that points anywhere, rings and stale indices included.
    const auto count = static_cast<int16_t>(menu.widgets.size());
    for (int16_t i = 0; i < count && i < 64; ++i)
        menu.setNeighbours(i, static_cast<int16_t>((i * 7) % (count + 2) - 1),
                           static_cast<int16_t>((i + 1) % (count + 1)), static_cast<int16_t>(count - i), -1);
    if (count > 1) menu.widgets[1]->setState(GUIElement::Disabled);
    frameDeltaMs = 18;
    menu.fadeInDuration = 200;
    menu.fadeOutDuration = 200;
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
    for (const auto& element : menu.elements)
        if (element) element->draw();
    menu.refreshTexts();
    // Stub texture indices must not be handed to a store for deletion.
    for (const auto& element : menu.elements)
        if (element) element->texture = -1;
    return 0;
}
