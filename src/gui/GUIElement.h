#pragma once
// GUIElement — the interactive part every widget shares: interaction state, hover by hit test,
// the press timer. The widgets (buttons, selectors, sliders, switches) derive from it.
// Never: plays sounds or moves focus itself; the menu does that from the state it reads here.
// The helpers below read the parts the widgets' files share (text references, two-number
// fields) and never index past what a line holds: a missing number reads as 0.
#include <memory>
#include <string>
#include <vector>

#include "gui/GraphicElement.h"
#include "text/TextLine.h"

class GUIElement : public GraphicElement {
  public:
    enum State : int32_t { Normal = 0, Focused = 1, Pressed = 2, Disabled = 3 };

    int32_t getState() const override { return state < 4 ? state : 12; }
    bool isKindOf(int kind) const override { return kind == 25 || kind == 26; }
    // Both edges count as inside.
    virtual bool hitTest(int32_t px, int32_t py);
    virtual void setState(int32_t s);
    virtual void setValue(int32_t) {}
    virtual void step(bool) {}
    virtual int32_t getValue() const { return 0; }
    virtual void refreshTexts() {}

    // Widgets carry their texts along wherever they are put.
    void setPosition(int32_t atX, int32_t atY) override;
    void setX(int32_t atX) override;
    void setY(int32_t atY) override;
    void moveTowardTarget(uint16_t speed) override;

    // TAB-separated fields of a line; an empty line has none.
    static std::vector<std::string> tabFields(const std::string& line);
    // "a,b": each number read from its own piece; a missing piece reads as 0.
    static void readPair(const std::string& text, int32_t& a, int32_t& b);
    // A text reference of the binary form: key (or "NO_TEXT"), font u16, colour u8. Null for
    // "NO_TEXT" when `noneAllowed`, or when even the key is missing.
    static std::unique_ptr<TextLine> readTextRef(ByteSource& in, bool noneAllowed);
    static void writeTextRef(ByteSink& out, const TextLine* text);
    // A text line made from description fields: key, then "font,colour".
    static std::unique_ptr<TextLine> textFromFields(const std::vector<std::string>& fields);
    // Texts take 16-bit coordinates; anything further away is pinned to the edge of that range.
    static int16_t clampCoordinate(int64_t value);

    int32_t state = Normal;
    int32_t previousState = Normal;
    uint8_t hovered = 0;
    uint8_t changed = 0;
    uint8_t pressSound = 1;
    uint32_t pressTimer = 0;

  protected:
    // Puts the widget's texts where its position says; nothing for the base.
    virtual void placeTexts() {}
    // The press timing of every widget: after 201 ms in a pressed state, back to the look before.
    void advancePress(bool pressedNow);
};
