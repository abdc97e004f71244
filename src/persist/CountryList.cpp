#include "persist/CountryList.h"

#include <charconv>
#include <iostream>

#include "assets/FileStream.h"
#include "assets/StringHelpers.h"

namespace {
bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// A decimal integer with blanks (a CR) around it, nothing else; std::stoi would throw on the rest.
bool readInteger(const std::string& field, int32_t* out) {
    size_t begin = 0, end = field.size();
    while (begin < end && blank(field[begin]))
        ++begin;
    while (end > begin && blank(field[end - 1]))
        --end;
    if (begin == end) return false;
    const char* first = field.data() + begin;
    const char* last = field.data() + end;
    const auto [stop, error] = std::from_chars(first, last, *out);
    return error == std::errc() && stop == last;
}

void reportInvalid(uint32_t number) {
    std::cerr << "ERROR: Invalid Country in line " << number
              << " in file Countries/countries.txt :: NOT ENOUGHT PARAMETERS.\n";
}
} // namespace

bool CountryList::load(std::vector<LevelInfo>& levels, const CountryPictures& pictures,
                       const std::string& listFile) {
    FileStream file;
    file.open(listFile, "rb");
    if (!file.isOpen()) {
        std::cerr << "Countries/countries.txt NOT FOUND!" << std::endl;
        return false;
    }
    std::string bytes(static_cast<size_t>(file.size()), '\0');
    bytes.resize(file.read(bytes.data(), bytes.size()));
    file.close();
    readBytes(bytes, levels, pictures);
    return true;
}

void CountryList::readBytes(const std::string& bytes, std::vector<LevelInfo>& levels,
                            const CountryPictures& pictures) {
    const size_t known = levels.size();
    uint32_t number = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        readLine(bytes.substr(start, end - start), ++number, levels, known, pictures);
        start = end + 1;
    }
}

void CountryList::readLine(std::string line, uint32_t number, std::vector<LevelInfo>& levels, size_t known,
                           const CountryPictures& pictures) {
    if (!line.empty() && line[0] == '#') return;
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    const std::vector<std::string> fields = split(line, ',');
    if (fields.size() < 12) {
        reportInvalid(number);
        return;
    }
    int32_t numbers[9];
    for (size_t i = 0; i < 9; ++i) {
        if (!readInteger(fields[3 + i], &numbers[i])) {
            reportInvalid(number);
            return;
        }
    }
    // Time, survivors, goal, count and interval: a negative count would crash the set-up, a huge
    // one hang it, and minutes in milliseconds must fit 32 bits.
    for (int i = 4; i < 9; ++i) {
        if (numbers[i] < 0) {
            reportInvalid(number);
            return;
        }
    }
    // Nor is a level taken that nobody can ever win: no creatures to save, or a share above all.
    if (numbers[4] > kMostMinutes || numbers[7] > kMostCreatures || numbers[7] == 0 || numbers[5] > 100 ||
        numbers[6] > 100) {
        reportInvalid(number);
        return;
    }
    LevelInfo level;
    level.name = fields[0];
    level.imagePath = kFolder + fields[1];
    level.stampPath = kFolder + fields[2];
    level.startX = numbers[0];
    level.startY = numbers[1];
    level.exitX = numbers[2];
    level.exitY = numbers[3];
    level.timeLimitMinutes = numbers[4];
    level.minSurvivorPercent = numbers[5];
    level.goalPercent = numbers[6];
    level.creatureCount = numbers[7];
    level.spawnIntervalMs = numbers[8];
    for (size_t i = 0; i < known && i < levels.size(); ++i)
        if (levels[i].sameLine(level)) return;

    int width = 0, height = 0;
    if (pictures.size && pictures.size(level.imagePath, &width, &height)) {
        level.width = static_cast<uint16_t>(width);
        level.height = static_cast<uint16_t>(height);
    } else {
        std::cerr << "ERROR: Country " << level.name << " terrain " << level.imagePath << " NOT LOAD."
                  << std::endl;
    }
    level.stampSurface = pictures.loadStamp ? pictures.loadStamp(level.stampPath) : -1;
    if (level.stampSurface < 0)
        std::cerr << "ERROR: Country " << level.name << " stamp " << level.stampPath << " NOT LOAD."
                  << std::endl;
    levels.push_back(std::move(level));
}
