#pragma once
// GraphicElement — a picture a menu shows: a source rectangle of a texture, a frame strip with
// per-frame durations, and a position that can glide toward a target.
//
// Owns: its fields; the texture belongs to the resource store (the element asks the store to
// delete it by path when destroyed, as every element of one picture shares one texture).
// Never: draws a texture of -1; reads outside a file's bytes.
// On failure: never throws. A description missing from the pack, or a binary file that cannot
// be opened, leaves the element as it was; a texture that cannot be had leaves texture -1 and
// size 0, and the element is then drawn as nothing but still moves and takes part in layout.
#include <cstdint>
#include <string>
#include <vector>

#include "base/ClipRect.h"

class ByteSource;
class ByteSink;
class ElementFileLookup;
class TextureLookup;

struct PointI32 {
    int32_t x = 0;
    int32_t y = 0;
};

class GraphicElement {
  public:
    GraphicElement() = default;
    virtual ~GraphicElement();
    GraphicElement(const GraphicElement&) = delete;
    GraphicElement& operator=(const GraphicElement&) = delete;

    virtual bool load(const std::string& name);
    virtual bool initFromImage(const std::string& path, uint16_t w, uint16_t h, int32_t atX, int32_t atY);
    virtual void update();
    virtual void drawAt(int32_t atX, int32_t atY);
    virtual void draw();
    virtual bool isWidget() const { return false; }
    virtual ClipRect getSourceRect() const { return source; }
    virtual void setSourceRect(const ClipRect& rect) { source = rect; }
    virtual void moveTowardTarget(uint16_t speed);
    virtual int32_t getState() const { return 0; }
    virtual void setPosition(int32_t atX, int32_t atY);
    virtual void setX(int32_t atX);
    virtual void setY(int32_t atY);
    virtual bool isKindOf(int kind) const { return kind == 25; }
    virtual void loadDescription(const std::string& name);
    virtual void parseDescription(const std::string& name);
    virtual void saveBinary(const std::string& path) const;
    virtual void loadBinary(const std::string& path);
    virtual void advanceAnimation();
    virtual void applyFrame();

    // The readers and writer behind the slots above, on bytes and a texture lookup, so they run
    // without the pack, the disk or GL. `name` is the description's own name (for its folder).
    virtual void parseDescriptionBytes(const std::string& name, const uint8_t* bytes, size_t size,
                                       TextureLookup& textures);
    virtual void readBinary(ByteSource& in, TextureLookup& textures);
    virtual void writeBinary(ByteSink& out) const;
    // Whether a file of this name is read at all (widgets read only names with their extension).
    virtual bool acceptsName(const std::string&) const { return true; }
    // What initFromImage does, with the picture taken from `textures`.
    void initFromImageWith(const std::string& path, uint16_t w, uint16_t h, int32_t atX, int32_t atY,
                           TextureLookup& textures);
    // What load does, with the files and pictures taken from the given services.
    void loadFrom(const std::string& name, ElementFileLookup& files, TextureLookup& textures);

    // The description form's line rules: LF split, every CR removed, "#" lines not counted.
    static std::vector<std::string> descriptionLines(const uint8_t* bytes, size_t size);
    static int32_t readNumber(const std::string& text);
    static uint16_t readSize(const std::string& text);
    static bool readYes(const std::string& text) { return text == "YES"; }
    // The image path a description line names: the description's folder + the line.
    static std::string imagePathFor(const std::string& descriptionName, const std::string& line);

    std::string imagePath = "NULL";
    uint16_t textureWidth = 0;
    uint16_t textureHeight = 0;
    int32_t texture = -1;
    ClipRect source;
    int32_t x = 0, y = 0;
    int32_t xMilli = 0, yMilli = 0;
    PointI32 home;
    PointI32 target;
    uint8_t visible = 1;
    uint16_t frameCount = 1;
    std::vector<uint16_t> frameDurations = std::vector<uint16_t>(1, 0);
    uint16_t frame = 0;
    uint16_t frameTime = 0;
    uint8_t animated = 0;
    uint8_t loop = 1;
    uint8_t verticalStrip = 1;

  protected:
    void fetchTexture(TextureLookup& textures);
    // "NO_IMAGE" names no picture where `noImageAllowed` (buttons and switches).
    void readHead(ByteSource& in, TextureLookup& textures, bool noImageAllowed = false);
    void writeHead(ByteSink& out) const;
    void readImageLine(const std::string& name, const std::string& line, TextureLookup& textures,
                       bool noImageAllowed);
    // Description lines 0 to 5 + frame count (image, size, loop, strip, durations); returns the
    // number of the first line after them.
    size_t readStripLines(const std::string& name, const std::vector<std::string>& lines,
                          TextureLookup& textures, bool noImageAllowed);
    // Binary: frame count, durations, frame, frame time, loop, strip.
    void readStripFields(ByteSource& in);
    void writeStripFields(ByteSink& out) const;
};
