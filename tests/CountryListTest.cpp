#include <gtest/gtest.h>
#include <map>

#include "TestSupport.h"
#include "assets/FileStream.h"
#include "persist/CountryList.h"
#include "persist/ProgressRecord.h"

namespace {
// Terrains "exist" with a size from the table; stamps load unless listed as missing.
struct StubCountryPictures {
    CountryPictures services() {
        CountryPictures pictures;
        pictures.size = [this](const std::string& path, int* w, int* h) {
            sizeAsked.push_back(path);
            const auto it = sizes.find(path);
            if (it == sizes.end()) return false;
            *w = it->second.first;
            *h = it->second.second;
            return true;
        };
        pictures.loadStamp = [this](const std::string& path) {
            stampsAsked.push_back(path);
            return path.find("missing") != std::string::npos ? -1 : next++;
        };
        return pictures;
    }
    std::map<std::string, std::pair<int, int>> sizes{{"Countries/a.png", {480, 200}},
                                                     {"Countries/b.png", {560, 210}}};
    std::vector<std::string> sizeAsked, stampsAsked;
    int32_t next = 7;
};

constexpr const char* kLineA = "Alpha,a.png,a_stamp.png,36,43,458,150,2,70,65,10,1200";
constexpr const char* kLineB = "Beta,b.png,b_stamp.png,40,53,530,140,3,60,70,12,1500";

std::string readCapturing(const std::string& bytes, std::vector<LevelInfo>& levels,
                          StubCountryPictures& stub) {
    testing::internal::CaptureStderr();
    CountryList::readBytes(bytes, levels, stub.services());
    return testing::internal::GetCapturedStderr();
}
} // namespace

TEST(CountryList, LinesBecomeLevelsWithTheirNumbersAndHeaderSizes) {
    StubCountryPictures stub;
    std::vector<LevelInfo> levels;
    const std::string errors =
        readCapturing(std::string(kLineA) + "\n" + kLineB + ",extra,fields\n", levels, stub);
    EXPECT_EQ(errors, "");
    ASSERT_EQ(levels.size(), 2u);
    const LevelInfo& a = levels[0];
    EXPECT_EQ(a.name, "Alpha");
    EXPECT_EQ(a.imagePath, "Countries/a.png");
    EXPECT_EQ(a.stampSurface, 7);
    EXPECT_EQ(a.width, 480);
    EXPECT_EQ(a.height, 200);
    EXPECT_EQ(a.startX, 36);
    EXPECT_EQ(a.startY, 43);
    EXPECT_EQ(a.exitX, 458);
    EXPECT_EQ(a.exitY, 150);
    EXPECT_EQ(a.timeLimitMinutes, 2);
    EXPECT_EQ(a.minSurvivorPercent, 70);
    EXPECT_EQ(a.goalPercent, 65);
    EXPECT_EQ(a.creatureCount, 10);
    EXPECT_EQ(a.spawnIntervalMs, 1200);
    EXPECT_EQ(levels[1].creatureCount, 12);
    EXPECT_EQ(levels[1].width, 560);
    EXPECT_EQ(stub.stampsAsked, (std::vector<std::string>{"Countries/a_stamp.png", "Countries/b_stamp.png"}));
}

TEST(CountryList, BadLinesAreReportedByTheirNumberCountingComments) {
    StubCountryPictures stub;
    std::vector<LevelInfo> levels;
    // Line 3 is short, line 5 empty, line 6 has a word for a number, line 7 a number with a tail,
    // line 8 a negative count, line 9 a thousand minutes, line 10 a number too big for 32 bits.
    const std::string bytes = std::string("# comment\n# another\n") + "Short,a.png,s.png,1,2,3\n" + kLineA +
                              "\n\n" + "Word,a.png,s.png,36,43,458,150,two,70,65,10,1200\n" +
                              "Tail,a.png,s.png,36,43,458,150,2,70,65,10x,1200\n" +
                              "Negative,a.png,s.png,36,43,458,150,2,70,65,-5,1200\n" +
                              "Long,a.png,s.png,36,43,458,150,1000,70,65,5,1200\n" +
                              "Huge,a.png,s.png,99999999999,43,458,150,2,70,65,5,1200\n" +
                              "Edge,a.png,s.png,-3,43,458,150,999,0,0,999,0\n";
    const std::string errors = readCapturing(bytes, levels, stub);
    std::string expected;
    for (int line : {3, 5, 6, 7, 8, 9, 10})
        expected += "ERROR: Invalid Country in line " + std::to_string(line) +
                    " in file Countries/countries.txt :: NOT ENOUGHT PARAMETERS.\n";
    EXPECT_EQ(errors, expected);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].name, "Alpha");
    // Negative positions are a level's own business; 999 minutes and creatures are the most allowed.
    EXPECT_EQ(levels[1].name, "Edge");
    EXPECT_EQ(levels[1].startX, -3);
    EXPECT_EQ(levels[1].timeLimitMinutes, 999);
    EXPECT_EQ(levels[1].creatureCount, 999);
}

