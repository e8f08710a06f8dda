#include "platform/MetafileCache.h"

#include "platform/MetafileConvert.h"
#include "platform/MetafileRaster.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QSvgRenderer>
#include <QThreadPool>
#include <QTransform>
#include <QWidget>
#include <QXmlStreamReader>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <list>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

thread_local QWidget* t_screenWidget = nullptr;

// Rendered pixels of all pictures together, and of one rendering; a larger
// device gets the picture at this size, scaled.
constexpr qint64 MaxKeptBytes = qint64(256) << 20;
constexpr qint64 MaxImagePixels = MetafileLimits::MaxRenderPixels;
// The work of rendering an SVG grows with its length and with the pixels its
// shapes cover, and a shape that crosses the picture back and forth covers
// all of them: such drawings took up to 4e-11 s per byte and pixel. Up to
// this product (a few hundredths of a second) a picture renders in the
// program; a heavier one renders in the helper, under the CPU limit of a
// conversion, and a picture that overruns it is shown as its frame.
constexpr double MaxWorkHere = 1e9;
// How long the screen waits for a picture the helper renders before it
// paints the frame and leaves the picture to a later paint.
constexpr auto ScreenWait = std::chrono::milliseconds(100);

bool RendersHere(qsizetype SvgBytes, QSize Size) {
    return double(SvgBytes) * Size.width() * Size.height() <= MaxWorkHere;
}
// Pictures that nothing shows any more are kept up to so many in all (a
// fuzzer or a long session must not fill the memory with them).
constexpr size_t MaxUnshownPictures = 1024;

enum class TState { Waiting, Converting, Ready, Failed };

std::atomic<TMetafileWorkStandIn> g_workStandIn = nullptr;

void WorkStandIn(TMetafileWork Step) {
    if (const TMetafileWorkStandIn standIn = g_workStandIn.load()) standIn(Step);
}

} // namespace

class TMetafileRendering::TData {
public:
    QByteArray Data;
    bool Enhanced = false;
    QSize Natural;

    std::mutex Lock;
    std::condition_variable Done;
    TState State = TState::Waiting;
    QByteArray Svg;
    QRectF Place;
    // Widgets that showed the frame and wait for the picture.
    std::vector<QPointer<QWidget>> Viewers;
    // Device sizes being rendered on a thread of the store.
    std::vector<QSize> Rendering;
    // Device sizes the picture was too heavy to render at; larger ones are
    // no lighter.
    std::vector<QSize> TooHeavy;

    // Renders one size at a time; rendered sizes are kept (see the store).
    std::mutex RenderLock;
};

namespace {

// An SVG document whose root states a size: one without would be measured
// by its contents, its text laid out in fonts on this thread.
bool HasSize(const QByteArray& Svg) {
    QXmlStreamReader xml(Svg);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("svg")) return false;
    bool w = false, h = false;
    const double width = xml.attributes().value(QLatin1String("width")).toDouble(&w);
    const double height = xml.attributes().value(QLatin1String("height")).toDouble(&h);
    return w && h && width > 0 && height > 0;
}

struct TKeptImage {
    TMetafileRendering::TData* Owner;
    QSize Size;
    QImage Image;
};

} // namespace

// The pictures of the process, and the threads that convert them.
class TMetafileStore {
public:
    static TMetafileStore& Instance() {
        static TMetafileStore store;
        return store;
    }

    ~TMetafileStore() { Stop(); }

    std::shared_ptr<TMetafileRendering> Find(const QByteArray& Data, bool Enhanced, QSize Natural) {
        QByteArray key = QCryptographicHash::hash(Data, QCryptographicHash::Sha256);
        key += QByteArray::number(Data.size()) + (Enhanced ? 'E' : 'W');
        std::lock_guard lock(m_lock);
        if (m_pictures.size() >= MaxUnshownPictures && !m_pictures.contains(key.toStdString())) Sweep();
        std::shared_ptr<TMetafileRendering>& r = m_pictures[key.toStdString()];
        if (!r) {
            auto d = std::make_unique<TMetafileRendering::TData>();
            d->Data = Data;
            d->Enhanced = Enhanced;
            d->Natural = Natural;
            r.reset(new TMetafileRendering(std::move(d)));
            if (!m_stopped) {
                std::weak_ptr<TMetafileRendering> weak = r;
                Start([this, weak] {
                    if (const auto p = weak.lock()) Convert(*p->d);
                });
            }
        }
        return r;
    }

