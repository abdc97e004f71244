#include "menus/Menu.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "audio/AudioSystem.h"
#include "base/FrameClock.h"
#include "base/GameWide.h"
#include "core/InputState.h"
#include "gui/Button.h"
#include "gui/ElementServices.h"
#include "gui/GUIElement.h"
#include "gui/GraphicAnimation.h"
#include "gui/Selector.h"
#include "gui/Slider.h"
#include "gui/SwitchButton.h"
#include "menus/MenuSupport.h"
#include "render/Draw.h"
#include "render/Renderer.h"
#include "text/GameTexts.h"
#include "text/TextBox.h"

namespace {
// Scene-file lines: split at LF, every CR gone. Comment lines stay, since a path line is taken
// as it comes even when it is a comment.
std::vector<std::string> rawLines(const uint8_t* bytes, size_t size) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (bytes[i] != '\r') {
            line.push_back(static_cast<char>(bytes[i]));
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool isComment(const std::string& line) {
    return !line.empty() && line[0] == '#';
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t from = 0;
    for (size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1)
        pieces.push_back(text.substr(from, at - from));
    if (from < text.size()) pieces.push_back(text.substr(from));
    return pieces;
}

PointI32 readPoint(const std::string& text) {
    int32_t x = 0, y = 0;
    GUIElement::readPair(text, x, y);
    return {GUIElement::clampCoordinate(x), GUIElement::clampCoordinate(y)};
}

// "(x,y)(x,y)...": blanks anywhere are ignored; a piece without a comma is no point.
std::vector<PointI32> readPoints(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    std::string spaced;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ')' && i + 1 < text.size() && text[i + 1] == '(') {
            spaced.push_back(' ');
            ++i;
        } else if (text[i] != '(' && text[i] != ')') {
            spaced.push_back(text[i]);
        }
    }
    std::vector<PointI32> points;
    for (const std::string& piece : splitAt(spaced, ' '))
        if (piece.find(',') != std::string::npos) points.push_back(readPoint(piece));
    return points;
}

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// The next counted line (comments skipped); false at the end of the file.
bool nextCounted(const std::vector<std::string>& lines, size_t& at, std::string& line) {
    while (at < lines.size() && isComment(lines[at]))
        ++at;
    if (at >= lines.size()) return false;
    line = lines[at++];
    return true;
}

// A path line is taken as it comes: a comment in its place is consumed as no path.
void readPath(const std::vector<std::string>& lines, size_t& at, std::vector<PointI32>& path,
              uint16_t& speed) {
    if (at >= lines.size()) return;
    const std::string& pathLine = lines[at++];
    if (isComment(pathLine)) return;
    const std::vector<std::string> fields = GUIElement::tabFields(pathLine);
    if (fields.empty()) return;
    const std::vector<PointI32> points = readPoints(fields[0]);
    path.insert(path.end(), points.begin(), points.end());
    if (fields.size() > 1)
        speed = static_cast<uint16_t>(std::clamp(GraphicElement::readNumber(fields[1]), 0, 0xFFFF));
}

std::string fieldAt(const std::vector<std::string>& fields, size_t n) {
    return n < fields.size() ? fields[n] : std::string();
}

void placeHome(GraphicElement& element, const std::string& field) {
    const PointI32 p = readPoint(field);
    element.setPosition(p.x, p.y);
    element.home = element.target = p;
}

using Fields = std::vector<std::string>;

// The widget kind comes from the element file's name; null for a name of no known kind.
std::unique_ptr<GraphicElement> makeWidget(const Fields& fields, ElementFileLookup& files,
                                           TextureLookup& textures) {
    const std::string name = fieldAt(fields, 1);
    std::unique_ptr<GUIElement> widget;
    if (contains(name, ".btn"))
        widget = std::make_unique<Button>();
    else if (contains(name, ".sel"))
        widget = std::make_unique<Selector>();
    else if (contains(name, ".sli"))
        widget = std::make_unique<Slider>();
    else if (contains(name, ".swt"))
        widget = std::make_unique<SwitchButton>();
    else
        return nullptr;
    widget->loadFrom(name, files, textures);
    placeHome(*widget, fieldAt(fields, 2));
    return widget;
}

