#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sstream>
#include <sys/wait.h>

#include "TestSupport.h"
#include "assets/AssetPack.h"
#include "assets/FileStream.h"
#include "assets/PackFormat.h"
#include "assets/PackWriter.h"

namespace {
std::string bytesOf(const PackBuffer& buffer) {
    return {buffer.data.begin(), buffer.data.end()};
}

std::vector<uint8_t> toBytes(const std::string& s) {
    return {s.begin(), s.end()};
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

// "f3", "content3": appended, since g++ 12 at -O3 wrongly warns (-Wrestrict) about "f" + std::string.
std::string numbered(const char* stem, int i) {
    std::string text(stem);
    text += std::to_string(i);
    return text;
}

AssetPack indexOf(const std::string& bytes) {
    AssetPack pack("/nonexistent");
    std::istringstream in(bytes);
    pack.readIndex(in, bytes.size());
    return pack;
}
} // namespace

TEST(PackFormat, NumbersRoundTripAndZeroDigitsStayZero) {
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        const uint32_t value = random() % (PackFormat::kLargestNumber + 1ull);
        const auto stored = PackFormat::scramble(value);
        ASSERT_TRUE(stored);
        ASSERT_EQ(PackFormat::unscramble(*stored), value);
    }
    for (uint32_t value : {0u, 1u, 9u, 10u, 999999999u, 1000000000u, 3999999999u})
        EXPECT_EQ(PackFormat::unscramble(*PackFormat::scramble(value)), value) << value;
    // Digit 0 stays 0 and the billions digit stays put, whatever the key.
    EXPECT_EQ(PackFormat::unscramble(0), 0u);
    EXPECT_EQ(PackFormat::unscramble(3000000000u), 3000000000u);
    // The key really scrambles: a stored 1 does not read as 1.
    EXPECT_NE(PackFormat::unscramble(1), 1u);
    EXPECT_FALSE(PackFormat::scramble(4000000000u));
}

TEST(PackFormat, NamesRotateByOneBit) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string stored = PackFormat::rotateName(all);
    EXPECT_EQ(PackFormat::unrotateName(stored), all);
    EXPECT_EQ(stored.find('\0'), std::string::npos);
    EXPECT_EQ(PackFormat::rotateName("A"), std::string(1, static_cast<char>(0x82)));
}

