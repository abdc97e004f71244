#include <gtest/gtest.h>
#include <map>

#include "TestSupport.h"
#include "persist/CountryList.h"
#include "persist/ProgressRecord.h"

namespace {
// Terrains a.png and b.png have a size; every stamp loads unless its name says "missing".
struct StubCountryPictures {
    CountryPictures services() {
        CountryPictures pictures;
        pictures.size = [](const std::string& path, int* w, int* h) {
            if (path != "Countries/a.png" && path != "Countries/b.png") return false;
            *w = path == "Countries/a.png" ? 480 : 560;
            *h = 200;
            return true;
        };
        pictures.loadStamp = [this](const std::string& path) {
            stampsAsked.push_back(path);
            return path.find("missing") != std::string::npos ? -1 : next++;
        };
        return pictures;
    }
    std::vector<std::string> stampsAsked;
    int32_t next = 7;
};

constexpr const char* kLineA = "Alpha,a.png,a_stamp.png,36,43,458,150,2,70,65,10,1200";
constexpr const char* kLineB = "Beta,b.png,b_stamp.png,40,53,530,140,3,60,70,12,1500";

std::string read(const std::string& bytes, std::vector<LevelInfo>& levels) {
    StubCountryPictures stub;
    testing::internal::CaptureStderr();
    CountryList::readBytes(bytes, levels, stub.services());
    return testing::internal::GetCapturedStderr();
}
} // namespace

TEST(CountryList, FieldsInTheirOrderAndSizesFromTheTerrain) {
    StubCountryPictures stub;
    std::vector<LevelInfo> levels;
    CountryList::readBytes(std::string(kLineA) + "\n" + kLineB + ",extra,fields\n", levels, stub.services());
    ASSERT_EQ(levels.size(), 2u);
    const LevelInfo& a = levels[0];
    EXPECT_EQ(a.name + " " + a.imagePath, "Alpha Countries/a.png");
    EXPECT_EQ(std::vector<int32_t>({a.stampSurface, a.width, a.height, a.startX, a.startY, a.exitX, a.exitY,
                                    a.timeLimitMinutes, a.minSurvivorPercent, a.goalPercent, a.creatureCount,
                                    a.spawnIntervalMs}),
              std::vector<int32_t>({7, 480, 200, 36, 43, 458, 150, 2, 70, 65, 10, 1200}));
    EXPECT_EQ(levels[1].width, 560);
    EXPECT_EQ(stub.stampsAsked, (std::vector<std::string>{"Countries/a_stamp.png", "Countries/b_stamp.png"}));
}

TEST(CountryList, BadLinesAreReportedByTheirNumberCountingComments) {
    std::vector<LevelInfo> levels;
    // Line 3 is short, line 5 empty, line 6 has a word for a number, line 7 a number with a tail,
    // line 8 a negative count, line 9 a thousand minutes, line 10 a thousand creatures, line 11 a
    // number too big for 32 bits.
    const std::string bytes = std::string("# comment\n# another\n") + "Short,a.png,s.png,1,2,3\n" + kLineA +
                              "\n\n" + "Word,a.png,s.png,36,43,458,150,two,70,65,10,1200\n" +
                              "Tail,a.png,s.png,36,43,458,150,2,70,65,10x,1200\n" +
                              "Negative,a.png,s.png,36,43,458,150,2,70,65,-5,1200\n" +
                              "Long,a.png,s.png,36,43,458,150,1000,70,65,5,1200\n" +
                              "Crowd,a.png,s.png,36,43,458,150,2,70,65,1000,1200\n" +
                              "Huge,a.png,s.png,99999999999,43,458,150,2,70,65,5,1200\n" +
                              "Edge,a.png,s.png,-3,43,458,150,999,0,0,999,0\n";
    std::string expected;
    for (int line : {3, 5, 6, 7, 8, 9, 10, 11})
        expected += "ERROR: Invalid Country in line " + std::to_string(line) +
                    " in file Countries/countries.txt :: NOT ENOUGHT PARAMETERS.\n";
    EXPECT_EQ(read(bytes, levels), expected);
    ASSERT_EQ(levels.size(), 2u);
    // Negative positions are a level's own business; 999 minutes and creatures are the most allowed.
    EXPECT_EQ(levels[1].name, "Edge");
    EXPECT_EQ(levels[1].startX, -3);
    EXPECT_EQ(levels[1].timeLimitMinutes + levels[1].creatureCount, 1998);
}