TEST(CountryList, LineEndsOfEveryKindAndSecondReads) {
    StubCountryPictures stub;
    std::vector<LevelInfo> levels;
    // A final line feed ends the last line: no empty line 3 to report. CR LF lines read alike.
    EXPECT_EQ(readCapturing(std::string(kLineA) + "\r\n" + kLineB + "\r\n", levels, stub), "");
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[1].spawnIntervalMs, 1500);
    EXPECT_EQ(levels[1].name, "Beta");
    // Without a final line feed the last line still counts.
    std::vector<LevelInfo> unterminated;
    EXPECT_EQ(readCapturing(kLineA, unterminated, stub), "");
    EXPECT_EQ(unterminated.size(), 1u);
    // Reading the same list again adds nothing; a new line is appended; a line twice in one read counts
    // twice.
    EXPECT_EQ(readCapturing(std::string(kLineA) + "\n" + kLineB + "\n", levels, stub), "");
    EXPECT_EQ(levels.size(), 2u);
    const std::string gamma = "Gamma,a.png,a_stamp.png,1,1,2,2,1,1,1,1,1\n";
    EXPECT_EQ(readCapturing(std::string(kLineA) + "\n" + gamma + gamma, levels, stub), "");
    EXPECT_EQ(levels.size(), 4u);
    // An empty file gives nothing and says nothing.
    std::vector<LevelInfo> none;
    EXPECT_EQ(readCapturing("", none, stub), "");
    EXPECT_TRUE(none.empty());
}

TEST(CountryList, PicturesThatDoNotLoadKeepTheLevelAndNameTheFile) {
    StubCountryPictures stub;
    std::vector<LevelInfo> levels;
    const std::string errors = readCapturing(
        "Lost,nowhere.png,a_stamp.png,1,2,3,4,1,1,1,1,1\nNoStamp,a.png,missing.png,1,2,3,4,1,1,1,1,1\n",
        levels, stub);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].width, 0);
    EXPECT_EQ(levels[0].height, 0);
    EXPECT_EQ(levels[1].stampSurface, -1);
    EXPECT_NE(errors.find("Countries/nowhere.png"), std::string::npos);
    EXPECT_NE(errors.find("Countries/missing.png"), std::string::npos);
}

TEST(CountryList, MissingListSaysSoAndChangesNothing) {
    ScratchDir dir("countries");
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    StubCountryPictures stub;
    std::vector<LevelInfo> levels;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CountryList::load(levels, stub.services()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Countries/countries.txt NOT FOUND!\n");
    dir.write("Countries/countries.txt", std::string("# list\n") + kLineA + "\n");
    EXPECT_TRUE(CountryList::load(levels, stub.services()));
    EXPECT_EQ(levels.size(), 1u);
    std::filesystem::current_path(here);
    FileStream::forgetSavedataForTests();
}

TEST(CountryList, ChoosingWithEmptyListsIsHarmless) {
    ProgressRecord progress;
    progress.loadLevelImages();
    progress.chooseLevel(3, 5);
    EXPECT_EQ(progress.currentLevel, 0u);
    EXPECT_EQ(progress.currentFlag, 0u);
    EXPECT_EQ(progress.currentLevelInfo(), nullptr);
    EXPECT_EQ(progress.currentFlagInfo(), nullptr);
    EXPECT_EQ(progress.terrainSurface, -1);
    EXPECT_EQ(progress.paintTexture, -1);
    // No level: no followers, so the level is lost at once rather than read out of bounds.
    EXPECT_EQ(progress.creaturesTotal, 0);
    EXPECT_EQ(progress.creaturesAlive, 0);
    EXPECT_EQ(progress.buildInk, 5000);
    EXPECT_EQ(progress.digInk, 5000);
    EXPECT_EQ(progress.levelTimer.read(), 0u);
}

TEST(CountryList, AttemptAndProgressResetsTakeTheCurrentLevel) {
    FakeClock clock;
    ProgressRecord progress;
    StubCountryPictures stub;
    progress.countryPictures = stub.services();
    CountryList::readBytes(std::string(kLineA) + "\n" + kLineB + "\n", progress.levels, stub.services());
    progress.currentLevel = 1;
    progress.buildInk = 3;
    progress.digInk = 0;
    progress.creaturesOut = 4;
    progress.creaturesSaved = 2;
    progress.timeLeftMs = 99;
    progress.levelTimer.start();
    clock.advance(500);
    progress.resetAttempt();
    EXPECT_EQ(progress.buildInk, 5000);
    EXPECT_EQ(progress.digInk, 5000);
    EXPECT_EQ(progress.creaturesTotal, 12);
    EXPECT_EQ(progress.creaturesAlive, 12);
    EXPECT_EQ(progress.creaturesOut, 0);
    EXPECT_EQ(progress.creaturesSaved, 0);
    EXPECT_EQ(progress.timeLeftMs, 0);
    clock.advance(700);
    // Restarted and left stopped: the level starts it when play begins.
    EXPECT_EQ(progress.levelTimer.read(), 0u);
    EXPECT_FALSE(progress.levelTimer.running());
    progress.currentLevel = 0;
    progress.levelTimer.start();
    clock.advance(300);
    progress.resetProgress();
    EXPECT_EQ(progress.levelTimer.read(), 0u);
    EXPECT_EQ(progress.creaturesTotal, 10);
}
