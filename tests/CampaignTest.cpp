// The countries the player has painted, kept across games: the file's bytes, what a bad file or a
// bad line does, a save cut short by a kill, and a painted country shown in the next game.
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#include "GameHarness.h"
#include "gui/GUIElement.h"
#include "menus/MenuMain.h"
#include "menus/MenuSelectLevel.h"
#include "menus/MenuWin.h"
#include "persist/CampaignProgress.h"
#include "persist/ProgressRecord.h"

namespace fs = std::filesystem;

namespace {
std::string readCaptured(const std::function<void()>& act) {
    testing::internal::CaptureStderr();
    act();
    return testing::internal::GetCapturedStderr();
}
} // namespace

TEST(Campaign, UnreadableLinesAreLeftOutTheRestKeptAndAWorseRunNeverLowersTheBest) {
    InScratchFolder folder("campaign");
    folder.dir().write("Savedata/progress.txt", "VOV ARUZEZUDOR PROGRESS 1\r\n"
                                                "Spain,Spain Flag,61000,12\r\n"
                                                "France,France Flag,-5,3\n"
                                                "Italy,Italy Flag,1000\n"
                                                "# a note\n"
                                                "\n"
                                                "Spain,Japan Flag,1,1\n"
                                                "Peru,Peru Flag,12x,2\n"
                                                "Chad,Chad Flag,2000,4");
    CampaignProgress campaign;
    std::string told;
    for (int line : {3, 4, 7, 8})
        told += "Savedata/progress.txt: line " + std::to_string(line) + " cannot be read and is left out.\n";
    EXPECT_EQ(readCaptured([&] { campaign.read(); }), told);

    EXPECT_TRUE(campaign.recordWin("Spain", "Japan Flag", 60000, 15)); // slower, more saved, another flag
    EXPECT_FALSE(campaign.recordWin("Chad", "Chad Flag", 10, 1));      // worse in both
    EXPECT_TRUE(campaign.recordWin("Mali", "Mali Flag", 500, 0));
    ASSERT_TRUE(campaign.save());
    EXPECT_EQ(folder.dir().read("Savedata/progress.txt"), "VOV ARUZEZUDOR PROGRESS 1\n"
                                                          "Spain,Japan Flag,61000,15\n"
                                                          "Chad,Chad Flag,2000,4\n"
                                                          "Mali,Mali Flag,500,0\n");
    EXPECT_FALSE(fs::exists("Savedata/progress.txt.tmp"));

    // Counted and searched over the level list, in list order, wrapping.
    ProgressRecord record;
    for (const char* name : {"Spain", "Peru", "Chad", "Mali"})
        record.levels.emplace_back().name = name;
    record.campaign = campaign;
    EXPECT_EQ(std::tuple(record.paintedCount(), record.nextUnpainted(0), record.nextUnpainted(2)),
              std::tuple(3u, 1, 1));
    record.campaign.recordWin("Peru", "Peru Flag", 1, 1);
    EXPECT_EQ(record.nextUnpainted(1), -1);
}

TEST(Campaign, ADamagedOrForeignFileIsSetAsideUnderAFreeNameWithOneLine) {
    InScratchFolder folder("campaign");
    folder.dir().write("Savedata/progress.txt.damaged-1", "an earlier one");
    const std::string files[] = {"VOV ARUZEZUDOR PROGRESS 2\nSpain,Spain Flag,1,1\n", "\x89PNG\r\n\x1a\n",
                                 ""};
    int number = 2;
    for (const std::string& bytes : files) {
        folder.dir().write("Savedata/progress.txt", bytes);
        CampaignProgress campaign;
        campaign.recordWin("Chad", "Chad Flag", 1, 1);
        const std::string aside = "Savedata/progress.txt.damaged-" + std::to_string(number++);
        EXPECT_EQ(readCaptured([&] { campaign.read(); }),
                  "Savedata/progress.txt is damaged or not a progress file: set aside as " + aside +
                      "; the game starts with no progress.\n");
        EXPECT_EQ(std::tuple(campaign.painted.empty(), folder.dir().read(aside),
                             fs::exists("Savedata/progress.txt")),
                  std::tuple(true, bytes, false));
    }
    EXPECT_EQ(folder.dir().read("Savedata/progress.txt.damaged-1"), "an earlier one");
    CampaignProgress fresh;
    EXPECT_EQ(readCaptured([&] { fresh.read(); }), "") << "a missing file is a first game";
}

// A child saves in a loop until SIGKILL ends it at a random moment; what is left on disk must be
// the old file or the new one, never a cut one.
TEST(Campaign, KilledWhileSavingLeavesTheOldOrTheNewFileWhole) {
    InScratchFolder folder("campaign");
    CampaignProgress one, two;
    one.recordWin("Spain", "Spain Flag", 61000, 12);
    two.recordWin("Chad", "Chad Flag", 2000, 4);
    ASSERT_TRUE(one.save());
    std::mt19937 random(1234);
    for (int round = 0; round < 200; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (uint64_t i = 0;; ++i)
                (i % 2 ? one : two).save();
        usleep(random() % 3000);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_TRUE(waitpid(child, &status, 0) == child && WIFSIGNALED(status)) << "round " << round;
        const std::string left = folder.dir().read("Savedata/progress.txt");
        ASSERT_TRUE(left == "VOV ARUZEZUDOR PROGRESS 1\nSpain,Spain Flag,61000,12\n" ||
                    left == "VOV ARUZEZUDOR PROGRESS 1\nChad,Chad Flag,2000,4\n")
            << "round " << round << " left " << left;
    }
}

// A country won in an earlier game is painted in the next one.
TEST(Campaign, AWonLevelIsPaintedInTheNextGame) {
    HarnessOptions options;
    options.progress = "VOV ARUZEZUDOR PROGRESS 1\nFlatland,Japan Flag,50000,2\n";
    GameHarness h(options);
    ASSERT_TRUE(h.jumpTo(kMainScene));
    EXPECT_EQ(h.scene<MenuMain>(kMainScene)->paintedText->text, "Countries painted: 1 of 2");

    // Flatland shows its stamp left of its name and the green seal right of it; Nowhere no seal.
    ASSERT_TRUE(h.jumpTo(kSelectScene));
    auto* select = h.scene<MenuSelectLevel>(kSelectScene);
    const TextLine& name = *select->levelText;
    const int middle = name.drawY + name.lineHeight / 2, seal = name.drawX + name.width + 4;
    EXPECT_TRUE(GameHarness::pixelNear(name.drawX - 24 + 1, middle - 10, 0x3D4A32)) << "stamp";
    EXPECT_TRUE(GameHarness::pixelNear(seal + 6, middle + 3, 0x657D3A)) << "seal";
    select->showLevel(1);
    h.frames(2);
    EXPECT_FALSE(GameHarness::pixelNear(select->levelText->drawX + select->levelText->width + 10, middle + 3,
                                        0x657D3A, 40));

    // Every country painted: the win screen offers no next one.
    h.progress().campaign.recordWin("Nowhere", "Spain Flag", 1, 1);
    ASSERT_TRUE(h.jumpTo(kWinScene));
    EXPECT_EQ(h.scene<MenuWin>(kWinScene)->widget(2)->state, GUIElement::Disabled);
}
