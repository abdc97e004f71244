#include <gtest/gtest.h>
#include <tuple>

#include "TestSupport.h"
#include "assets/StringHelpers.h"
#include "persist/CountryList.h"
#include "persist/ProgressRecord.h"

namespace {
constexpr const char* kLineA = "Alpha,a.png,a_stamp.png,36,43,458,150,2,70,65,10,1200";
constexpr const char* kLineB = "Beta,b.png,b_stamp.png,40,53,530,140,3,60,70,12,1500";

// Terrains a.png (480x200) and b.png (560x200) have a size; stamps load as 7, 8, ... unless named
// "missing".
std::vector<std::string> stampsAsked;
CountryPictures pictures() {
    CountryPictures pictures;
    pictures.size = [](const std::string& path, int* w, int* h) {
        if (path != "Countries/a.png" && path != "Countries/b.png") return false;
        *w = path == "Countries/a.png" ? 480 : 560;
        *h = 200;
        return true;
    };
    pictures.loadStamp = [](const std::string& path) {
        stampsAsked.push_back(path);
        return path.find("missing") != std::string::npos ? -1 : 6 + static_cast<int32_t>(stampsAsked.size());
    };
    return pictures;
}

std::string read(const std::string& bytes, std::vector<LevelInfo>& levels) {
    testing::internal::CaptureStderr();
    CountryList::readBytes(bytes, levels, pictures());
    return testing::internal::GetCapturedStderr();
}
} // namespace

// CR LF lines read alike, and a final line feed ends the last line: no empty line 3 to report.
TEST(CountryList, FieldsSizesSecondReadsAndPicturesThatDoNotLoad) {
    stampsAsked.clear();
    std::vector<LevelInfo> levels;
    EXPECT_EQ(read(std::string(kLineA) + "\r\n" + kLineB + ",extra,fields\r\n", levels), "");
    ASSERT_EQ(levels.size(), 2u);
    const LevelInfo& a = levels[0];
    EXPECT_EQ(a.name + " " + a.imagePath + " " + levels[1].name, "Alpha Countries/a.png Beta");
    EXPECT_EQ(std::vector<int32_t>({a.stampSurface, a.width, a.height, a.startX, a.startY, a.exitX, a.exitY,
                                    a.timeLimitMinutes, a.minSurvivorPercent, a.goalPercent, a.creatureCount,
                                    a.spawnIntervalMs, levels[1].width, levels[1].spawnIntervalMs}),
              std::vector<int32_t>({7, 480, 200, 36, 43, 458, 150, 2, 70, 65, 10, 1200, 560, 1500}));
    EXPECT_EQ(stampsAsked, (std::vector<std::string>{"Countries/a_stamp.png", "Countries/b_stamp.png"}));
    // Reading the same list again adds nothing; a new line is appended; a line twice in one read
    // counts twice; without a final line feed the last line still counts.
    const std::string gamma = "Gamma,a.png,a_stamp.png,1,1,2,2,1,1,1,1,1";
    EXPECT_EQ(read(std::string(kLineA) + "\n" + kLineB + "\n" + gamma + "\n" + gamma, levels), "");
    EXPECT_EQ(levels.size(), 4u);

    std::vector<LevelInfo> lost;
    const std::string errors =
        read("Lost,nowhere.png,a_stamp.png,1,2,3,4,1,1,1,1,1\nNoStamp,a.png,missing.png,1,2,3,4,1,1,1,1,1\n",
             lost);
    ASSERT_EQ(lost.size(), 2u);
    EXPECT_TRUE(lost[0].width + lost[0].height == 0 && lost[1].stampSurface == -1);
    EXPECT_TRUE(errors.find("Countries/nowhere.png") != std::string::npos &&
                errors.find("Countries/missing.png") != std::string::npos);

    InScratchFolder folder("countries");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(CountryList::load(lost, pictures()));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Countries/countries.txt NOT FOUND!\n");
    folder.dir().write("Countries/countries.txt", std::string("# list\n") + kLineA + "\n");
    EXPECT_TRUE(CountryList::load(lost, pictures()) && lost.size() == 3u);
}

// Each bad line is reported by its number (comments and empty lines counted) as a short line is.
TEST(CountryList, BadLinesAreReportedByTheirNumber) {
    // Field and the value put there: a word, a tail, negative time and creatures, a thousand minutes
    // and creatures, a number too big for 32 bits, and the levels nobody can win: no creatures, a
    // survivor share or a paint goal above 100 %.
    const std::pair<int, const char*> bad[] = {{7, "two"},  {10, "10x"},  {7, "-1"},          {10, "-5"},
                                               {7, "1000"}, {10, "1000"}, {3, "99999999999"}, {10, "0"},
                                               {8, "101"},  {9, "101"}};
    std::string bytes = "# comment\nShort,a.png,s.png,1,2,3\n\n", expected;
    const auto report = [&](int line) {
        expected += "ERROR: Invalid Country in line " + std::to_string(line) +
                    " in file Countries/countries.txt :: NOT ENOUGHT PARAMETERS.\n";
    };
    report(2);
    report(3);
    for (int k = 0; k < 10; ++k) {
        std::vector<std::string> fields = split(kLineA, ',');
        fields[bad[k].first] = bad[k].second;
        for (const std::string& f : fields)
            bytes += f + ",";
        bytes.back() = '\n';
        report(4 + k);
    }
    // Negative positions are a level's own business; 999 minutes and creatures are the most allowed,
    // and every creature saved over all of the land painted is a level that can still be won.
    bytes += "Edge,a.png,s.png,-3,43,458,150,999,100,100,999,0\n";
    std::vector<LevelInfo> levels;
    EXPECT_EQ(read(bytes, levels), expected);
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].startX + levels[0].timeLimitMinutes + levels[0].creatureCount, -3 + 1998);
}

TEST(CountryList, AttemptAndProgressResetsTakeTheCurrentLevel) {
    FakeClock clock;
    ProgressRecord progress;
    // With no level at all: no followers, so the level is lost at once rather than read out of bounds.
    progress.loadLevelImages();
    progress.chooseLevel(3, 5);
    EXPECT_TRUE(progress.currentLevel + progress.currentFlag == 0 && progress.terrainSurface == -1 &&
                progress.creaturesAlive == 0);

    read(std::string(kLineA) + "\n" + kLineB + "\n", progress.levels);
    progress.currentLevel = 1;
    progress.buildInk = progress.digInk = progress.creaturesOut = progress.creaturesSaved = 3;
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
    EXPECT_EQ(std::tuple(progress.levelTimer.read(), progress.creaturesTotal), std::tuple(0u, 10));
}
