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
    NameCounts linesSoFar;
    while (!file.atEnd())
        readLine(file.readLine(), flags, loader, linesSoFar);
    file.close();
    return true;
}

void FlagList::readLine(std::string line, std::vector<Flag>& flags, const FlagPictureLoader& loader,
                        NameCounts& linesSoFar) {
    // A list saved on Windows ends its lines with CR LF; the name must not keep the CR.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') return;
    const std::vector<std::string> fields = split(line, ',');
    const std::string name = fields.empty() ? std::string() : fields[0];
    const size_t nth = ++linesSoFar[name];
    const auto same = [&name](const Flag& flag) { return flag.name == name; };
    if (static_cast<size_t>(std::count_if(flags.begin(), flags.end(), same)) >= nth) return;
    // A flag named again shares the picture it already has: one surface and texture per name.
    const auto known = std::find_if(flags.begin(), flags.end(), same);
    if (known != flags.end()) {
        flags.push_back(*known);
        return;
    }
    const FlagPicture picture = loader ? loader(kFolder + name) : FlagPicture{};
    if (picture.surface < 0) {
        std::cerr << "Flag " << name << " NOT LOAD." << std::endl;
        return;
    }
    flags.push_back(Flag{name, picture.surface, picture.texture, picture.width, picture.height});
}
