// Feeds arbitrary bytes to the music list reader as if they were "Sound/levels.bgm".
#include "audio/MusicList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const char* key : {"MAIN", "GAME", "WIN", "GAMEOVER", "LOOP0", "LOOP3", ""}) {
        std::array<std::string, 4> tracks;
        if (!MusicList::find(data, size, key, tracks)) continue;
        // A track is one line piece: never longer than a piece, never holding a line feed.
        for (const std::string& track : tracks)
            if (track.size() > MusicList::kPieceBytes || track.find('\n') != std::string::npos)
                __builtin_trap();
    }
    return 0;
}