TEST(PackRoundTrip, EmptyFilesDeepPathsAndManyEntries) {
    ScratchDir dir("pack");
    PackWriter writer;
    writer.add("empty", {});
    writer.add("also/empty", {});
    writer.add("a/very/deep/path/that/goes/on/and/on/file.bin", toBytes("deep"));
    std::string binary;
    for (int b = 0; b < 256; ++b)
        binary.push_back(static_cast<char>(b));
    writer.add("Assets/binary.dat", toBytes(binary));
    std::mt19937 random(42);
    std::vector<std::string> contents(10000);
    for (int i = 0; i < 10000; ++i) {
        contents[i] = std::string(random() % 40, static_cast<char>('a' + i % 26)) + std::to_string(i);
        writer.add("many/" + std::to_string(i) + ".txt", toBytes(contents[i]));
    }
    std::string error;
    ASSERT_TRUE(writer.write(dir.path() / "Vedezaviva.zez", &error)) << error;

    AssetPack pack((dir.path() / "Vedezaviva.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    EXPECT_EQ(pack.entryCount(), 10004u);
    for (const char* name : {"empty", "also/empty"}) {
        auto buffer = pack.readFile(name);
        ASSERT_TRUE(buffer) << name;
        EXPECT_EQ(buffer->size, 0u);
        EXPECT_EQ(buffer->position, 0u);
    }
    EXPECT_EQ(bytesOf(*pack.readFile("a/very/deep/path/that/goes/on/and/on/file.bin")), "deep");
    EXPECT_EQ(bytesOf(*pack.readFile("Assets/binary.dat")), binary);
    for (int i = 0; i < 10000; i += 97)
        ASSERT_EQ(bytesOf(*pack.readFile("many/" + std::to_string(i) + ".txt")), contents[i]) << i;
    EXPECT_EQ(bytesOf(*pack.readFile("many/9999.txt")), contents[9999]);

    // Offsets are unique, so the reader's first-size-per-offset rule can never mix two entries up.
    std::set<uint32_t> offsets;
    for (const auto& [name, offset] : pack.names())
        EXPECT_TRUE(offsets.insert(offset).second) << name;
}

TEST(PackRoundTrip, ToolPacksATreeAndListsAndExtractsIt) {
    ScratchDir dir("tool");
    dir.write("tree/Assets/x.txt", "hello");
    dir.write("tree/Assets/sub/empty", "");
    dir.write("tree/Sound/s.wav", std::string("\0\1\2", 3));
    dir.write("tree/Flags/not-packed", "no");
    const std::string tool = VOV_TEST_BINARY_DIR "/vovpack";
    const auto pack = dir.path() / "p.zez";
    ASSERT_EQ(std::system((tool + " --create " + pack.string() + " " + (dir.path() / "tree").string() +
                           " Assets Sound > /dev/null")
                              .c_str()),
              0);
    ASSERT_EQ(
        std::system((tool + " --list " + pack.string() + " > " + (dir.path() / "list").string()).c_str()), 0);
    EXPECT_EQ(dir.read("list"), "0\tAssets/sub/empty\n5\tAssets/x.txt\n3\tSound/s.wav\n");
    ASSERT_EQ(
        std::system((tool + " --extract " + (dir.path() / "out").string() + " " + pack.string()).c_str()), 0);
    EXPECT_EQ(dir.read("out/Assets/x.txt"), "hello");
    EXPECT_EQ(dir.read("out/Sound/s.wav"), std::string("\0\1\2", 3));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "out/Assets/sub/empty"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/Flags"));
}

// Names that leave the folder, and "a/b" after a file "a", are reported and skipped; the rest is
// written and the tool ends with 1.
TEST(PackRoundTrip, ExtractSkipsNamesThatLeaveTheFolderOrClash) {
    ScratchDir dir("escape");
    const std::vector<std::string> names = {"../escaped", "/tmp/abs", "a", "a/b", "ok"};
    uint32_t dataAt = 8;
    for (const std::string& name : names)
        dataAt += static_cast<uint32_t>(4 + name.size() + 1 + 8);
    std::string pack;
    putNumber(pack, 1);
    putNumber(pack, static_cast<uint32_t>(names.size()));
    for (const std::string& name : names)
        putEntry(pack, name, dataAt, 1);
    pack += "X";
    dir.write("evil.zez", pack);
    const std::string tool = VOV_TEST_BINARY_DIR "/vovpack";
    const int status =
        std::system((tool + " --extract " + (dir.path() / "out").string() + " " +
                     (dir.path() / "evil.zez").string() + " 2>" + (dir.path() / "err").string())
                        .c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "escaped"));
    EXPECT_EQ(dir.read("out/a"), "X");
    EXPECT_EQ(dir.read("out/ok"), "X");
    EXPECT_NE(dir.read("err").find("a/b"), std::string::npos) << dir.read("err");
}

TEST(PackIndex, FirstNameAndFirstSizeWin) {
    std::string pack;
    putNumber(pack, 0);
    putNumber(pack, 4);
    const uint32_t data = 8 + 4 * 12 + 5 + 5 + 7 + 1; // header, three numbers and a name an entry
    putEntry(pack, "same", data, 3);
    putEntry(pack, "same", data + 3, 2);
    putEntry(pack, "shared", data, 1); // same offset as the first, another size
    putEntry(pack, "", data + 3, 2);   // L = 1: the empty name
    ASSERT_EQ(pack.size(), data);
    pack += "abcde";
    ScratchDir dir("dup");
    dir.write("p.zez", pack);
    AssetPack index((dir.path() / "p.zez").string());
    ASSERT_TRUE(index.loadIndex());
    EXPECT_EQ(bytesOf(*index.readFile("same")), "abc");
    EXPECT_EQ(bytesOf(*index.readFile("shared")), "abc");
    EXPECT_EQ(bytesOf(*index.readFile("")), "de");
    EXPECT_FALSE(index.readFile("SAME"));
    EXPECT_FALSE(index.readFile("sam"));
}

TEST(PackIndex, NamesAreExactBytes) {
    ScratchDir dir("case");
    PackWriter writer;
    writer.add("Assets/scene/Main.scn", toBytes("m"));
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack pack((dir.path() / "p.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    EXPECT_TRUE(pack.readFile("Assets/scene/Main.scn"));
    EXPECT_FALSE(pack.readFile("assets/scene/main.scn"));
    EXPECT_FALSE(pack.readFile("Assets\\scene\\Main.scn"));
    EXPECT_FALSE(pack.readFile("./Assets/scene/Main.scn"));
}

TEST(PackIndex, DamagedPacksKeepWhatWasReadAndNeverReadPastTheEnd) {
    ScratchDir dir("bad");
    PackWriter writer;
    for (int i = 0; i < 5; ++i)
        writer.add(numbered("f", i), toBytes(numbered("content", i)));
    ASSERT_TRUE(writer.write(dir.path() / "good.zez", nullptr));
    const std::string good = readWhole(dir.path() / "good.zez");

    // Missing and empty packs: loadIndex says whether the file opened; either way nothing is found.
    AssetPack missing((dir.path() / "none.zez").string());
    EXPECT_FALSE(missing.loadIndex());
    EXPECT_FALSE(missing.readFile("f0"));
    dir.write("empty.zez", "");
    AssetPack empty((dir.path() / "empty.zez").string());
    EXPECT_TRUE(empty.loadIndex());
    EXPECT_EQ(empty.entryCount(), 0u);

    // A directory that promises five entries but holds two before its data: those two stay usable.
    std::string shortDirectory;
    putNumber(shortDirectory, 0);
    putNumber(shortDirectory, 5);
    const uint32_t dataAt = 8 + 2 * (4 + 3 + 8);
    putEntry(shortDirectory, "f0", dataAt, 2);
    putEntry(shortDirectory, "f1", dataAt + 2, 2);
    shortDirectory += "abcd";
    dir.write("short.zez", shortDirectory);
    AssetPack cut((dir.path() / "short.zez").string());
    ASSERT_TRUE(cut.loadIndex());
    EXPECT_EQ(cut.entryCount(), 2u);
    EXPECT_EQ(bytesOf(*cut.readFile("f0")), "ab");
    EXPECT_EQ(bytesOf(*cut.readFile("f1")), "cd");
    EXPECT_FALSE(cut.readFile("f2"));

    // Every possible cut of the file: never a crash, never an entry whose bytes lie past the cut.
    for (size_t length = 0; length <= good.size(); ++length) {
        const std::string prefix = good.substr(0, length);
        dir.write("cut.zez", prefix);
        AssetPack index((dir.path() / "cut.zez").string());
        index.loadIndex();
        for (int i = 0; i < 5; ++i) {
            const auto buffer = index.readFile(numbered("f", i));
            if (buffer) {
                EXPECT_EQ(bytesOf(*buffer), numbered("content", i));
            }
        }
    }

    // An entry count far beyond the file, a name length past the end, an offset past the end.
    std::string huge;
    putNumber(huge, 0);
    putNumber(huge, 3999999999u);
    putEntry(huge, "ok", 8 + 15 + 16 + 4, 2); // "hi", the last two bytes
    putEntry(huge, "far", 1u << 30, 2);
    putNumber(huge, 3000000000u); // a name length of three billion
    huge += "hi";
    const AssetPack hostile = indexOf(huge);
    EXPECT_TRUE(hostile.has("ok"));
    EXPECT_FALSE(hostile.has("far"));
    EXPECT_EQ(hostile.entryCount(), 1u);

    // A zero name length is not a valid entry: reading stops there.
    std::string zero;
    putNumber(zero, 0);
    putNumber(zero, 2);
    putNumber(zero, 0);
    zero += std::string(32, 'z');
    EXPECT_EQ(indexOf(zero).entryCount(), 0u);
}

TEST(PackIndex, ShrunkPackGivesNullNotAHalfBuffer) {
    ScratchDir dir("shrunk");
    PackWriter writer;
    writer.add("big", std::vector<uint8_t>(1000, 'b'));
    ASSERT_TRUE(writer.write(dir.path() / "p.zez", nullptr));
    AssetPack pack((dir.path() / "p.zez").string());
    ASSERT_TRUE(pack.loadIndex());
    std::filesystem::resize_file(dir.path() / "p.zez", 500);
    EXPECT_FALSE(pack.readFile("big"));
}

TEST(FileStreamTest, RefusesWhatTheModeForbidsWithItsMessages) {
    ScratchDir dir("fs");
    const std::string path = (dir.path() / "f.txt").string();
    FileStream out;
    testing::internal::CaptureStdout();
    out.readLine();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "The file is not opened\n");
    out.open(path, "w");
    ASSERT_TRUE(out.isOpen());
    out.writeText("one\ntwo\n");
    testing::internal::CaptureStdout();
    char byte;
    EXPECT_EQ(out.read(&byte, 1), 0u);
    out.write("x", 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Open mode: w prevents from reading\nOpen mode: w prevents from reading\n");
    out.close();

    FileStream in;
    in.open(path, "r");
    EXPECT_EQ(in.readLine(), "one");
    EXPECT_EQ(in.readLine(), "two");
    in.open(path, "rw+");
    EXPECT_FALSE(in.isOpen());
}

TEST(FileStreamTest, BinaryReadsStopAtTheEndAndSeekClearsIt) {
    ScratchDir dir("fsb");
    const std::string path = (dir.path() / "b.bin").string();
    FileStream out;
    out.open(path, "wb");
    out.write("abcdef", 6);
    out.close();
    FileStream in;
    in.open(path, "rb");
    char buffer[16] = {};
    EXPECT_EQ(in.read(buffer, 16), 6u);
    in.seek(2);
    EXPECT_EQ(in.read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "cde");
    EXPECT_EQ(in.size(), 6u);
}

TEST(FileStreamTest, FirstStreamMakesSavedata) {
    ScratchDir dir("save");
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    FileStream::forgetSavedataForTests();
    { FileStream first; }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "Savedata"));
    // When "Savedata" cannot be made (a file of that name), the next stream tries again.
    std::filesystem::remove(dir.path() / "Savedata");
    std::ofstream(dir.path() / "Savedata") << "x";
    FileStream::forgetSavedataForTests();
    { FileStream blocked; }
    std::filesystem::remove(dir.path() / "Savedata");
    { FileStream retry; }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "Savedata"));
    std::filesystem::current_path(here);
}