    // Converts the picture here unless a thread does it already; then waits
    // for the conversion. A pool thread may take it up between the look and
    // the conversion here, so the wait comes after either way.
    void Wait(TMetafileRendering::TData& D) {
        Convert(D);
        std::unique_lock lock(D.Lock);
        D.Done.wait(lock, [&] { return D.State > TState::Converting; });
    }

    void Convert(TMetafileRendering::TData& D) {
        {
            std::lock_guard lock(D.Lock);
            if (D.State != TState::Waiting) return;
            D.State = TState::Converting;
        }
        TMetafileSvg svg;
        bool ok = false;
        // Whatever fails on the way (an allocation as well as a library)
        // fails this picture only: it draws as its frame, and whoever waits
        // for it goes on.
        try {
            ok = Converted(D, svg);
        } catch (...) {
            ok = false;
        }
        std::vector<QPointer<QWidget>> viewers;
        {
            std::lock_guard lock(D.Lock);
            D.State = ok ? TState::Ready : TState::Failed;
            D.Svg = ok ? svg.Svg : QByteArray();
            D.Place = svg.Place;
            D.Data.clear();
            viewers.swap(D.Viewers);
        }
        D.Done.notify_all();
        Repaint(std::move(viewers));
    }

    bool Converted(TMetafileRendering::TData& D, TMetafileSvg& Svg) {
        WorkStandIn(TMetafileWork::Converting);
        bool ok = !m_stopped && ConvertMetafile(D.Data, D.Enhanced, Svg) && HasSize(Svg.Svg);
        if (ok) {
            QSvgRenderer renderer;
            ok = renderer.load(Svg.Svg) && renderer.isValid() && !renderer.viewBoxF().isEmpty();
        }
        // For a screen that waits, the size the picture is mostly shown at is
        // ready with it; others render it as they draw it.
        bool shown = false;
        {
            std::lock_guard lock(D.Lock);
            shown = !D.Viewers.empty();
        }
        if (ok && shown && !D.Natural.isEmpty() &&
            qint64(D.Natural.width()) * D.Natural.height() <= MaxImagePixels)
            Render(D, Svg.Svg, Svg.Place, D.Natural);
        return ok;
    }

    // The picture at Size device pixels, rendered now when it is not kept;
    // null when it is too heavy to render at that size.
    QImage Image(TMetafileRendering::TData& D, QSize Size, bool Now) {
        if (QImage kept = Kept(D, Size); !kept.isNull() || !Now) return kept;
        QByteArray svg;
        QRectF place;
        {
            std::lock_guard lock(D.Lock);
            svg = D.Svg;
            place = D.Place;
        }
        return Render(D, svg, place, Size);
    }

    // Renders the size on a thread of the store and repaints the widget when
    // it is there, unless it is there within a moment; meanwhile the nearest
    // kept size stands in.
    QImage Later(TMetafileRendering::TData& D, QSize Size, QWidget* Viewer,
                 const std::shared_ptr<TMetafileRendering>& Owner) {
        // Known to be too heavy: nothing to wait for, nor to paint again.
        if (TooHeavy(D, Size)) return {};
        bool start = false;
        {
            std::lock_guard lock(D.Lock);
            if (std::find(D.Viewers.begin(), D.Viewers.end(), Viewer) == D.Viewers.end())
                D.Viewers.emplace_back(Viewer);
            if (std::find(D.Rendering.begin(), D.Rendering.end(), Size) == D.Rendering.end()) {
                D.Rendering.push_back(Size);
                start = true;
            }
        }
        start = start && !m_stopped;
        if (start) {
            std::weak_ptr<TMetafileRendering> weak = Owner;
            Start([this, weak, Size] {
                const auto p = weak.lock();
                if (!p) return;
                Image(*p->d, Size, true);
                std::vector<QPointer<QWidget>> viewers;
                {
                    std::lock_guard lock(p->d->Lock);
                    std::erase(p->d->Rendering, Size);
                    viewers.swap(p->d->Viewers);
                }
                p->d->Done.notify_all();
                Repaint(std::move(viewers));
            });
        }
        if (start) {
            std::unique_lock lock(D.Lock);
            D.Done.wait_for(lock, ScreenWait, [&] {
                return std::find(D.Rendering.begin(), D.Rendering.end(), Size) == D.Rendering.end();
            });
        }
        if (QImage kept = Kept(D, Size); !kept.isNull()) return kept;
        return TooHeavy(D, Size) ? QImage() : Nearest(D, Size);
    }

