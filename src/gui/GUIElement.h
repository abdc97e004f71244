#pragma once
// GUIElement — the interactive part every widget shares: interaction state, hover by hit test,
// the press timer. The widgets (buttons, selectors, sliders, switches) derive from it.
// Never: plays sounds or moves focus itself; the menu does that from the state it reads here.
#include "gui/GraphicElement.h"

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

    int32_t state = Normal;
    int32_t previousState = Normal;
    uint8_t hovered = 0;
    uint8_t changed = 0;
    uint8_t pressSound = 1;
    uint32_t pressTimer = 0;
};