std::unique_ptr<GraphicElement> makeAnimation(const Fields& fields, ElementFileLookup& files,
                                              TextureLookup& textures) {
    auto animation = std::make_unique<GraphicAnimation>();
    animation->loadFrom(fieldAt(fields, 1), files, textures);
    placeHome(*animation, fieldAt(fields, 2));
    return animation;
}

std::unique_ptr<GraphicElement> makeImage(const Fields& fields, ElementFileLookup&, TextureLookup& textures) {
    auto image = std::make_unique<GraphicElement>();
    image->initFromImageWith(fieldAt(fields, 1), 0, 0, 0, 0, textures);
    const std::vector<std::string> numbers = splitAt(fieldAt(fields, 2), ',');
    image->setSourceRect(
        {GraphicElement::readNumber(fieldAt(numbers, 0)), GraphicElement::readNumber(fieldAt(numbers, 1)),
         GraphicElement::readSize(fieldAt(numbers, 2)), GraphicElement::readSize(fieldAt(numbers, 3))});
    placeHome(*image, fieldAt(fields, 3));
    return image;
}

// Speed words type the text at their pace; a number delays it ("0": shown at once).
std::unique_ptr<GraphicElement> makeText(const Fields& fields, ElementFileLookup&, TextureLookup&) {
    auto box = std::make_unique<TextBox>();
    const PointI32 p = readPoint(fieldAt(fields, 3));
    const std::string speed = fieldAt(fields, 4);
    if (speed == "VERY_SLOW" || speed == "SLOW" || speed == "NORMAL" || speed == "FAST" ||
        speed == "VERY_FAST")
        box->setTextTyped(fieldAt(fields, 1), speed, p.x, p.y, fieldAt(fields, 2));
    else
        box->setTextDelayed(fieldAt(fields, 1),
                            static_cast<uint16_t>(std::clamp(GraphicElement::readNumber(speed), 0, 0xFFFF)),
                            p.x, p.y, fieldAt(fields, 2));
    if (fields.size() > 5) {
        const std::string& words = fields[5];
        const uint32_t horizontal = contains(words, "CENTER") ? 2 : contains(words, "RIGHT") ? 1 : 0;
        const uint32_t vertical = contains(words, "MID") ? 0 : contains(words, "BTM") ? 2 : 1;
        box->setAlignment(horizontal, vertical);
    }
    if (fields.size() > 6) {
        int32_t colour = std::clamp(GraphicElement::readNumber(fields[6]), 0, 255);
        const GameTexts* texts = GameWide<GameTexts>::get();
        const Font* font = texts ? texts->font(box->fontIndex) : nullptr;
        if (font && font->colourCount >= 1) colour = std::min<int32_t>(colour, font->colourCount - 1);
        box->setColour(static_cast<uint8_t>(colour));
    }
    return box;
}

// One maker per element keyword, and the field that holds the element's phase bits.
struct ElementMaker {
    const char* keyword;
    size_t phaseField;
    std::unique_ptr<GraphicElement> (*make)(const Fields&, ElementFileLookup&, TextureLookup&);
};
const ElementMaker kMakers[] = {
    {"GUI_ELEMENT", 3, makeWidget},
    {"ANIMATION", 3, makeAnimation},
    {"IMAGE", 4, makeImage},
    {"TEXT", 7, makeText},
};
} // namespace

Menu::Menu() {
    fadeInDuration = 5000;
    fadeOutDuration = 5000;
    skipFadeInAllowed = 1;
    skipFadeOutAllowed = 0;
}

Menu::~Menu() = default;

void Menu::load() {
    Scene::load();
    loadScene();
    focused = 0;
    mouseEnabled = 0;
    drawDisabled = 1;
}

void Menu::reset() {
    widgets.clear();
    navigation.clear();
    for (auto& flags : phaseFlags)
        flags.clear();
    entryPaths.clear();
    exitPaths.clear();
    entrySpeeds.clear();
    exitSpeeds.clear();
    entrySteps.clear();
    exitSteps.clear();
    elementCount = 0;
    Scene::reset();
}

void Menu::enter() {
    Scene::enter();
    placeForEntry();
    pressPending = 0;
    focused = -1;
    if (InputState* input = GameWide<InputState>::get()) {
        input->inputLockEnabled = 1;
        input->inputLockMs = 150;
    }
    setFocus(-1);
    pressClock = 0;
}

