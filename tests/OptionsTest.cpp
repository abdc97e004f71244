#include <array>
#include <gtest/gtest.h>
#include <tuple>

#include "TestSupport.h"
#include "assets/AssetPack.h"
#include "assets/PackWriter.h"
#include "base/GameWide.h"
#include "persist/ProgressRecord.h"

namespace {
// Language, full screen, music and effect volumes.
using Options = std::array<int, 4>;

Options read(const std::string& file, bool* found = nullptr, uint32_t languageBefore = 0) {
    InScratchFolder folder("options");
    folder.dir().write("config.ini", file);
    ProgressRecord record;
    record.language = languageBefore;
    const bool ok = record.readOptions();
    if (found) *found = ok;
    // What was read is also what Cancel puts back.
    EXPECT_EQ(std::make_tuple(record.savedLanguage, record.savedMusicVolume, record.savedEffectVolume),
              std::make_tuple(record.language, record.musicVolume, record.effectVolume));
    return {static_cast<int>(record.language), record.fullscreen, record.musicVolume, record.effectVolume};
}
} // namespace

TEST(Options, WrittenTextIsExactEveryLanguageIsNamedAndAMissingFileIsTheFirstRun) {
    InScratchFolder folder("options");
    ProgressRecord record;
    EXPECT_FALSE(record.readOptions());
    EXPECT_EQ(std::make_tuple(record.fullscreen, record.musicVolume), std::make_tuple(1, 128));
    record.language = 5;
    record.fullscreen = 0;
    record.musicVolume = 7;
    record.effectVolume = 128;
    record.writeOptions();
    EXPECT_EQ(folder.dir().read("config.ini"),
              "# Vov Aruzezudor OPTIONS FILE \n\n"
              "# Language, possible settings:\n# ENGLISH, SPANISH, CATALAN\n"
              "LANGUAGE=GERMAN\n\n"
              "# Video mode, possible settings:\n# YES, NO\nFULLSCREEN=NO\n\n"
              "# BGM Volume, possible range:\n# [0, 128]\nBGMVOLUME=7\n\n"
              "# SFX Volume, possible range:\n# [0, 128]\nSFXVOLUME=128\n\n");
    EXPECT_FALSE(std::filesystem::exists(folder.dir().path() / ProgressRecord::kOptionsScratchFile));

    const char* const names[] = {"ENGLISH", "SPANISH", "CATALAN",  "FRENCH",
                                 "ITALIAN", "GERMAN",  "JAPANESE", "ENGLISH"};
    for (uint32_t language = 0; language < 8; ++language) {
        record.language = language;
        record.writeOptions();
        std::string line = std::string("=").append(names[language]).append("\n");
        EXPECT_NE(folder.dir().read("config.ini").find(line), std::string::npos);
        EXPECT_EQ(read(folder.dir().read("config.ini"))[0], static_cast<int>(language % 7));
    }
}

