#include <gtest/gtest.h>
#include <sys/wait.h>

#include "TestSupport.h"
#include "assets/AssetPack.h"
#include "assets/FileStream.h"
#include "assets/PackFormat.h"
#include "assets/PackWriter.h"

namespace {
std::string bytesOf(const std::unique_ptr<PackBuffer>& buffer) {
    return buffer ? std::string(buffer->data.begin(), buffer->data.end()) : "<null>";
}

void putNumber(std::string& out, uint32_t value) {
    const uint32_t stored = *PackFormat::scramble(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>(stored >> (8 * i)));
}

// A hand-made directory entry, so tests can build packs the writer would never produce.
void putEntry(std::string& out, const std::string& name, uint32_t offset, uint32_t size) {
    putNumber(out, static_cast<uint32_t>(name.size() + 1));
    out += 'x' + PackFormat::rotateName(name);
    putNumber(out, offset);
    putNumber(out, size);
}

std::string header(uint32_t count) {
    std::string out;
    putNumber(out, 0);
    putNumber(out, count);
    return out;
}

AssetPack packOf(const ScratchDir& dir, const std::string& bytes) {
    dir.write("p.zez", bytes);
    AssetPack pack((dir.path() / "p.zez").string());
    EXPECT_TRUE(pack.loadIndex());
    return pack;
}
} // namespace

// The key and layout packs already on disk were made with: every digit and place, and one whole
// pack written out byte by byte (entry "A" holding "hi": count 1, L 2, offset 22, size 2).
TEST(PackFormat, KeyAndLayoutReadAsShippedPacksWereWritten) {
    for (const auto& [stored, value] : {std::pair{123456789u, 241763895u},
                                        {1u, 70000u},
                                        {0u, 0u},
                                        {3000000000u, 3000000000u},
                                        {3000000400u, 3000000001u}}) {
        EXPECT_EQ(PackFormat::unscramble(stored), value);
        EXPECT_EQ(PackFormat::scramble(value), stored);
    }
    EXPECT_FALSE(PackFormat::scramble(4000000000u));
    const std::string pack("\1\2\3\4\x90\x01\0\0\x58\x02\0\0x\x82\xd8\x8f\x5b\0\x58\x02\0\0hi", 24);
    ScratchDir dir("literal");
    const AssetPack index = packOf(dir, pack);
    EXPECT_EQ(bytesOf(index.readFile("A")) + std::to_string(index.entryCount()), "hi1");
    // Name bytes rotate left by one bit, the top bit coming round to the bottom.
    EXPECT_EQ(PackFormat::rotateName("\x81\x40") + PackFormat::unrotateName("\x03\x80"), "\x03\x80\x81\x40");
}

// Packed by the tool, read by the game: every byte kept, empty files at offsets of their own.
TEST(PackRoundTrip, ToolPacksListsAndExtractsATree) {
    ScratchDir dir("pack");
    std::string binary;
    for (int b = 0; b < 256; ++b)
        binary.push_back(static_cast<char>(b));
    dir.write("tree/Assets/x.txt", "hello");
    dir.write("tree/Assets/sub/empty", "");
    dir.write("tree/Assets/sub/empty2", "");
    dir.write("tree/Sound/s.wav", binary);
    dir.write("tree/Flags/not-packed", "no");
    const std::string tool = VOV_TEST_BINARY_DIR "/vovpack ";
    const std::string p = (dir.path() / "p.zez").string(), d = dir.path().string();
    ASSERT_EQ(std::system((tool + "--create " + p + " " + d + "/tree Assets Sound > /dev/null").c_str()), 0);
    AssetPack pack(p);
    ASSERT_TRUE(pack.loadIndex());
    EXPECT_EQ(bytesOf(pack.readFile("Sound/s.wav")) + bytesOf(pack.readFile("Assets/sub/empty")), binary);
    ASSERT_EQ(std::system((tool + "--list " + p + " > " + d + "/list").c_str()), 0);
    EXPECT_EQ(dir.read("list"),
              "0\tAssets/sub/empty\n0\tAssets/sub/empty2\n5\tAssets/x.txt\n256\tSound/s.wav\n");
    ASSERT_EQ(std::system((tool + "--extract " + d + "/out " + p).c_str()), 0);
    EXPECT_EQ(dir.read("out/Assets/x.txt") + dir.read("out/Sound/s.wav"), "hello" + binary);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "out/Assets/sub/empty"));

    // Names that leave the folder, and "a/b" after a file "a", are reported and skipped; the rest
    // is written and the tool ends with 1.
    std::string evil = header(5);
    for (const char* name : {"../escaped", "/tmp/abs", "a", "a/b", "ok"})
        putEntry(evil, name, 8 + 5 * 13 + 10 + 8 + 1 + 3 + 2, 1); // the byte after the directory
    dir.write("evil.zez", evil + "X");
    const int status =
        std::system((tool + "--extract " + d + "/x " + d + "/evil.zez 2>" + d + "/err").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_TRUE(WEXITSTATUS(status) == 1 && !std::filesystem::exists(dir.path() / "escaped"));
    EXPECT_EQ(dir.read("x/a") + dir.read("x/ok"), "XX");
    EXPECT_NE(dir.read("err").find("a/b"), std::string::npos) << dir.read("err");
}

