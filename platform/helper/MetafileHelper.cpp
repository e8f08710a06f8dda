// pravolin-metafile: converts one metafile into SVG with the system's
// libraries (libwmf for Windows metafiles, libemf2svg for enhanced ones), or
// renders such an SVG into pixels with Qt.
//
// The program starts it for every picture it has not converted yet, a fresh
// process each time, so that a library that crashes, hangs or runs wild on
// a damaged picture costs that picture alone; and for every drawing of a
// converted picture too heavy to render in the program, so that its work is
// bounded as the conversion's is. The program has already checked and
// bounded the records and limits the helper's CPU time; the helper limits
// its own memory and dies with the program.
//
//   pravolin-metafile emf PARENT              < enhanced metafile
//   pravolin-metafile wmf PARENT W H ASPECT N < two probes (N bytes each), then playback
//   pravolin-metafile svg PARENT W H X Y PW PH [FONT...] < SVG
//
// The SVG (or, for svg, W x H premultiplied ARGB pixels row by row, with the
// SVG's viewport at X, Y, PW, PH in fractions of the size and the font files
// the program added to its own) goes to standard output followed by the
// byte 1; anything else (no end byte, an exit code other than 0) is a
// failure.
#include "platform/MetafileRaster.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <emf2svg.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// What a conversion may add to the memory the helper starts with (a
// sanitizer's reservations count there), and write.
constexpr unsigned long long MaxMemoryGrowth = 1ull << 30;
constexpr size_t MaxInput = size_t(72) << 20;
constexpr size_t MaxSvgBytes = size_t(64) << 20;

bool WriteAll(int Fd, const char* Data, size_t Length) {
    while (Length > 0) {
        const ssize_t n = write(Fd, Data, Length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        Data += n;
        Length -= static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int Fd, std::string& Out) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(Fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        Out.append(buffer, static_cast<size_t>(n));
        if (Out.size() > MaxInput) return false;
    }
}

void LimitMemory() {
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        unsigned long long pages = 0;
        if (std::fscanf(f, "%llu", &pages) == 1) {
            const unsigned long long limit =
                pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE)) + MaxMemoryGrowth;
            const rlimit as{limit, limit};
            setrlimit(RLIMIT_AS, &as);
        }
        std::fclose(f);
    }
    const rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
}

// The SVG output layer of libwmf on a metafile held in memory.
class TWmfSession {
public:
    explicit TWmfSession(std::string Metafile) : m_data(std::move(Metafile)) {
        wmfAPI_Options options;
        std::memset(&options, 0, sizeof options);
        options.function = wmf_svg_function;
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&m_api, flags, &options) != wmf_E_None) {
            if (m_api) wmf_api_destroy(m_api);
            m_api = nullptr;
            return;
        }
        if (wmf_mem_open(m_api, reinterpret_cast<unsigned char*>(m_data.data()),
                         static_cast<long>(m_data.size())) != wmf_E_None) {
            wmf_api_destroy(m_api);
            m_api = nullptr;
        }
    }
    ~TWmfSession() {
        if (m_api) wmf_api_destroy(m_api);
    }
    TWmfSession(const TWmfSession&) = delete;
    TWmfSession& operator=(const TWmfSession&) = delete;

    bool Scan(wmfD_Rect& Box) {
        return m_api && wmf_scan(m_api, 0, &Box) == wmf_E_None && std::isfinite(Box.TL.x) &&
               std::isfinite(Box.TL.y) && std::isfinite(Box.BR.x) && std::isfinite(Box.BR.y) &&
               Box.BR.x > Box.TL.x && Box.BR.y > Box.TL.y;
    }

    // Plays the metafile with Box mapped onto an SVG of Width x Height.
    bool Play(wmfD_Rect Box, unsigned Width, unsigned Height, std::string& Svg) {
        static char description[] = "";
        wmf_svg_t* dev = WMF_SVG_GetData(m_api);
        dev->out = wmf_stream_create(m_api, nullptr);
        if (!dev->out) return false;
        dev->Description = description;
        dev->bbox = Box;
        dev->width = Width;
        dev->height = Height;
        dev->flags |= WMF_SVG_INLINE_IMAGES;
        const bool ok = wmf_play(m_api, 0, &Box) == wmf_E_None;
        char* buffer = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(m_api, dev->out, &buffer, &length);
        dev->out = nullptr;
        // The buffer belongs to the session, which frees it.
        if (ok && buffer && length > 0 && length <= MaxSvgBytes) Svg.assign(buffer, length);
        return ok && !Svg.empty();
    }

private:
    std::string m_data;
    wmfAPI* m_api = nullptr;
};

