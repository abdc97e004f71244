#pragma once
// CampaignProgress — the countries the player has painted, kept from run to run in
// "Savedata/progress.txt".
//
// Owns: one entry per painted country (its key as the country list writes it, the flag of its
// latest win, the best time left and the most creatures saved), in the order first painted.
// Never: deletes or overwrites a file it could not read, lowers a stored best, or leaves a cut
// file (the save goes through a scratch file and a rename).
// On failure: a missing file is a first game, without a message. A file whose first line is not
// this format's is told in one line on standard error, renamed aside (never over an earlier
// set-aside file) and the game starts with no progress; when it cannot be set aside the game does
// not save over it. A line that cannot be read is named on standard error and left out; the rest
// is kept. A failed save says so on standard error; the old file stays whole. Never throws.
#include <cstdint>
#include <string>
#include <vector>

struct PaintedCountry {
    std::string country;
    std::string flag;
    int32_t bestTimeLeftMs = 0;
    int32_t mostSaved = 0;
};

class CampaignProgress final {
  public:
    static constexpr const char* kFile = "Savedata/progress.txt";
    // The first line: the format and its version, so a foreign or newer file is not misread.
    static constexpr const char* kHeader = "VOV ARUZEZUDOR PROGRESS 1";

    // Forgets what it held and reads `path`; see the banner for what a bad file does.
    void read(const std::string& path = kFile);
    // The file's bytes as the reader takes them: true when the first line is the header.
    bool readBytes(const std::string& bytes, const std::string& path = kFile);
    // False when the file could not be replaced (or must not be: an unread file is in the way).
    bool save(const std::string& path = kFile) const;
    std::string text() const;

    // A won level: a new entry, or the same country with the better of each number and the flag
    // it was painted with this time. True when the entry changed.
    bool recordWin(const std::string& country, const std::string& flag, int32_t timeLeftMs, int32_t saved);
    const PaintedCountry* find(const std::string& country) const;
    bool isPainted(const std::string& country) const { return find(country) != nullptr; }

    // The name a damaged `path` is set aside under: "<path>.damaged-N" with the first N (from 1)
    // not yet taken.
    static std::string setAsideName(const std::string& path);

    std::vector<PaintedCountry> painted;

  private:
    bool fileInTheWay_ = false;
};
