#pragma once
// The few services the element and scene readers call, behind interfaces so that the fuzz targets
// and the tests read element files from memory without GL: a texture lookup, a file lookup and a
// byte source.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TextureLookup {
  public:
    virtual ~TextureLookup() = default;
    // The texture shown for an image path, with its size; -1 and 0 x 0 when it cannot be had.
    virtual int32_t fetch(const std::string& path, uint16_t& width, uint16_t& height) = 0;
};

// The resource store's textures (loose file first, then the pack); -1 when no store exists.
class StoreTextureLookup final : public TextureLookup {
  public:
    int32_t fetch(const std::string& path, uint16_t& width, uint16_t& height) override;
};

class ElementFileLookup {
  public:
    virtual ~ElementFileLookup() = default;
    // The bytes of a description or scene file of the pack; false when there is none.
    virtual bool readPackFile(const std::string& name, std::vector<uint8_t>& bytes) = 0;
    // The bytes of a binary element file on disk; false when it cannot be opened.
    virtual bool readDiskFile(const std::string& path, std::vector<uint8_t>& bytes) = 0;
};

// The game's own files: the pack (no pack, no files) and the disk through FileStream.
class PackElementFiles final : public ElementFileLookup {
  public:
    bool readPackFile(const std::string& name, std::vector<uint8_t>& bytes) override;
    bool readDiskFile(const std::string& path, std::vector<uint8_t>& bytes) override;
};

// Sequential little-endian reading; a field the source cannot fill completely is left unchanged.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual size_t read(void* destination, size_t count) = 0;

    template <class T> void field(T& value) {
        T read_{};
        if (read(&read_, sizeof(T)) == sizeof(T)) value = read_;
    }
    // A u16 byte count, then the bytes. False when even the count is missing.
    bool string(std::string& value);
};

class MemorySource final : public ByteSource {
  public:
    MemorySource(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    size_t read(void* destination, size_t count) override;

  private:
    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
};

class ByteSink final {
  public:
    template <class T> void field(const T& value) {
        const auto* p = reinterpret_cast<const uint8_t*>(&value);
        bytes.insert(bytes.end(), p, p + sizeof(T));
    }
    // Longer texts are cut at 65535 bytes, the most a u16 count can say.
    void string(const std::string& value);
    std::vector<uint8_t> bytes;
};