// The library's work for one Windows metafile: where the frame (Width x
// Height logical units) lies, then the picture with the frame as the SVG's
// viewport.
bool RunLibwmf(const std::string& Probe, const std::string& HalfProbe, const std::string& Playback, int Width,
               int Height, double Aspect, std::string& Svg) {
    wmfD_Rect frame, half;
    {
        TWmfSession probe(Probe);
        if (!probe.Scan(frame)) return false;
    }
    {
        TWmfSession probe(HalfProbe);
        if (!probe.Scan(half)) return false;
    }
    // The bounds reach beyond a rectangle by the same margin on every side
    // (half a pen's width at the larger of the two scales), whatever its
    // size: what the half frame lacks of the frame's bounds gives the scale
    // of each axis, and with it the margin.
    const int restX = Width - Width / 2, restY = Height - Height / 2;
    if (restX <= 0 || restY <= 0) return false;
    const double fw = frame.BR.x - frame.TL.x, fh = frame.BR.y - frame.TL.y;
    double mx = (fw - Width * (fw - (half.BR.x - half.TL.x)) / restX) / 2;
    double my = (fh - Height * (fh - (half.BR.y - half.TL.y)) / restY) / 2;
    if (!(mx >= 0 && 2 * mx < fw)) mx = 0;
    if (!(my >= 0 && 2 * my < fh)) my = 0;
    frame.TL.x += static_cast<float>(mx);
    frame.BR.x -= static_cast<float>(mx);
    frame.TL.y += static_cast<float>(my);
    frame.BR.y -= static_cast<float>(my);
    TWmfSession session(Playback);
    wmfD_Rect content;
    if (!session.Scan(content)) return false;
    // The SVG takes the picture's proportions: the library sizes text by the
    // height it maps to, and the glyphs then keep their own proportions.
    const double w = Aspect >= 1 ? 1000 : 1000 * Aspect, h = Aspect >= 1 ? 1000 / Aspect : 1000;
    return session.Play(frame, static_cast<unsigned>(std::max(1.0, std::round(w))),
                        static_cast<unsigned>(std::max(1.0, std::round(h))), Svg);
}

bool RunEmf2svg(std::string Data, std::string& Svg) {
    static char nameSpace[] = "";
    generatorOptions options;
    std::memset(&options, 0, sizeof options);
    options.nameSpace = nameSpace;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t length = 0;
    const int ok = emf2svg(Data.data(), Data.size(), &out, &length, &options);
    if (ok && out && length > 0 && length <= MaxSvgBytes) Svg.assign(out, length);
    std::free(out);
    return ok && !Svg.empty();
}

bool Number(const char* Text, double& Out) {
    char* end = nullptr;
    errno = 0;
    Out = std::strtod(Text, &end);
    return errno == 0 && end != Text && *end == '\0' && std::isfinite(Out);
}

// The largest picture the program asks for (16 M pixels).
constexpr double MaxPixels = 16 << 20;

// Renders the SVG on standard input as the program would, with Qt on a
// screen of its own that shows nothing.
int Render(int Argc, char** Argv, int Out) {
    double v[6];
    for (int i = 0; i < 6; ++i)
        if (!Number(Argv[3 + i], v[i])) return 1;
    const double w = v[0], h = v[1];
    if (w < 1 || h < 1 || w > 65536 || h > 65536 || w * h > MaxPixels) return 1;
    std::string input;
    if (!ReadAll(STDIN_FILENO, input)) return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    QGuiApplication app(argc, Argv);
    for (int i = 9; i < Argc; ++i)
        QFontDatabase::addApplicationFont(QString::fromLocal8Bit(Argv[i]));
    QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return 1;
    RasterizeMetafileSvg(QByteArray::fromRawData(input.data(), static_cast<qsizetype>(input.size())),
                         QRectF(v[2], v[3], v[4], v[5]), image);
    for (int y = 0; y < image.height(); ++y)
        if (!WriteAll(Out, reinterpret_cast<const char*>(image.constScanLine(y)),
                      static_cast<size_t>(image.width()) * 4))
            return 1;
    return WriteAll(Out, "\1", 1) ? 0 : 1;
}

int Convert(int Argc, char** Argv, int Out) {
    const std::string kind = Argv[1];
    if (kind == "svg") return Argc >= 9 ? Render(Argc, Argv, Out) : 1;
    std::string input, svg;
    if (!ReadAll(STDIN_FILENO, input)) return 1;
    if (kind == "emf" && Argc == 3) {
        if (!RunEmf2svg(std::move(input), svg)) return 1;
    } else if (kind == "wmf" && Argc == 7) {
        double w = 0, h = 0, aspect = 0, probe = 0;
        if (!Number(Argv[3], w) || !Number(Argv[4], h) || !Number(Argv[5], aspect) ||
            !Number(Argv[6], probe) || w < 0 || h < 0 || w > 65536 || h > 65536 || !(aspect > 0) ||
            probe < 0 || 2 * probe > static_cast<double>(input.size()))
            return 1;
        const size_t n = static_cast<size_t>(probe);
        if (!RunLibwmf(input.substr(0, n), input.substr(n, n), input.substr(2 * n), static_cast<int>(w),
                       static_cast<int>(h), aspect, svg))
            return 1;
    } else {
        return 1;
    }
    // A result counts only when it arrives whole and says so at its end.
    return WriteAll(Out, svg.data(), svg.size()) && WriteAll(Out, "\1", 1) ? 0 : 1;
}

} // namespace

// libemf2svg shuts the font configuration down after every text whose font
// it looked up, and the next text loads it again; nothing here needs it shut
// down before the helper ends, so the call does nothing.
extern "C" void FcFini(void) {}

int main(int Argc, char** Argv) {
    if (Argc < 3) {
        std::fprintf(stderr, "usage: %s emf|wmf|svg PARENT ... < metafile or svg > svg or pixels\n", Argv[0]);
        return 2;
    }
    // A helper whose program has gone has no reader: it ends with it, also
    // when the program went before this line.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != static_cast<pid_t>(std::atol(Argv[2]))) _exit(1);
    LimitMemory();
    // The libraries' messages have no reader, and must not mix with the SVG.
    const int out = dup(STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (out < 0 || null < 0) _exit(1);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    close(null);
    // _exit: what the libraries leave allocated is not worth a leak report.
    _exit(Convert(Argc, Argv, out));
}