void Menu::switchScene() {
    switchToNextScene();
}

void Menu::refreshTexts() {
    for (const auto& element : elements) {
        if (!element) continue;
        if (element->isKindOf(26)) static_cast<GUIElement*>(element.get())->refreshTexts();
        if (element->isKindOf(32)) static_cast<TextBox*>(element.get())->refreshText();
    }
    if (showButtonTips) setButtonTips(255);
}

void Menu::loadScene() {
    for (auto& flags : phaseFlags)
        flags.resize(elementCount, true);
    readSceneFile(sceneFile);
}

void Menu::readSceneFile(const std::string& name) {
    parseSceneFile(name);
}

void Menu::parseSceneFile(const std::string& name) {
    if (name == "none") return;
    PackElementFiles files;
    std::vector<uint8_t> bytes;
    if (!files.readPackFile(name, bytes)) return;
    StoreTextureLookup textures;
    parseSceneBytes(bytes.data(), bytes.size(), files, textures);
}

void Menu::parseSceneBytes(const uint8_t* bytes, size_t size, ElementFileLookup& files,
                           TextureLookup& textures) {
    widgets.clear();
    elements.clear();
    layerTextures.clear();
    layerRects.clear();
    layerSpeeds.clear();
    layerX.clear();
    layerY.clear();

    const std::vector<std::string> lines = rawLines(bytes, size);
    size_t at = 0;
    std::string line;
    if (!nextCounted(lines, at, line)) return;
    readLayers(line, textures);
    if (nextCounted(lines, at, line) && line != "NO") readLayerSpeeds(line);
    wrapScrollingLayers();

    int32_t declared = 0;
    if (nextCounted(lines, at, line))
        declared = std::clamp(GraphicElement::readNumber(line), 0, kMaxElements);
    sizeElementLists(static_cast<uint16_t>(declared));
    for (size_t index = 0; index < elements.size() && nextCounted(lines, at, line); ++index)
        if (!readElementLine(index, line, lines, at, files, textures)) break;
}

void Menu::readLayers(const std::string& line, TextureLookup& textures) {
    if (line == "NO_IMAGE") {
        addScrollingLayer(static_cast<uint32_t>(-1), {0, 0, 0, 0}, 0, 0, 0);
        return;
    }
    for (const std::string& name : splitAt(line, ';')) {
        uint16_t w = 0, h = 0;
        const int32_t texture = textures.fetch("Assets/menu_backgrounds/" + name, w, h);
        if (texture < 0) w = h = 0;
        addScrollingLayer(static_cast<uint32_t>(texture), {0, 0, w, h}, 0, (logicalWidth - w) * 1000,
                          (logicalHeight - h) * 1000);
    }
}

// One speed per layer, however many the line names.
void Menu::readLayerSpeeds(const std::string& line) {
    const std::vector<std::string> speeds = splitAt(line, ';');
    for (size_t i = 0; i < speeds.size() && i < layerSpeeds.size(); ++i)
        layerSpeeds[i] = std::clamp(GraphicElement::readNumber(speeds[i]), -kMaxSpeed, kMaxSpeed);
}

// A scrolling layer starts from its anchored place wrapped into one width, as it scrolls.
void Menu::wrapScrollingLayers() {
    for (size_t i = 0; i < layerSpeeds.size(); ++i) {
        const int64_t span = static_cast<int64_t>(layerRects[i].w) * 1000;
        if (layerSpeeds[i] != 0 && span > 0)
            layerX[i] = static_cast<int32_t>(((layerX[i] % span) + span) % span);
    }
}

void Menu::sizeElementLists(uint16_t count) {
    elementCount = count;
    elements.resize(count);
    entryPaths.assign(count, {});
    exitPaths.assign(count, {});
    entrySpeeds.assign(count, 0);
    exitSpeeds.assign(count, 0);
    entrySteps.assign(count, 0);
    exitSteps.assign(count, 0);
    for (auto& flags : phaseFlags)
        flags.assign(count, true);
}