// Each position in turn holds a bad value; the others stay good.
TEST(Options, EveryPositionWithBadValues) {
    const std::string good[4] = {"LANGUAGE=GERMAN", "FULLSCREEN=NO", "BGMVOLUME=50", "SFXVOLUME=60"};
    const Options base = {5, 0, 50, 60};
    const struct {
        int position;
        std::string line;
        Options want;
    } cases[] = {
        {0, "LANGUAGE=KLINGON", {3, 0, 50, 60}},          // no known name: the language stays as it was (3)
        {0, "LANGUAGE=FRENCH or GERMAN", {5, 0, 50, 60}}, // GERMAN is tested before FRENCH
        {0, "LANGUAGE=ITALIAN\r", {4, 0, 50, 60}},
        {1, "FULLSCREEN=YES", {5, 1, 50, 60}},
        {1, "FULLSCREEN=NONE", {5, 0, 50, 60}},
        {1, "garbage", {5, 1, 50, 60}},
        {1, "FULLSCREEN=N O", {5, 1, 50, 60}},
        {2, "BGMVOLUME=300", {5, 0, 128, 60}},
        {2, "BGMVOLUME=-1", {5, 0, 128, 60}},
        {2, "BGMVOLUME=65600", {5, 0, 64, 60}},
        {2, "BGMVOLUME=-65536", {5, 0, 0, 60}},
        {2, "BGMVOLUME=99999999999999999999999999", {5, 0, 128, 60}},
        {2, "BGMVOLUME=  +17abc", {5, 0, 17, 60}},
        {2, "garbage", {5, 0, 0, 60}},
        {2, "BGMVOLUME=1\r2", {5, 0, 12, 60}}, // carriage returns go before the number is read
        {3, "SFXVOLUME=129", {5, 0, 50, 128}},
        {3, "SFXVOLUME=-", {5, 0, 50, 0}},
        {3, "BGMVOLUME=9", {5, 0, 50, 0}}, // by position: the wrong label is not removed
    };
    for (const auto& bad : cases) {
        std::string file;
        for (int i = 0; i < 4; ++i)
            file += (i == bad.position ? bad.line : good[i]) + "\n";
        EXPECT_EQ(read(file, nullptr, 3), bad.want) << "line " << bad.position + 1 << ": " << bad.line;
    }

    for (const char* file : {"", "# nothing\n#\n"}) {
        bool found = false;
        EXPECT_EQ(read(file, &found), (Options{0, 1, 128, 128})) << "only comments are no first run";
        EXPECT_TRUE(found);
    }
    const std::string all = good[0] + "\n" + good[1] + "\n" + good[2] + "\n" + good[3] + "\n";
    // A line of a lone carriage return is not skipped: it takes position 1 and pushes the rest on.
    EXPECT_EQ(read("\r\n" + all), (Options{0, 1, 0, 0})) << "carriage return first";
    EXPECT_EQ(read("\n# c\n" + good[0] + "\n\n\n" + good[1] + "\n#\n" + good[2] + "\n" + good[3]), base)
        << "blank and comment lines between are not counted";
    EXPECT_EQ(read(good[0] + "\r\n" + good[1] + "\r\n" + good[2] + "\r\n" + good[3] + "\r\n"), base)
        << "CR LF";
    EXPECT_EQ(read(all + "LANGUAGE=SPANISH\n"), base) << "later lines ignored";
    EXPECT_EQ(read(good[0] + "\n" + good[1] + "\n"), (Options{5, 0, 128, 128}))
        << "missing lines keep defaults";
}

TEST(Options, EveryFailedSaveSaysSoAndAFolderWithoutRoomStillKeepsThem) {
    namespace fs = std::filesystem;
    InScratchFolder folder("options");
    ProgressRecord record;
    record.musicVolume = 7;
    // No scratch file can be made (its name is taken): "config.ini" is written in place.
    auto save = [&] {
        testing::internal::CaptureStdout();
        record.writeOptions();
        return testing::internal::GetCapturedStdout();
    };
    fs::create_directory(ProgressRecord::kOptionsScratchFile);
    EXPECT_EQ(save(), "");
    EXPECT_NE(folder.dir().read("config.ini").find("\nBGMVOLUME=7\n"), std::string::npos);

    fs::remove("config.ini");
    fs::create_directory("config.ini");
    EXPECT_EQ(save(), "The file is not opened\n") << "in place";

    fs::remove(ProgressRecord::kOptionsScratchFile);
    EXPECT_EQ(save(), "The file is not opened\n") << "by rename";
    EXPECT_TRUE(fs::is_directory("config.ini") && !fs::exists(ProgressRecord::kOptionsScratchFile));
}

TEST(LevelNames, TheRecordReadsItsTableFromThePackWhenMade) {
    ScratchDir dir("names");
    PackWriter writer;
    const std::string table = "Spain\tEspa\xc3\xb1"
                              "a\n";
    writer.add(GameTexts::kLevelNamesFile, {table.begin(), table.end()});
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack pack((dir.path() / "p.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    GameWide<AssetPack>::set(&pack);
    ProgressRecord record;
    GameWide<AssetPack>::set(nullptr);
    EXPECT_EQ(record.levelNames, (GameTexts::Table{{"Spain", "Espa\xc3\xb1"
                                                             "a"}}));
}