TEST(CountryList, LineEndsSecondReadsAndPicturesThatDoNotLoad) {
    std::vector<LevelInfo> levels;
    // A final line feed ends the last line: no empty line 3 to report. CR LF lines read alike.
    EXPECT_EQ(read(std::string(kLineA) + "\r\n" + kLineB + "\r\n", levels), "");
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[1].name + std::to_string(levels[1].spawnIntervalMs), "Beta1500");
    // Reading the same list again adds nothing; a new line is appended; a line twice in one read
    // counts twice; without a final line feed the last line still counts.
    EXPECT_EQ(read(std::string(kLineA) + "\n" + kLineB + "\n", levels), "");
    EXPECT_EQ(levels.size(), 2u);
    const std::string gamma = "Gamma,a.png,a_stamp.png,1,1,2,2,1,1,1,1,1";
    EXPECT_EQ(read(std::string(kLineA) + "\n" + gamma + "\n" + gamma, levels), "");
    EXPECT_EQ(levels.size(), 4u);
    std::vector<LevelInfo> none;
    EXPECT_EQ(read("", none), "");
    EXPECT_TRUE(none.empty());

    const std::string errors =
        read("Lost,nowhere.png,a_stamp.png,1,2,3,4,1,1,1,1,1\nNoStamp,a.png,missing.png,1,2,3,4,1,1,1,1,1\n",
             none);
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[0].width + none[0].height, 0);
    EXPECT_EQ(none[1].stampSurface, -1);
    EXPECT_NE(errors.find("Countries/nowhere.png"), std::string::npos);
    EXPECT_NE(errors.find("Countries/missing.png"), std::string::npos);

    InScratchFolder folder("countries");
    StubCountryPictures stub;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CountryList::load(none, stub.services()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Countries/countries.txt NOT FOUND!\n");
    EXPECT_EQ(none.size(), 2u);
    folder.dir().write("Countries/countries.txt", std::string("# list\n") + kLineA + "\n");
    EXPECT_TRUE(CountryList::load(none, stub.services()));
    EXPECT_EQ(none.size(), 3u);
}

TEST(CountryList, AttemptAndProgressResetsTakeTheCurrentLevel) {
    FakeClock clock;
    ProgressRecord progress;
    // With no level at all: no followers, so the level is lost at once rather than read out of bounds.
    progress.loadLevelImages();
    progress.chooseLevel(3, 5);
    EXPECT_EQ(progress.currentLevel + progress.currentFlag, 0u);
    EXPECT_EQ(progress.currentLevelInfo(), nullptr);
    EXPECT_EQ(progress.terrainSurface, -1);
    EXPECT_EQ(progress.creaturesAlive, 0);

    StubCountryPictures stub;
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
    EXPECT_EQ(std::vector<int32_t>({progress.buildInk, progress.digInk, progress.creaturesTotal,
                                    progress.creaturesAlive, progress.creaturesOut, progress.creaturesSaved,
                                    progress.timeLeftMs}),
              std::vector<int32_t>({5000, 5000, 12, 12, 0, 0, 0}));
    clock.advance(700);
    // Restarted and left stopped: the level starts it when play begins.
    EXPECT_EQ(progress.levelTimer.read(), 0u);
    progress.currentLevel = 0;
    progress.levelTimer.start();
    clock.advance(300);
    progress.resetProgress();
    EXPECT_EQ(progress.levelTimer.read(), 0u);
    EXPECT_EQ(progress.creaturesTotal, 10);
}
