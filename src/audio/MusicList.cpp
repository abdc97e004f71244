#include "audio/MusicList.h"

namespace {
// The next piece: up to and including a line feed, at most kPieceBytes bytes.
bool nextPiece(const uint8_t* data, size_t size, size_t& position, std::string& piece) {
    if (position >= size) return false;
    const size_t start = position;
    while (position < size && position - start < MusicList::kPieceBytes) {
        if (data[position++] == '\n') break;
    }
    piece.assign(reinterpret_cast<const char*>(data + start), position - start);
    return true;
}
} // namespace

bool MusicList::find(const uint8_t* data, size_t size, const std::string& key,
                     std::array<std::string, 4>& tracks) {
    if (!data) return false;
    const std::string keyLine = key + "\n";
    bool found = false;
    size_t position = 0;
    std::string piece;
    while (nextPiece(data, size, position, piece)) {
        if (piece != keyLine) continue;
        std::array<std::string, 4> block;
        size_t read = 0;
        while (read < 4 && nextPiece(data, size, position, block[read])) {
            // Only the line feed goes: a last line without one keeps its last letter.
            if (!block[read].empty() && block[read].back() == '\n') block[read].pop_back();
            ++read;
        }
        // A block cut short by the end of the list names no music: it is not half-used.
        if (read < 4) break;
        tracks = block;
        found = true;
    }
    return found;
}