bool Menu::readElementLine(size_t index, const std::string& line, const std::vector<std::string>& lines,
                           size_t& at, ElementFileLookup& files, TextureLookup& textures) {
    const std::vector<std::string> fields = GUIElement::tabFields(line);
    const std::string keyword = fieldAt(fields, 0);
    const auto maker = std::find_if(std::begin(kMakers), std::end(kMakers),
                                    [&](const ElementMaker& m) { return keyword == m.keyword; });
    if (maker == std::end(kMakers)) return true; // a line of no known kind uses up its index
    std::unique_ptr<GraphicElement> element = maker->make(fields, files, textures);
    if (!element) return false; // a widget of no known kind ends the file
    if (element->isWidget()) widgets.push_back(static_cast<GUIElement*>(element.get()));
    elements[index] = std::move(element);
    if (maker->phaseField >= fields.size()) return true;
    const int32_t bits = GraphicElement::readNumber(fields[maker->phaseField]) & 0xFF;
    if (bits == 0) return true;
    phaseFlags[FadeInPhase][index] = (bits & 1) != 0;
    phaseFlags[RunningPhase][index] = (bits & 2) != 0;
    phaseFlags[FadeOutPhase][index] = (bits & 4) != 0;
    if (bits & 1) readPath(lines, at, entryPaths[index], entrySpeeds[index]);
    if (bits & 4) readPath(lines, at, exitPaths[index], exitSpeeds[index]);
    return true;
}

GUIElement* Menu::widget(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= widgets.size()) return nullptr;
    return widgets[static_cast<size_t>(index)];
}

GraphicElement* Menu::element(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= elements.size()) return nullptr;
    return elements[static_cast<size_t>(index)].get();
}

bool Menu::inPhase(uint8_t phase, size_t index) const {
    return phase < phaseFlags.size() && index < phaseFlags[phase].size() && phaseFlags[phase][index];
}

void Menu::setNeighbours(int16_t index, int16_t up, int16_t down, int16_t left, int16_t right) {
    if (index < 0) return;
    if (navigation.size() <= static_cast<size_t>(index))
        navigation.resize(static_cast<size_t>(index) + 1, {-1, -1, -1, -1});
    navigation[static_cast<size_t>(index)] = {up, down, left, right};
}

bool Menu::widgetUsable(int index) const {
    const GUIElement* w = widget(index);
    return w && w->state != GUIElement::Disabled && w->visible;
}

void Menu::playNamed(const std::string& sound) const {
    if (sound.empty()) return;
    if (AudioSystem* audio = GameWide<AudioSystem>::get()) audio->playSound(sound, -1, 0);
}

bool Menu::confirmPressed() const {
    const InputState* input = GameWide<InputState>::get();
    return input && input->acceptPressed;
}

void Menu::placeAtPathStarts(bool entry) {
    for (size_t i = 0; i < elements.size(); ++i) {
        GraphicElement* e = elements[i].get();
        if (i < entrySteps.size()) entrySteps[i] = 1;
        if (i < exitSteps.size()) exitSteps[i] = 1;
        if (!e) continue;
        const std::vector<PointI32>* path = nullptr;
        if (entry && i < entryPaths.size()) path = &entryPaths[i];
        if (!entry && i < exitPaths.size()) path = &exitPaths[i];
        if (path && !path->empty()) {
            e->setPosition((*path)[0].x, (*path)[0].y);
            e->target = (*path)[path->size() > 1 ? 1 : 0];
        } else {
            e->setPosition(e->home.x, e->home.y);
            e->target = e->home;
        }
    }
}

void Menu::placeForEntry() {
    placeAtPathStarts(true);
    refreshTexts();
}

void Menu::moveAlongPaths(uint8_t phase) {
    const bool entry = phase == FadeInPhase;
    for (size_t i = 0; i < elements.size(); ++i) {
        GraphicElement* e = elements[i].get();
        if (!e || !inPhase(phase, i)) continue;
        const std::vector<PointI32>& path = entry ? entryPaths[i] : exitPaths[i];
        uint16_t& stepIndex = entry ? entrySteps[i] : exitSteps[i];
        if (path.size() > 1 && stepIndex < path.size()) {
            if (e->x == e->target.x && e->y == e->target.y) {
                ++stepIndex;
                if (stepIndex < path.size()) e->target = path[stepIndex];
            } else {
                e->moveTowardTarget(entry ? entrySpeeds[i] : exitSpeeds[i]);
            }
        }
        e->update();
    }
}

