#pragma once
// Small pieces the nine menus share: clearing the game screen, the common scene switch, re-keying
// a button's state texts, the menu music, names players read, and flag pictures drawn 50 x 30.
//
// Owns: nothing. Never: keeps state between calls.
// On failure: every helper does nothing (or answers empty) when a game-wide object, a widget or
// a list entry is missing, so a menu built from a short scene file or run without levels survives.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "core/SceneManager.h"

class GUIElement;
class Menu;
class Scene;
struct Flag;
struct LevelInfo;

namespace menus {

// Mode of requestExit: 1 goes on to `nextScene`, 2 goes back to the scene left last.
constexpr uint32_t kSwitchOn = 1, kSwitchBack = 2;
// What a switch back names: the number is not read, the scene left last is.
constexpr uint16_t kBackScene = kPongScene;

// The game screen bound (the scene base leaves the window bound) and cleared to `argb`.
void clearGameScreen(uint32_t argb);
// The game screen bound without clearing, for the menu that draws over what is there.
void bindGameScreen();

// The common switch: mode 1 leaves for `nextScene` (kQuitScene ends the game), mode 2 goes back to the
// scene left last when there is one. Other modes only mark the scene left.
void commonSwitch(Scene& scene, uint32_t mode);

// a <-> b in `direction` (Menu::Up .. Menu::Right): a's neighbour that way is b, and b's the
// opposite way is a. Written only when the scene file made both widgets.
void link(Menu& menu, int a, int b, uint8_t direction);

// A column of widgets 0..count-1 that wraps: down from the last is the first.
void linkColumn(Menu& menu, int count);

// Every state text the button has gets `key` and is placed again; nothing for a non-button.
void setButtonKey(GUIElement* widget, const std::string& key);
// The buttons from widget `first` on get `keys` in order.
void setButtonKeys(Menu& menu, std::initializer_list<const char*> keys, int first = 0);

// "MAIN" is selected and started unless it is already the music.
void startMenuMusic();
void stopMenuMusic();

// The band for warnings in `font` (2), or its last band when it has fewer.
uint8_t warningBand(uint16_t font);

// What players read for a level: the level-name table's entry for its key, else the key.
std::string levelDisplayName(const LevelInfo& level);

// The current flag, or null with an empty list.
const Flag* currentFlag();
// The current level, or null with an empty list.
LevelInfo* currentLevel();
// A fresh attempt of the current level and flag: its images loaded, its counters reset.
void restartCurrentLevel();

// A flag stretched to the 50 x 30 the menus show; nothing without a picture.
void drawFlag(const Flag* flag, int16_t x, int16_t y);

} // namespace menus
