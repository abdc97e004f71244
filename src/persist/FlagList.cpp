#include "persist/FlagList.h"

#include <algorithm>
#include <iostream>

#include "assets/FileStream.h"
#include "assets/StringHelpers.h"

bool FlagList::load(std::vector<Flag>& flags, const FlagPictureLoader& loader, const std::string& listFile) {
    FileStream file;
    file.open(listFile, "r");
    if (!file.isOpen()) {
        std::cerr << "Flags/flags.txt NOT FOUND!" << std::endl;
        return false;
    }
    while (!file.atEnd())
        readLine(file.readLine(), flags, loader);
    file.close();
    return true;
}

void FlagList::readLine(std::string line, std::vector<Flag>& flags, const FlagPictureLoader& loader) {
    // A list saved on Windows ends its lines with CR LF; the name must not keep the CR.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') return;
    const std::vector<std::string> fields = split(line, ',');
    const std::string name = fields.empty() ? std::string() : fields[0];
    const bool known =
        std::any_of(flags.begin(), flags.end(), [&name](const Flag& flag) { return flag.name == name; });
    if (known) return;
    const FlagPicture picture = loader ? loader(kFolder + name) : FlagPicture{};
    if (picture.surface < 0) {
        std::cerr << "Flag " << name << " NOT LOAD." << std::endl;
        return;
    }
    flags.push_back(Flag{name, picture.surface, picture.texture, picture.width, picture.height});
}
