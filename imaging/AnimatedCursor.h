#pragma once
// Animated cursor files (RIFF form "ACON"): icon frames with their display
// rates in jiffies (1/60 s).
//
//   TAnimatedCursorImage ani;
//   ani.LoadFromStream(bytes);   // EReadError on a file that is none
//   TIcon first;  ani.AssignTo(first);
#include "imaging/ImagingErrors.h"
#include "platform/Icon.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class TIconList;

// The "anih" chunk as stored: nine 32-bit values.
struct TAniHeader {
    uint32_t cbSize = 0;
    uint32_t nFrames = 0;
    uint32_t nSteps = 0;
    uint32_t iWidth = 0;
    uint32_t iHeight = 0;
    uint32_t iBitCount = 0;
    uint32_t nPlanes = 0;
    uint32_t iDispRate = 0;    // default display rate in jiffies
    uint32_t bfAttributes = 0; // bit 0: the frames are icon files
};

class TIconFrame {
public:
    TIconFrame();
    void Assign(const TIconFrame& source);

    std::unique_ptr<TIcon> Icon;
    bool IsIcon = false;  // the image was an icon, not a cursor
    char ChunkId[4] = {}; // the "icon" sub-chunk it came from
    uint32_t ChunkSize = 0;
    TPoint HotSpot{0, 0};
    uint32_t JiffRate = 0;
    int32_t FrameIndex = -1; // -1: not listed in the header
};

class TAnimatedCursorImage {
public:
    TAnimatedCursorImage();
    ~TAnimatedCursorImage();
    TAnimatedCursorImage(const TAnimatedCursorImage&) = delete;
    TAnimatedCursorImage& operator=(const TAnimatedCursorImage&) = delete;

    // Reads a whole file. Raises EReadError for a file that is not an
    // animated cursor, a header without icon frames or steps, counts and sizes
    // beyond the caps below or the bytes present, or no frame at the end;
    // the image is then empty.
    void LoadFromStream(const QByteArray& data);
    void LoadFromFile(const QString& fileName);
    // Writing animated cursors is not built: tells the user and aborts.
    [[noreturn]] void SaveToStream() const;

    void Assign(const TAnimatedCursorImage& source);
    void Clear();
    // Frame 0's icon; false (icon unchanged) without frames.
    bool AssignTo(TIcon& icon) const;
    // All frames side by side (or one below the other) on the bitmap's brush
    // colour, reduced to the frames' colours (at least 16).
    bool AssignTo(TBitmap& bitmap, bool vertical = false) const;
    void AssignTo(TIconList& list) const;

    TAniHeader Header;
    QString Title;  // "INAM", at most 255 bytes
    QString Author; // "IART", at most 255 bytes
    std::vector<std::unique_ptr<TIconFrame>> IconFrames;
    uint16_t MaxColors = 0;

    // Header counts above these are refused.
    static constexpr uint32_t MaxFrames = 1024;
    static constexpr uint32_t MaxSteps = 4096;
};
