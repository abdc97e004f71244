#include <gtest/gtest.h>

#include "TestSupport.h"
#include "persist/FlagList.h"
#include "persist/ProgressRecord.h"

TEST(FlagList, ListsOfEveryShapeKeepOnlyLoadablePictures) {
    InScratchFolder folder("flags");
    ProgressRecord record;
    const auto loadCapturing = [](ProgressRecord& r) {
        testing::internal::CaptureStderr();
        r.loadFlags();
        return testing::internal::GetCapturedStderr();
    };
    record.currentFlag = 9;
    record.flags.push_back(Flag{"Kept Flag", 3, 4, 1, 1});
    EXPECT_EQ(loadCapturing(record), "Flags/flags.txt NOT FOUND!\n");
    EXPECT_EQ(record.flags.size() + record.currentFlag, 1u + 9u);
    record.flags.clear();

    folder.dir().write("Flags/flags.txt",
                       "# flags of the test\n\nSpain Flag\nPeru Flag,red,white,extra\r\n"
                       "Chad Flag\r\n#Mali Flag\nNowhere Flag\nX\n,Mali Flag\nSpain Flag\nJapan Flag");
    std::vector<std::string> asked;
    int32_t next = 0;
    record.flagPictureLoader = [&](const std::string& path) {
        asked.push_back(path);
        if (path.size() < 8 || path == "Flags/Nowhere Flag") return FlagPicture{}; // Mali Flag would load
        const int32_t surface = next++;
        return FlagPicture{surface, 100 + surface, 100, 60};
    };
    EXPECT_EQ(loadCapturing(record), "Flag Nowhere Flag NOT LOAD.\nFlag X NOT LOAD.\nFlag  NOT LOAD.\n");
    EXPECT_EQ(record.currentFlag, 0u);
    std::string names;
    for (const Flag& flag : record.flags)
        names += flag.name + "/" + std::to_string(flag.surface) + "/" + std::to_string(flag.texture) + "/" +
                 std::to_string(flag.width + flag.height) + ";";
    // Each line is an entry: Spain, named twice, is two sharing one picture.
    EXPECT_EQ(names, "Spain Flag/0/100/160;Peru Flag/1/101/160;Chad Flag/2/102/160;Spain Flag/0/100/160;"
                     "Japan Flag/3/103/160;");

    // Reading the list again adds nothing and asks again only for the pictures that failed.
    asked.clear();
    loadCapturing(record);
    EXPECT_EQ(record.flags.size(), 5u);
    EXPECT_EQ(asked, (std::vector<std::string>{"Flags/Nowhere Flag", "Flags/X", "Flags/"}));

    // An empty list reads nothing; without a picture loader nothing can load, and each flag says so.
    folder.dir().write("Flags/flags.txt", "");
    record.flags.clear();
    record.flagPictureLoader = nullptr;
    EXPECT_EQ(loadCapturing(record) + std::to_string(record.flags.size()), "0");
    folder.dir().write("Flags/flags.txt", "A Flag\n");
    EXPECT_EQ(loadCapturing(record), "Flag A Flag NOT LOAD.\n");
}
