#pragma once
// Windows metafiles and enhanced metafiles become SVG documents through the
// system's libraries: libwmf for the older format, libemf2svg for the
// enhanced one; Qt SVG draws the result.
//
// Their bytes come from documents and the clipboard and are not trusted.
// Before a library sees them the records are walked and bounded (size,
// record count, object count), and the conversion itself runs in a helper
// program of its own (pravolin-metafile, beside the program's executable)
// with limits on CPU time, memory and output: a library that crashes or
// hangs on some input costs that picture, not the program.
//
//   TMetafileSvg svg;
//   if (ConvertMetafile(bytes, /*Enhanced*/ false, svg)) renderer.load(svg.Svg);
#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

#include <cstdint>

class QImage;

namespace MetafileLimits {
// Bytes of one metafile.
constexpr qsizetype MaxBytes = 32 << 20;
// Records of one metafile.
constexpr int MaxRecords = 200000;
// Objects a Windows metafile may declare.
constexpr int MaxObjects = 4096;
// Device contexts a Windows metafile may hold saved at once. libwmf walks
// the contexts it holds at every save and restore, and any restore gives
// back one, whatever its count: its work grows with their depth times the
// number of such records (95,000 saves nested and restored took it 25 s of
// CPU time, 10,000 took 0.3 s). At this depth the most records a metafile
// may have, all saving and restoring, take it about 0.2 s; real files nest
// a handful of levels. (libemf2svg's work does not grow with the depth:
// enhanced metafiles need no such bound.)
constexpr int MaxSavedStates = 256;
// Bytes of the SVG a library may write for one picture.
constexpr qsizetype MaxSvgBytes = 64 << 20;
// CPU time one conversion may take, in milliseconds (whole seconds count).
constexpr int CpuTimeMs = 4000;
// Wall-clock time after which a helper counts as hung: generous, so that a
// loaded machine does not cost sound pictures.
constexpr int WallTimeMs = 30000;
// Pixels of one rendering of a converted picture.
constexpr qint64 MaxRenderPixels = qint64(16) << 20;
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
// True for the Windows metafile records that put something on the page
// (lines, figures, text, bitmaps, regions, pixels), by function number.
bool IsWindowsMetafileDrawingRecord(uint16_t Function);

// The placeable header (22 bytes, its checksum set) of a picture whose box
// runs from (Left, Top) to (Right, Bottom) at Inch units per inch.
QByteArray PlaceableHeader(int Left, int Top, int Right, int Bottom, int Inch);
// A Windows metafile in memory behind its placeable header: a box of Width x
// Height units at Inch units per inch, Objects object slots, and Records
// (the end record included) whose largest is MaxRecordWords words long.
QByteArray PlaceableWindowsMetafile(int Width, int Height, int Inch, int Objects, uint32_t MaxRecordWords,
                                    const QByteArray& Records);
// Puts Inch into the placeable header that Data starts with, with its checksum.
void SetPlaceableInch(QByteArray& Data, int Inch);
bool CheckEnhancedMetafile(const QByteArray& Data);

// Converts the bytes; false when they fail the checks or the library fails,
// crashes, takes too long or writes too much. Waits for the helper: any
// thread may call it (pictures convert on threads of their own, see
// MetafileCache.h).
bool ConvertMetafile(const QByteArray& Data, bool Enhanced, TMetafileSvg& Out);

// Renders the SVG of a converted picture at Size pixels, its viewport at
// Place (fractions of Size), in the helper under the limits of a conversion,
// exactly as RasterizeMetafileSvg (MetafileRaster.h) renders it here. False
// when the helper fails or overruns a limit: the picture is too heavy to
// draw at that size. Waits for the helper, as ConvertMetafile does.
bool RenderMetafileSvg(const QByteArray& Svg, const QRectF& Place, QSize Size, QImage& Out);
// How many renderings this process has given to the helper, and the signal
// that ended the last one (as LastMetafileWorkSignal for conversions).
int MetafileRenderCount();
int LastMetafileRenderSignal();

// Runs the helper program with Args, Input on its standard input, under the
// limits. False when it fails, dies, overruns a limit or writes more than an
// SVG may be; else Out holds what it wrote before its closing byte 1.
bool RunMetafileHelper(const QList<QByteArray>& Args, const QByteArray& Input, QByteArray& Out);
// The signal that ended the helper of the last conversion (SIGXCPU or
// SIGKILL when it overran a limit, SIGABRT when a runtime such as a
// sanitizer stopped it), 0 when it ended by itself. The fuzz target reports
// a library that crashes or hangs by it.
int LastMetafileWorkSignal();

// Kills the helpers that run and fails every later conversion (at the end
// of the program).
void StopMetafileHelpers();

// The helper program that runs (tests put another in its place; an empty
// path restores it).
QString MetafileHelperPath();
void SetMetafileHelper(const QString& Program);

// The limits of one conversion in milliseconds (tests shorten them).
void SetMetafileTimeLimits(int CpuMs, int WallMs);
void MetafileTimeLimits(int& CpuMs, int& WallMs);
// How many conversions this process has given to the helper (a picture
// converts once; one that fails the checks never gets there).
int MetafileConversionCount();
