#include "persist/CampaignProgress.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <unordered_set>

#include "assets/FileStream.h"
#include "assets/StringHelpers.h"
#include "persist/WholeFileWriter.h"

namespace fs = std::filesystem;

namespace {
// Digits only: the writer puts nothing else there, so a sign or a blank means a hand edit gone
// wrong, and the line is better left out than half believed.
bool readCount(const std::string& field, int32_t* out) {
    if (field.empty()) return false;
    const char* last = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), last, *out);
    return error == std::errc() && stop == last && field[0] != '-' && field[0] != '+';
}

std::string withoutCarriageReturn(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}
} // namespace

void CampaignProgress::read(const std::string& path) {
    painted.clear();
    fileInTheWay_ = false;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) return; // the first game
    std::string bytes;
    bool opened = false;
    if (fs::is_regular_file(status)) {
        FileStream file;
        file.open(path, "rb");
        opened = file.isOpen();
        bytes.resize(static_cast<size_t>(file.size()));
        bytes.resize(file.read(bytes.data(), bytes.size()));
    }
    if (!opened) {
        fileInTheWay_ = true;
        std::cerr << path << " cannot be read: the game starts with no progress and will not save over it."
                  << std::endl;
        return;
    }
    if (readBytes(bytes, path)) return;
    painted.clear();
    const std::string aside = setAsideName(path);
    fs::rename(path, aside, error);
    if (error) {
        fileInTheWay_ = true;
        std::cerr << path << " is damaged or not a progress file and cannot be set aside: the game starts"
                  << " with no progress and will not save over it." << std::endl;
    } else {
        std::cerr << path << " is damaged or not a progress file: set aside as " << aside
                  << "; the game starts with no progress." << std::endl;
    }
}

bool CampaignProgress::readBytes(const std::string& bytes, const std::string& path) {
    uint32_t number = 0;
    // A set, not find(): a long file must not cost a pass over every earlier entry per line.
    std::unordered_set<std::string> known;
    for (const PaintedCountry& entry : painted)
        known.insert(entry.country);
    for (size_t start = 0; start < bytes.size() || number == 0;) {
        const size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string line = withoutCarriageReturn(bytes.substr(start, end - start));
        start = end + 1;
        if (++number == 1) {
            if (line != kHeader) return false;
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> fields = split(line, ',');
        PaintedCountry entry;
        if (fields.size() == 4 && !fields[0].empty() && !fields[1].empty() && !known.count(fields[0]) &&
            readCount(fields[2], &entry.bestTimeLeftMs) && readCount(fields[3], &entry.mostSaved)) {
            entry.country = fields[0];
            entry.flag = fields[1];
            known.insert(entry.country);
            painted.push_back(entry);
        } else {
            std::cerr << path << ": line " << number << " cannot be read and is left out." << std::endl;
        }
    }
    return true;
}

std::string CampaignProgress::text() const {
    std::string text = std::string(kHeader) + "\n";
    for (const PaintedCountry& entry : painted)
        text += entry.country + "," + entry.flag + "," + std::to_string(entry.bestTimeLeftMs) + "," +
                std::to_string(entry.mostSaved) + "\n";
    return text;
}

bool CampaignProgress::save(const std::string& path) const {
    if (fileInTheWay_) return false;
    if (WholeFileWriter::write(path, text(), false) == WholeFileWriter::Result::Replaced) return true;
    std::cerr << path << " could not be saved: the progress of this game is kept until it ends." << std::endl;
    return false;
}

bool CampaignProgress::recordWin(const std::string& country, const std::string& flag, int32_t timeLeftMs,
                                 int32_t saved) {
    timeLeftMs = std::max(timeLeftMs, 0);
    saved = std::max(saved, 0);
    auto known = std::find_if(painted.begin(), painted.end(),
                              [&](const PaintedCountry& entry) { return entry.country == country; });
    if (known == painted.end()) {
        painted.push_back({country, flag, timeLeftMs, saved});
        return true;
    }
    const PaintedCountry before = *known;
    known->flag = flag;
    known->bestTimeLeftMs = std::max(known->bestTimeLeftMs, timeLeftMs);
    known->mostSaved = std::max(known->mostSaved, saved);
    return known->flag != before.flag || known->bestTimeLeftMs != before.bestTimeLeftMs ||
           known->mostSaved != before.mostSaved;
}

const PaintedCountry* CampaignProgress::find(const std::string& country) const {
    for (const PaintedCountry& entry : painted)
        if (entry.country == country) return &entry;
    return nullptr;
}

std::string CampaignProgress::setAsideName(const std::string& path) {
    std::error_code error;
    for (uint32_t n = 1;; ++n) {
        std::string name = path + ".damaged-" + std::to_string(n);
        if (!fs::exists(fs::symlink_status(name, error))) return name;
    }
}
