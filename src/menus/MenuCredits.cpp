#include "menus/MenuCredits.h"

#include "menus/MenuSupport.h"
#include "text/TextBox.h"

void MenuCredits::load() {
    loadScreen("Assets/scene/Credits.scn");
    // Continue, the only way off the screen; a player who has read enough presses Return.
    forwardButton = 0;
    typingDelays.assign(elements.size(), 0);
    for (size_t i = 0; i < elements.size(); ++i) {
        GraphicElement* e = element(static_cast<int>(i));
        if (!e || !e->isKindOf(32)) continue;
        const auto* box = static_cast<const TextBox*>(e);
        if (!box->lines.empty() && box->lines.front()->typing)
            typingDelays[i] = box->lines.front()->typeDelay;
    }
}

void MenuCredits::enter() {
    Menu::enter();
    for (size_t i = 0; i < typingDelays.size(); ++i) {
        GraphicElement* e = element(static_cast<int>(i));
        if (typingDelays[i] > 0 && e && e->isKindOf(32))
            static_cast<TextBox*>(e)->setTypingDelay(typingDelays[i]);
    }
}

void MenuCredits::placeForEntry() {
    Menu::placeForEntry();
    menus::setButtonKeys(*this, {"GEN_CONTIN"});
}

void MenuCredits::onAction(int16_t) {
    if (focused == 0) requestExit(menus::kSwitchOn, kMainScene);
}