void Menu::updateFadeIn() {
    updateScrollingLayers();
    if (focused < 0 && !mouseEnabled) setFocus(0);
    fadeInClock += static_cast<int32_t>(frameDeltaMs);
    if (fadeInClock <= fadeInDuration && !(confirmPressed() && skipFadeInAllowed)) {
        moveAlongPaths(FadeInPhase);
        return;
    }
    state = Running;
    fadeInClock = 0;
    for (const auto& e : elements)
        if (e) e->setPosition(e->home.x, e->home.y);
}

void Menu::updateFadeOut() {
    updateScrollingLayers();
    if (fadeOutClock == 0) placeAtPathStarts(false);
    fadeOutClock += static_cast<int32_t>(frameDeltaMs);
    if (fadeOutClock <= fadeOutDuration) {
        if (confirmPressed() && skipFadeOutAllowed) {
            fadeOutClock = 0;
            if (switchRequested) switchScene();
        } else {
            moveAlongPaths(FadeOutPhase);
        }
        return;
    }
    fadeOutClock = 0;
    if (switchRequested) switchScene();
}

void Menu::updateRunning() {
    updateScrollingLayers();
    for (size_t i = 0; i < elements.size(); ++i)
        if (elements[i] && inPhase(RunningPhase, i)) elements[i]->update();
    handleInput();
    updatePress();
}

bool Menu::leftClicked() const {
    const InputState* input = GameWide<InputState>::get();
    // The edge from the button-down events: a tap that goes down and up between two frames
    // never shows in the held mask.
    return input && (input->mousePressed & SDL_BUTTON_LMASK) != 0;
}

void Menu::handleInput() {
    InputState* input = GameWide<InputState>::get();
    if (!input) return;
    const uint8_t directions = input->directionsHeld | input->dpadHeld;
    input->inputLockEnabled = 1;
    input->inputLockMs = 150;

    if (mouseEnabled && !pressPending && windowWidth > 0 && windowHeight > 0) {
        mouseX = std::clamp<int32_t>(
            static_cast<int32_t>(static_cast<int64_t>(input->rawMouseX()) * logicalWidth / windowWidth), 0,
            logicalWidth);
        mouseY = std::clamp<int32_t>(
            static_cast<int32_t>(static_cast<int64_t>(input->rawMouseY()) * logicalHeight / windowHeight), 0,
            logicalHeight);
    }
    const bool moved = mouseX != previousMouseX || mouseY != previousMouseY;
    // Kept every frame, or a pointer resting off the widgets would take the keyboard's focus away
    // again and again.
    previousMouseX = mouseX;
    previousMouseY = mouseY;

    if (input->acceptPressed) {
        if (focused < 0 && widgetUsable(forwardButton)) setFocus(forwardButton);
        pressFocused();
    } else if (mouseEnabled && leftClicked() && !pressPending) {
        // A click presses what is under the pointer, never what the keyboard left focused.
        hoverFocus();
        if (GUIElement* w = widget(focused); w && w->hitTest(mouseX, mouseY)) pressFocused();
    }
    if (!pressPending) {
        if (directions & InputState::kUp) navigate(Up);
        if (directions & InputState::kDown) navigate(Down);
        if (directions & InputState::kLeft) navigate(Left);
        if (directions & InputState::kRight) navigate(Right);
    }
    if (mouseEnabled && moved && directions == 0 && !pressPending) hoverFocus();
}