    // Whether the picture was too heavy to render at a size no larger.
    bool TooHeavy(TMetafileRendering::TData& D, QSize Size) {
        std::lock_guard lock(D.Lock);
        return std::any_of(D.TooHeavy.begin(), D.TooHeavy.end(),
                           [&](QSize s) { return Size.width() >= s.width() && Size.height() >= s.height(); });
    }

    // Drops the finished pictures that nothing shows any more (with the
    // store's lock held).
    void Sweep() {
        for (auto it = m_pictures.begin(); it != m_pictures.end();) {
            TMetafileRendering::TData* d = it->second->d.get();
            bool finished = false;
            {
                std::lock_guard lock(d->Lock);
                finished = d->State >= TState::Ready && d->Rendering.empty();
            }
            if (it->second.use_count() == 1 && finished) {
                Forget(d);
                it = m_pictures.erase(it);
            } else {
                ++it;
            }
        }
    }

    void Forget(TMetafileRendering::TData* D) {
        std::lock_guard lock(m_keptLock);
        for (auto it = m_kept.begin(); it != m_kept.end();)
            if (it->Owner == D) {
                m_keptBytes -= it->Image.sizeInBytes();
                it = m_kept.erase(it);
            } else {
                ++it;
            }
    }

    void WaitForWork() { m_pool.waitForDone(); }

    void Stop() {
        m_stopped = true;
        m_pool.clear();
        StopMetafileHelpers();
        m_pool.waitForDone();
    }

private:
    TMetafileStore() {
        // The helpers wait for a CPU, not for the program.
        m_pool.setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 2, 4));
        m_pool.setExpiryTimeout(10000);
        // Pictures render with Qt's fonts: the threads end before the application.
        if (QCoreApplication::instance()) qAddPostRoutine(StopMetafileConversions);
    }

    // Starts work on a thread of the store. What the work leaves unhandled
    // ends there: an exception that left a pool thread would end the program.
    template <class F> void Start(F&& Work) {
        m_pool.start([work = std::forward<F>(Work)] {
            try {
                work();
            } catch (...) {
            }
        });
    }

    QImage Render(TMetafileRendering::TData& D, const QByteArray& Svg, const QRectF& Place, QSize Size) {
        std::lock_guard render(D.RenderLock);
        if (QImage kept = Kept(D, Size); !kept.isNull()) return kept;
        if (TooHeavy(D, Size)) return {};
        QImage image;
        bool drawn = false;
        // A drawing that fails (an allocation too) is a picture too heavy
        // to draw at this size.
        try {
            WorkStandIn(TMetafileWork::Rendering);
            if (RendersHere(Svg.size(), Size)) {
                image = QImage(Size, QImage::Format_ARGB32_Premultiplied);
                if (image.isNull()) return image;
                RasterizeMetafileSvg(Svg, Place, image);
                drawn = true;
            } else {
                drawn = RenderMetafileSvg(Svg, Place, Size, image);
            }
            if (drawn) Keep(D, Size, image);
        } catch (...) {
            drawn = false;
        }
        if (!drawn) {
            // Not drawn half: the frame stands in its place at this size.
            if (!m_stopped) {
                std::lock_guard lock(D.Lock);
                D.TooHeavy.push_back(Size);
            }
            return {};
        }
        return image;
    }

    QImage Kept(TMetafileRendering::TData& D, QSize Size) {
        std::lock_guard lock(m_keptLock);
        for (auto it = m_kept.begin(); it != m_kept.end(); ++it)
            if (it->Owner == &D && it->Size == Size) {
                // Most recently used at the front.
                m_kept.splice(m_kept.begin(), m_kept, it);
                return it->Image;
            }
        return {};
    }

    QImage Nearest(TMetafileRendering::TData& D, QSize Size) {
        std::lock_guard lock(m_keptLock);
        const TKeptImage* best = nullptr;
        for (const TKeptImage& k : m_kept)
            if (k.Owner == &D && (!best || std::abs(k.Size.width() - Size.width()) <
                                               std::abs(best->Size.width() - Size.width())))
                best = &k;
        return best ? best->Image : QImage();
    }

    void Keep(TMetafileRendering::TData& D, QSize Size, const QImage& Image) {
        std::lock_guard lock(m_keptLock);
        m_kept.push_front({&D, Size, Image});
        m_keptBytes += Image.sizeInBytes();
        while (m_keptBytes > MaxKeptBytes && m_kept.size() > 1) {
            m_keptBytes -= m_kept.back().Image.sizeInBytes();
            m_kept.pop_back();
        }
    }

    static void Repaint(std::vector<QPointer<QWidget>> Viewers) {
        QCoreApplication* app = QCoreApplication::instance();
        if (Viewers.empty() || !app) return;
        QMetaObject::invokeMethod(
            app,
            [viewers = std::move(Viewers)] {
                for (const QPointer<QWidget>& w : viewers)
                    if (w) w->update();
            },
            Qt::QueuedConnection);
    }

    std::mutex m_lock;
    std::unordered_map<std::string, std::shared_ptr<TMetafileRendering>> m_pictures;
    std::mutex m_keptLock;
    std::list<TKeptImage> m_kept;
    qint64 m_keptBytes = 0;
    std::atomic<bool> m_stopped = false;
    QThreadPool m_pool;
};

