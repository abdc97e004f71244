#include <gtest/gtest.h>
#include <set>

#include "TestSupport.h"
#include "assets/FileStream.h"
#include "assets/ImageData.h"
#include "assets/StringHelpers.h"
#include "persist/FlagList.h"
#include "persist/ProgressRecord.h"

namespace {
// Pictures that "exist" get consecutive surface numbers; every request is remembered.
struct StubPictures {
    FlagPictureLoader loader() {
        return [this](const std::string& path) {
            asked.push_back(path);
            FlagPicture picture;
            if (existing.count(path)) {
                picture.surface = next++;
                picture.texture = 100 + picture.surface;
                picture.width = 100;
                picture.height = 60;
            }
            return picture;
        };
    }
    std::set<std::string> existing;
    std::vector<std::string> asked;
    int32_t next = 0;
};

std::vector<std::string> names(const std::vector<Flag>& flags) {
    std::vector<std::string> out;
    for (const Flag& flag : flags)
        out.push_back(flag.name);
    return out;
}
} // namespace

TEST(FlagList, HandWrittenBadListsKeepOnlyLoadablePictures) {
    InScratchFolder folder("flags");
    const ScratchDir& dir = folder.dir();
    dir.write("Flags/flags.txt", "# flags of the test\n"
                                 "\n"
                                 "Spain Flag\n"
                                 "Peru Flag,red,white,extra\r\n"
                                 "Chad Flag\r\n"
                                 "#Mali Flag\n"
                                 "Nowhere Flag\n"
                                 "X\n"
                                 ",Mali Flag\n"
                                 "Spain Flag\n"
                                 "Japan Flag");
    StubPictures pictures;
    pictures.existing = {"Flags/Spain Flag", "Flags/Peru Flag", "Flags/Chad Flag", "Flags/Japan Flag",
                         "Flags/Mali Flag"};
    ProgressRecord record;
    record.flagPictureLoader = pictures.loader();
    record.currentFlag = 9;
    testing::internal::CaptureStderr();
    record.loadFlags();
    const std::string messages = testing::internal::GetCapturedStderr();

    // Each line is an entry: Spain, named twice, is two, sharing one picture.
    EXPECT_EQ(names(record.flags),
              (std::vector<std::string>{"Spain Flag", "Peru Flag", "Chad Flag", "Spain Flag", "Japan Flag"}));
    EXPECT_EQ(record.flags[3].surface, record.flags[0].surface);
    EXPECT_EQ(record.flags[3].texture, record.flags[0].texture);
    EXPECT_EQ(messages, "Flag Nowhere Flag NOT LOAD.\nFlag X NOT LOAD.\nFlag  NOT LOAD.\n");
    EXPECT_EQ(record.currentFlag, 0u);
    EXPECT_EQ(record.flags[1].surface, 1);
    EXPECT_EQ(record.flags[1].texture, 101);
    EXPECT_EQ(record.flags[1].width, 100);
    EXPECT_EQ(record.flags[1].height, 60);

    // Reading the list again adds nothing and asks for no picture it already has.
    const size_t asked = pictures.asked.size();
    testing::internal::CaptureStderr();
    record.loadFlags();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(record.flags.size(), 5u);
    for (size_t i = asked; i < pictures.asked.size(); ++i)
        EXPECT_TRUE(pictures.asked[i] == "Flags/Nowhere Flag" || pictures.asked[i] == "Flags/X" ||
                    pictures.asked[i] == "Flags/")
            << pictures.asked[i];
}

TEST(FlagList, MissingAndEmptyLists) {
    InScratchFolder folder("flags");
    const ScratchDir& dir = folder.dir();
    StubPictures pictures;
    ProgressRecord record;
    record.flagPictureLoader = pictures.loader();
    record.flags.push_back(Flag{"Kept Flag", 3, 4, 1, 1});
    record.currentFlag = 1;
    testing::internal::CaptureStderr();
    record.loadFlags();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Flags/flags.txt NOT FOUND!\n");
    EXPECT_EQ(record.flags.size(), 1u);
    EXPECT_EQ(record.currentFlag, 1u);

    dir.write("Flags/flags.txt", "");
    record.flags.clear();
    testing::internal::CaptureStderr();
    record.loadFlags();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(record.flags.empty());
    EXPECT_EQ(record.currentFlag, 0u);
    EXPECT_TRUE(pictures.asked.empty());

    // Without a picture loader nothing can load, and each flag says so.
    dir.write("Flags/flags.txt", "A Flag\n");
    record.flagPictureLoader = nullptr;
    testing::internal::CaptureStderr();
    record.loadFlags();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Flag A Flag NOT LOAD.\n");
}

// The list we ship: one unique comma-free name per line, each an RGBA picture that decodes.
TEST(FlagList, ShippedListNamesUniqueRgbaPictures) {
    const std::filesystem::path flagsDir = std::filesystem::path(VOV_SOURCE_DIR) / "data";
    InScratchFolder folder("shipped");
    const ScratchDir& scratch = folder.dir();
    std::filesystem::copy(flagsDir / "Flags", scratch.path() / "Flags");

    const std::string list = scratch.read("Flags/flags.txt");
    std::set<std::string> seen;
    size_t entries = 0;
    for (const std::string& line : split(list, '\n')) {
        if (line.empty() || line[0] == '#') continue;
        ++entries;
        EXPECT_EQ(line.find(','), std::string::npos) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        EXPECT_TRUE(seen.insert(line).second) << "twice: " << line;
    }
    ASSERT_GT(entries, 0u);

    int channelsWrong = 0;
    ProgressRecord record;
    record.flagPictureLoader = [&channelsWrong](const std::string& path) {
        FlagPicture picture;
        const auto image = ImageData::decodeFile(path.c_str());
        if (!image) return picture;
        if (image->bytesPerPixel() != 4) ++channelsWrong;
        picture.surface = 0;
        picture.width = static_cast<uint16_t>(image->width());
        picture.height = static_cast<uint16_t>(image->height());
        return picture;
    };
    testing::internal::CaptureStderr();
    record.loadFlags();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(record.flags.size(), entries);
    EXPECT_EQ(channelsWrong, 0);
    for (const Flag& flag : record.flags) {
        // Shown at 50x30 and painted from the leftmost column: small renders, never empty.
        EXPECT_GT(flag.height, 0) << flag.name;
        EXPECT_LE(flag.width, 100) << flag.name;
    }
}