TEST(PackIndex, FirstNameAndFirstSizeWinAndNamesAreExactBytes) {
    std::string pack = header(5);
    const uint32_t data = 8 + 5 * 12 + 5 + 5 + 7 + 1 + 6; // header, three numbers and a name an entry
    putEntry(pack, "same", data, 3);
    putEntry(pack, "same", data + 3, 2);
    putEntry(pack, "shared", data, 1); // same offset as the first, another size
    putEntry(pack, "", data + 3, 2);   // L = 1: the empty name
    putEntry(pack, "Dir/A", data, 1);
    ASSERT_EQ(pack.size(), data);
    ScratchDir dir("dup");
    const AssetPack index = packOf(dir, pack + "abcde");
    EXPECT_EQ(bytesOf(index.readFile("same")) + "|" + bytesOf(index.readFile("shared")) + "|" +
                  bytesOf(index.readFile("")),
              "abc|abc|de");
    for (const char* near : {"SAME", "sam", "dir/a", "Dir\\A", "./Dir/A"})
        EXPECT_FALSE(index.readFile(near)) << near;
}

TEST(PackIndex, DamagedPacksKeepWhatWasReadAndNeverReadPastTheEnd) {
    ScratchDir dir("bad");
    AssetPack missing((dir.path() / "none.zez").string());
    EXPECT_FALSE(missing.loadIndex() || missing.readFile("f0"));
    EXPECT_EQ(packOf(dir, "").entryCount(), 0u);

    // A pack that shrank after its index was read gives null, not half a buffer.
    PackWriter writer;
    for (char i = '0'; i < '5'; ++i)
        writer.add(std::string("f") + i, {'c', 'o', 'n', 't', 'e', 'n', 't', static_cast<uint8_t>(i)});
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack shrunk((dir.path() / "p.zez").string());
    ASSERT_TRUE(shrunk.loadIndex());
    std::filesystem::resize_file(dir.path() / "p.zez", std::filesystem::file_size(dir.path() / "p.zez") - 1);
    EXPECT_TRUE(!shrunk.readFile("f4") && shrunk.readFile("f3"));

    // An entry count far beyond the file, an offset past the end, a name length past the end: the
    // entry read before the damage stays usable.
    std::string huge = header(3999999999u);
    putEntry(huge, "ok", 8 + 15 + 16 + 4, 2); // "hi", the last two bytes
    putEntry(huge, "far", 1u << 30, 2);
    putNumber(huge, 3000000000u);
    const AssetPack hostile = packOf(dir, huge + "hi");
    EXPECT_EQ(bytesOf(hostile.readFile("ok")) + std::to_string(hostile.entryCount()), "hi1");
    // A zero name length is not a valid entry: reading stops there.
    std::string zero = header(2);
    putNumber(zero, 0);
    EXPECT_EQ(packOf(dir, zero + std::string(32, 'z')).entryCount(), 0u);
}

TEST(FileStreamTest, ModesMessagesSeekAndSavedata) {
    InScratchFolder folder("fs");
    FileStream out;
    char buffer[16] = {};
    testing::internal::CaptureStdout();
    out.readLine();
    out.open("f.txt", "w");
    out.writeText("one\ntwo\n");
    EXPECT_EQ(out.read(buffer, 1), 0u);
    out.write("x", 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "The file is not opened\nOpen mode: w prevents from "
                                                      "reading\nOpen mode: w prevents from reading\n");
    folder.dir().write("b.bin", "abcdef");
    FileStream in;
    in.open("b.bin", "rb");
    in.read(buffer, 16);
    in.seek(2); // also clears the end of the file
    EXPECT_EQ(std::string(buffer, in.read(buffer, 3)), "cde");

    // The first stream makes "Savedata"; while a file of that name blocks it, the next one tries again.
    const auto savedata = folder.dir().path() / "Savedata";
    std::filesystem::remove_all(savedata);
    folder.dir().write("Savedata", "x");
    FileStream::forgetSavedataForTests();
    { FileStream blocked; }
    std::filesystem::remove(savedata);
    { FileStream retry; }
    EXPECT_TRUE(std::filesystem::is_directory(savedata));
}
