// Every shipped level, read from data/ by the game's own reader, against the game's limits. Whether
// it can be won is checked by the level script that writes it and by the robot sweep.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "TestSupport.h"
#include "assets/ImageData.h"
#include "assets/StringHelpers.h"
#include "persist/CountryList.h"
#include "text/GameTexts.h"

namespace {
const std::filesystem::path kData = std::filesystem::path(VOV_SOURCE_DIR) / "data";

struct Shipped {
    std::vector<LevelInfo> levels;
    std::vector<std::unique_ptr<ImageData>> stamps; // by stampSurface
    std::string errors;
};

const Shipped& shipped() {
    static const Shipped* const all = [] {
        auto* read = new Shipped;
        CountryPictures pictures;
        pictures.size = [](const std::string& path, int* w, int* h) {
            return ImageData::readFileSize((kData / path).string().c_str(), w, h);
        };
        pictures.loadStamp = [read](const std::string& path) {
            read->stamps.push_back(ImageData::decodeFile((kData / path).string().c_str()));
            return read->stamps.back() ? static_cast<int32_t>(read->stamps.size()) - 1 : -1;
        };
        testing::internal::CaptureStderr();
        CountryList::readBytes(readWhole(kData / CountryList::kListFile), read->levels, pictures);
        read->errors = testing::internal::GetCapturedStderr();
        return read;
    }();
    return *all;
}
} // namespace

TEST(ShippedLevels, ListNamesPicturesAndNumbersFitTheGame) {
    const Shipped& all = shipped();
    EXPECT_EQ(all.errors, "");
    ASSERT_GE(all.levels.size(), 190u);
    GameTexts::Table names;
    const std::string nameBytes = readWhole(kData / "Assets/texts/levelnames.txt");
    GameTexts::parseTable(reinterpret_cast<const uint8_t*>(nameBytes.data()), nameBytes.size(), names);
    std::set<std::string> keys;
    for (const LevelInfo& v : all.levels) {
        SCOPED_TRACE(v.name);
        const LevelInfo& b = &v == all.levels.data() ? v : (&v)[-1]; // no level asks less than the one before
        EXPECT_TRUE(v.creatureCount >= b.creatureCount && v.spawnIntervalMs <= b.spawnIntervalMs &&
                    v.minSurvivorPercent >= b.minSurvivorPercent && v.goalPercent >= b.goalPercent);
        EXPECT_TRUE(keys.insert(v.name).second && names.count(v.name) &&
                    std::all_of(v.name.begin(), v.name.end(), [](char c) { return c >= ' ' && c <= '~'; }));
        EXPECT_TRUE(v.width >= 320 && v.width <= 1600 && v.height >= 200 && v.height <= 1000)
            << v.width << "x" << v.height;
        const ImageData& stamp = *all.stamps.at(v.stampSurface); // throws when the stamp was not read
        const int side = std::max(stamp.width(), stamp.height());
        EXPECT_TRUE(stamp.bytesPerPixel() == 4 && side >= 12 && side <= 20) << "stamp";
        EXPECT_TRUE(v.timeLimitMinutes >= 1 && v.timeLimitMinutes <= 999 && v.creatureCount >= 1 &&
                    v.creatureCount <= 999 && v.spawnIntervalMs > 0 && v.goalPercent > 0 &&
                    v.goalPercent <= 100 && v.minSurvivorPercent >= 0 && v.minSurvivorPercent <= 100);
        // With fewer creatures than it takes to reach the survivor share, one loss is fatal at once.
        EXPECT_LE(v.minSurvivorPercent * v.creatureCount / 100, v.creatureCount - 1);
    }
}

// The countries a player looks for first: the G20, the European Union, the ones players asked for by
// name and the best-known small states.
TEST(ShippedLevels, EveryCountryAPlayerLooksFor) {
    const std::string wanted =
        "Argentina,Australia,Brazil,Canada,China,France,Germany,India,Indonesia,Italy,"
        "Japan,Mexico,Russia,Saudi Arabia,South Africa,South Korea,Turkey,United Kingdom,"
        "United States,Austria,Belgium,Bulgaria,Croatia,Cyprus,Czech Republic,Denmark,"
        "Estonia,Finland,Greece,Hungary,Ireland,Latvia,Lithuania,Luxembourg,Malta,"
        "Netherlands,Poland,Portugal,Romania,Slovakia,Slovenia,Spain,Sweden,Philippines,"
        "New Zealand,Chile,Norway,Vietnam,Switzerland,Israel,Singapore,Monaco,Vatican City,"
        "San Marino,Liechtenstein,Andorra,Bahrain,Maldives";
    std::set<std::string> keys;
    for (const LevelInfo& v : shipped().levels)
        keys.insert(v.name);
    for (const std::string& name : split(wanted, ','))
        EXPECT_TRUE(keys.count(name)) << name << " has no level";
}

// The spawn drops the column into free air and the exit stands on the first ground row.
TEST(ShippedLevels, SpawnAndExitSitOnTheTerrain) {
    for (const LevelInfo& v : shipped().levels) {
        SCOPED_TRACE(v.name);
        const auto terrain = ImageData::decodeFile((kData / v.imagePath).string().c_str());
        ASSERT_TRUE(terrain && terrain->bytesPerPixel() == 4);
        const auto solid = [&](int x, int y) { return (terrain->pixel(x, y) & 0xFF) != 0; };
        EXPECT_TRUE(v.startX >= 0 && v.startX < v.width && v.startY >= 0 && v.startY < v.height &&
                    v.exitX >= 0 && v.exitX < v.width && v.exitY >= 0 && v.exitY < v.height);
        for (int k = 0; k <= 8; ++k)
            EXPECT_FALSE(solid(v.startX, v.startY - k)) << "spawn not free " << k;
        EXPECT_TRUE(solid(v.exitX, v.exitY) && !solid(v.exitX, v.exitY - 1)) << "the exit is not on ground";
        EXPECT_FALSE(v.startX >= v.exitX - 2 && v.startX <= v.exitX + 1 && v.startY >= v.exitY - 2 &&
                     v.startY <= v.exitY + 1)
            << "spawn inside the exit box";
    }
}

// The first levels teach one thing each; from the eleventh on every level asks the player to dig (or
// build) their way, and at least ten ask for both.
TEST(ShippedLevels, LaterLevelsAskForTheTools) {
    std::map<std::string, std::set<std::string>> tools; // key -> "build", "dig"
    for (const std::string& line : split(readWhole(kData / "Countries/plans.txt"), '\n')) {
        const std::vector<std::string> f = split(line, ',');
        if (!line.empty() && line[0] != '#' && f.size() >= 6) tools[f[0]].insert(f[1]);
    }
    const std::vector<LevelInfo>& levels = shipped().levels;
    int both = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        EXPECT_TRUE(i < 10 || tools.count(levels[i].name)) << levels[i].name << " asks for no tool";
        both += tools[levels[i].name].size() == 2;
    }
    EXPECT_GE(both, 10) << "levels that ask for a bridge and a dig";
}
