// The game takes no command-line options and reads no environment variables of its own.
#include <SDL.h>

#include "core/Game.h"

int main(int, char**) {
    Game game;
    if (const int failure = game.startUp()) return failure;
    game.run();
    game.shutDown();
    return 0;
}
