#pragma once
// Windows metafiles and enhanced metafiles become SVG documents through the
// system's libraries: libwmf for the older format, libemf2svg for the
// enhanced one; Qt SVG draws the result.
//
// Their bytes come from documents and the clipboard and are not trusted.
// Before a library sees them the records are walked and bounded (size,
// record count, object count), and the conversion itself runs in a child
// process with a time and memory limit: a library that crashes or hangs on
// some input costs that picture, not the program.
//
//   TMetafileSvg svg;
//   if (ConvertMetafile(bytes, /*Enhanced*/ false, svg)) renderer.load(svg.Svg);
#include <QByteArray>
#include <QRectF>

#include <functional>

namespace MetafileLimits {
// Bytes of one metafile.
constexpr qsizetype MaxBytes = 32 << 20;
// Records of one metafile.
constexpr int MaxRecords = 200000;
// Objects a Windows metafile may declare.
constexpr int MaxObjects = 4096;
// Bytes of the SVG a library may write for one picture.
constexpr qsizetype MaxSvgBytes = 64 << 20;
// Wall-clock time one conversion may take, in milliseconds.
constexpr int TimeLimitMs = 4000;
// Address space a conversion may add to what the program has.
constexpr qint64 MaxMemoryGrowth = qint64(1) << 30;
} // namespace MetafileLimits

struct TMetafileSvg {
    QByteArray Svg; // UTF-8
    // Where the SVG's viewport lies in the picture's frame, in fractions of
    // the frame (an enhanced metafile draws inside its bounds, which need not
    // fill the frame).
    QRectF Place{0, 0, 1, 1};
};

// True when the bytes pass the limits and their record chain holds: a
// placeable Windows metafile, or an enhanced metafile.
bool CheckWindowsMetafile(const QByteArray& Data);
bool CheckEnhancedMetafile(const QByteArray& Data);

// Converts the bytes; false when they fail the checks or the library fails,
// crashes, takes too long or writes too much. The library runs in a child
// process (which also keeps its global state, such as a font configuration
// it shuts down, away from the program).
bool ConvertMetafile(const QByteArray& Data, bool Enhanced, TMetafileSvg& Out);

// Runs Work the way a conversion runs: in a child process under the limits.
// False when Work fails, dies, overruns the time limit or writes more than
// an SVG may be; else Out holds what it wrote.
bool RunMetafileWork(const std::function<bool(QByteArray&)>& Work, QByteArray& Out);
// The signal that ended the child of the last conversion or work (SIGKILL
// when it overran the time limit, SIGABRT when a runtime such as a
// sanitizer stopped it), 0 when it ended by itself. The fuzz target reports
// a library that crashes or hangs by it.
int LastMetafileWorkSignal();

// The time limit of one conversion in milliseconds (tests shorten it).
void SetMetafileTimeLimit(int Ms);
// How many conversions this process has started (a picture converts once).
int MetafileConversionCount();
