#pragma once
#include <cstddef>
#include <fstream>
#include <string>

// A thin wrapper over a standard file stream, used for the pack and for the game's own files.
// Every operation checks that the file is open and that its mode allows it; a refused operation
// writes one line to standard output ("The file is not opened", or "Open mode: <mode> prevents
// from reading") and reads or writes nothing. Never throws.
//
// The first FileStream of a run also makes sure the "Savedata" directory exists.
class FileStream final {
  public:
    enum class Mode { NotOpened, ReadText, WriteText, ReadBinary, WriteBinary };

    FileStream();
    ~FileStream();
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    // Mode text "r", "w", "rb" or "wb"; any other leaves the file unopened.
    void open(const std::string& name, const std::string& modeText);
    bool isOpen() const { return open_; }
    const std::string& name() const { return name_; }

    // Up to the next line feed, which is dropped. Empty when refused or at the end.
    std::string readLine();
    void writeText(const std::string& text);
    // Returns how many bytes were really read; fewer than `count` at the end of the file.
    size_t read(void* destination, size_t count);
    void write(const void* source, size_t count);
    void seek(uint64_t position);
    // Size of the open file in bytes, 0 when not open. Lets readers bound what they trust.
    uint64_t size();
    bool atEnd();
    void close();

    // Tests only: forget that "Savedata" was made, so the next construction tries again.
    static void forgetSavedataForTests();

  private:
    bool allowed(Mode wanted);

    std::string name_;
    std::fstream stream_;
    std::string modeText_ = "closed";
    Mode mode_ = Mode::NotOpened;
    bool open_ = false;
};
