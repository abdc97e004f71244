#include "gui/GUIElement.h"

bool GUIElement::hitTest(int32_t px, int32_t py) {
    const bool inside = px >= x && px <= x + source.w && py >= y && py <= y + source.h;
    hovered = inside ? 1 : 0;
    return inside;
}

void GUIElement::setState(int32_t s) {
    previousState = state;
    if (s < 4) state = s;
}
