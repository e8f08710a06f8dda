#pragma once
// The converted metafile pictures of the process, one per distinct picture:
// keyed by the bytes (a hash and the length), shared by every document,
// view, printout and copy that shows them, failures included, and kept after
// the last of them is gone (up to a number of pictures).
//
// A picture converts on a thread of its own as soon as it is loaded. What
// paints the screen (inside a TScreenPaintScope) does not wait for it: the
// picture's frame stands in its place and the widget is painted again when
// the picture is ready. Everything else (printing, pictures made into
// images, writers) waits for it.
//
// A converted picture is kept rendered at the device sizes it was drawn at,
// so that drawing it again costs a bitmap's copy, not the SVG's work.
//
// What fails in that work, on whatever thread (a library, the helper, an
// allocation), costs the picture, never the program: a conversion that fails
// leaves the picture as its frame, a rendering that fails leaves it as its
// frame at that size, as a picture too heavy to draw there.
#include <QByteArray>
#include <QRectF>

#include <memory>

class QPainter;
class QWidget;

// Marks the painting of a widget on this thread.
class TScreenPaintScope {
public:
    explicit TScreenPaintScope(QWidget* Widget);
    ~TScreenPaintScope();
    TScreenPaintScope(const TScreenPaintScope&) = delete;
    TScreenPaintScope& operator=(const TScreenPaintScope&) = delete;
    // The widget being painted on this thread, or null.
    static QWidget* Current();

private:
    QWidget* m_previous;
};

class TMetafileRendering : public std::enable_shared_from_this<TMetafileRendering> {
public:
    // The picture of these bytes; the first request starts its conversion.
    // Width x Height (pixels at 96 per inch) is the size it is shown at
    // unless scaled, rendered right after the conversion.
    static std::shared_ptr<TMetafileRendering> Of(const QByteArray& Data, bool Enhanced, int Width,
                                                  int Height);

    ~TMetafileRendering();
    TMetafileRendering(const TMetafileRendering&) = delete;
    TMetafileRendering& operator=(const TMetafileRendering&) = delete;

    // True when the bytes convert into a picture (waits for the conversion).
    bool HasPicture();
    // Draws the picture into Target; false when there is nothing to draw
    // (yet, on the screen), where the caller draws the frame.
    bool Draw(QPainter& Painter, const QRectF& Target);

    class TData;

private:
    explicit TMetafileRendering(std::unique_ptr<TData> D);
    std::unique_ptr<TData> d;
    friend class TMetafileStore;
};

// Ends the conversions that run and drops those that wait; the picture
// store does it itself when the application ends.
void StopMetafileConversions();

// Tests: waits until the threads of the store have done all the work given
// to them (conversions started by loads, renderings left by the screen), so
// that what a test asks next does not do that work on its own thread.
void WaitForMetafileWork();

// The steps of the store's work on a picture.
enum class TMetafileWork { Converting, Rendering };
// Tests: a stand-in run at the start of every step of the store's work on a
// picture, on the thread that does it. One that throws (as an allocation
// that fails does) fails that step there. Null: none.
using TMetafileWorkStandIn = void (*)(TMetafileWork Step);
void SetMetafileWorkStandIn(TMetafileWorkStandIn StandIn);