void Menu::moveFocus(uint8_t direction, uint16_t steps) {
    if (pressPending) return;
    previousFocus = focused;
    if (GUIElement* current = widget(focused)) {
        if (current->state == GUIElement::Disabled) return;
        for (GUIElement* w : widgets)
            if (w->state != GUIElement::Disabled) w->setState(GUIElement::Normal);
    }
    if (focused >= 0) {
        int16_t at = focused;
        const size_t bound = widgets.size();
        auto neighbour = [&](int16_t from) -> int16_t {
            if (from < 0 || static_cast<size_t>(from) >= navigation.size() || direction > 3) return -1;
            return navigation[static_cast<size_t>(from)][direction];
        };
        for (uint16_t s = 0; s < steps; ++s) {
            int16_t next = neighbour(at);
            // Disabled or hidden widgets are passed over, at most once each: a ring of them
            // would otherwise be walked for ever.
            for (size_t passed = 0; next >= 0 && !widgetUsable(next) && passed < bound; ++passed)
                next = neighbour(next);
            if (next < 0 || !widgetUsable(next)) break;
            at = next;
        }
        focused = at;
    } else {
        focused = -1;
        for (size_t i = 0; i < widgets.size(); ++i)
            if (widgets[i]->state != GUIElement::Disabled) {
                focused = static_cast<int16_t>(i);
                break;
            }
    }
    if (focused > static_cast<int16_t>(widgets.size()) - 1)
        focused = static_cast<int16_t>(widgets.size()) - 1;
    if (GUIElement* w = widget(focused)) w->setState(GUIElement::Focused);
    if (focused != previousFocus) playNamed(moveSound);
    lastFocus = focused;
}

void Menu::setFocus(int16_t index) {
    if (pressPending) return;
    const int16_t old = focused;
    if (index == -1) {
        for (GUIElement* w : widgets)
            if (w->state != GUIElement::Disabled) w->setState(GUIElement::Normal);
        focused = -1;
    } else {
        if (GUIElement* w = widget(focused); w && w->state != GUIElement::Disabled)
            w->setState(GUIElement::Normal);
        GUIElement* next = widget(index);
        if (next && next->state != GUIElement::Disabled) {
            next->setState(GUIElement::Focused);
            focused = index;
        } else {
            focused = -1;
        }
    }
    previousFocus = old;
    lastFocus = focused;
}

void Menu::navigate(uint8_t direction) {
    GUIElement* w = widget(focused);
    if ((direction == Left || direction == Right) && w && (w->isKindOf(28) || w->isKindOf(30))) {
        w->step(direction == Right);
        playNamed(w->isKindOf(30) ? moveSound : confirmSound);
    } else {
        moveFocus(direction, 1);
    }
    if (focused < 0) setFocus(0);
}

void Menu::hoverFocus() {
    const int16_t remembered = focused;
    setFocus(-1);
    for (size_t i = 0; i < widgets.size(); ++i)
        if (widgets[i]->visible && widgets[i]->hitTest(mouseX, mouseY)) setFocus(static_cast<int16_t>(i));
    if (focused >= 0 && focused != remembered) playNamed(moveSound);
}

void Menu::pressFocused() {
    GUIElement* w = widget(focused);
    if (!w || pressPending) return;
    if (w->getState() != GUIElement::Focused || !w->visible) return;
    pressClock = 0;
    pressPending = 1;
    w->setState(GUIElement::Pressed);
    if (w->pressSound) playNamed(confirmSound);
}

void Menu::updatePress() {
    if (!pressPending) return;
    pressClock += frameDeltaMs;
    if (pressClock <= 200) return;
    pressClock = 0;
    onAction(0);
    pressPending = 0;
}

void Menu::onAction(int16_t) {}

void Menu::clearGameScreen(uint32_t argb) {
    menus::clearGameScreen(argb);
}

void Menu::drawPhase(uint8_t phase) {
    Renderer* renderer = Renderer::instance();
    if (!renderer) return;
    renderer->bindGameScreen();
    for (size_t i = 0; i < layerSpeeds.size(); ++i) {
        const auto texture = static_cast<int32_t>(layerTextures[i]);
        if (layerSpeeds[i] != 0 || texture < 0) continue;
        drawSprite(texture, layerRects[i], GUIElement::clampCoordinate(layerX[i] / 1000),
                   GUIElement::clampCoordinate(layerY[i] / 1000));
    }
    drawScrollingLayers();
    for (size_t i = 0; i < elements.size(); ++i) {
        GraphicElement* e = elements[i].get();
        if (!e || !inPhase(phase, i)) continue;
        if (!drawDisabled && e->isKindOf(26) && static_cast<GUIElement*>(e)->state == GUIElement::Disabled)
            continue;
        e->draw();
    }
}

void Menu::drawFadeIn() {
    drawPhase(FadeInPhase);
}

void Menu::drawRunning() {
    drawPhase(RunningPhase);
}

void Menu::drawFadeOut() {
    drawPhase(FadeOutPhase);
}