TScreenPaintScope::TScreenPaintScope(QWidget* Widget) : m_previous(t_screenWidget) {
    t_screenWidget = Widget;
}

TScreenPaintScope::~TScreenPaintScope() {
    t_screenWidget = m_previous;
}

QWidget* TScreenPaintScope::Current() {
    return t_screenWidget;
}

TMetafileRendering::TMetafileRendering(std::unique_ptr<TData> D) : d(std::move(D)) {}

TMetafileRendering::~TMetafileRendering() = default;

std::shared_ptr<TMetafileRendering> TMetafileRendering::Of(const QByteArray& Data, bool Enhanced, int Width,
                                                           int Height) {
    return TMetafileStore::Instance().Find(Data, Enhanced, QSize(Width, Height));
}

bool TMetafileRendering::HasPicture() {
    TMetafileStore::Instance().Wait(*d);
    std::lock_guard lock(d->Lock);
    return d->State == TState::Ready;
}

bool TMetafileRendering::Draw(QPainter& Painter, const QRectF& Target) {
    TMetafileStore& store = TMetafileStore::Instance();
    QWidget* screen = TScreenPaintScope::Current();
    {
        std::unique_lock lock(d->Lock);
        if (d->State < TState::Ready && screen) {
            if (std::find(d->Viewers.begin(), d->Viewers.end(), screen) == d->Viewers.end())
                d->Viewers.emplace_back(screen);
            return false;
        }
    }
    if (!HasPicture()) return false;
    const QRectF target = Target.normalized();
    if (target.isEmpty()) return true;
    const QTransform world = Painter.combinedTransform();
    // Turned or sheared, the picture is rendered at the size it covers on
    // the device and drawn through the transformation.
    const bool turned = world.type() > QTransform::TxScale;
    // The picture in device pixels.
    const QRectF device = world.mapRect(target);
    const QRect pixels(QPoint(qRound(device.left()), qRound(device.top())),
                       QPoint(qRound(device.right()) - 1, qRound(device.bottom()) - 1));
    QSize size = pixels.size();
    if (qint64(size.width()) * size.height() > MaxImagePixels)
        size = size.scaled(QSize(4096, 4096), Qt::KeepAspectRatio).boundedTo(pixels.size());
    QImage image;
    if (!size.isEmpty()) {
        // The screen renders a light drawing at once and leaves a heavy one
        // to a thread of the store.
        bool here = true;
        if (screen) {
            std::lock_guard lock(d->Lock);
            here = RendersHere(d->Svg.size(), size);
        }
        image = store.Image(*d, size, here);
        if (image.isNull() && !here) image = store.Later(*d, size, screen, shared_from_this());
        if (image.isNull()) return false;
    }
    Painter.save();
    Painter.setClipRect(target, Painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (turned) {
        Painter.drawImage(target, image);
    } else if (!image.isNull()) {
        Painter.resetTransform();
        if (image.size() == pixels.size())
            Painter.drawImage(pixels.topLeft(), image);
        else
            Painter.drawImage(QRectF(pixels), image);
    }
    Painter.restore();
    return true;
}

void StopMetafileConversions() {
    TMetafileStore::Instance().Stop();
}

void WaitForMetafileWork() {
    TMetafileStore::Instance().WaitForWork();
}

void SetMetafileWorkStandIn(TMetafileWorkStandIn StandIn) {
    g_workStandIn = StandIn;
}
