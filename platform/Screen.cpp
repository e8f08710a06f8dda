// The screen: its size and work area, the forms showing, and cursors.
#include "platform/Forms.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <map>

// ---- TScreen ---------------------------------------------------------------------

TScreen* Screen() {
    static TScreen screen;
    return &screen;
}

int TScreen::Width() const {
    if (m_sizeSet) return m_width;
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int TScreen::Height() const {
    if (m_sizeSet) return m_height;
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

void TScreen::SetSize(int width, int height) {
    m_width = width;
    m_height = height;
    m_sizeSet = true;
}

TRect TScreen::WorkAreaRect() const {
    if (m_workSet) return m_work;
    if (!m_sizeSet) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            QRect r = s->availableGeometry();
            return Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
        }
    }
    return Rect(0, 0, Width(), Height());
}

void TScreen::SetWorkArea(const TRect& r) {
    m_work = r;
    m_workSet = true;
}

void TScreen::Reset() {
    m_sizeSet = false;
    m_workSet = false;
}

TForm* TScreen::ActiveForm() const {
    return m_showing.empty() ? nullptr : m_showing.back();
}

void TScreen::SetCursor(TCursor c) {
    if (c == m_cursor) return;
    if (m_cursor != crDefault) QApplication::restoreOverrideCursor();
    m_cursor = c;
    if (c != crDefault) QApplication::setOverrideCursor(QtCursor(c));
}

namespace {

std::map<TCursor, QCursor>& RegisteredCursors() {
    static std::map<TCursor, QCursor> cursors;
    return cursors;
}

} // namespace

void TScreen::RegisterCursor(TCursor c, const QCursor& cursor) {
    RegisteredCursors()[c] = cursor;
}

bool TScreen::HasCursor(TCursor c) const {
    return RegisteredCursors().count(c) != 0;
}

void TScreen::FormShown(TForm* f) {
    m_showing.erase(std::remove(m_showing.begin(), m_showing.end(), f), m_showing.end());
    m_showing.push_back(f);
}

void TScreen::FormHidden(TForm* f) {
    m_showing.erase(std::remove(m_showing.begin(), m_showing.end(), f), m_showing.end());
}

int QtCursorShape(TCursor c) {
    switch (c) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
    case crJump:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

namespace {

// A cursor Width pixels wide from rows of 'X' (black), '.' (white) and
// blanks, mirrored left to right or turned a quarter (rows become columns)
// when asked.
QCursor PatternCursor(const char* const* Rows, int Count, int Width, bool Mirror, bool Transpose,
                      QPoint HotSpot) {
    const int w = Width;
    QImage img(Transpose ? Count : w, Transpose ? w : Count, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < Count; ++y)
        for (int x = 0; x < w && Rows[y][x]; ++x) {
            const char k = Rows[y][x];
            if (k != 'X' && k != '.') continue;
            const int px = Transpose ? y : (Mirror ? w - 1 - x : x), py = Transpose ? x : y;
            img.setPixel(px, py, k == 'X' ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    return QCursor(QPixmap::fromImage(img), HotSpot.x(), HotSpot.y());
}

} // namespace

QCursor QtCursor(TCursor c) {
    if (const auto it = RegisteredCursors().find(c); it != RegisteredCursors().end()) return it->second;
    if (c == crSelectCol || c == crSelectRow) {
        // A short thick arrow pointing down into the column, or (turned)
        // right into the row; the hot spot is its tip.
        static const char* const arrow[] = {
            "  .....  ", "  .XXX.  ", "  .XXX.  ", "  .XXX.  ", "  .XXX.  ", "  .XXX.  ",
            "...XXX...", ".XXXXXXX.", " .XXXXX. ", "  .XXX.  ", "   .X.   ", "    .    ",
        };
        const bool row = c == crSelectRow;
        return PatternCursor(arrow, 12, 9, false, row, row ? QPoint(10, 4) : QPoint(4, 10));
    }
    if (c != crFlipArrow) return QCursor(static_cast<Qt::CursorShape>(QtCursorShape(c)));
    // The usual arrow (outline X, filling .), mirrored: its tip at the top right.
    static const char* const rows[] = {
        "X",         "XX",         "X.X",        "X..X",    "X...X",    "X....X",   "X.....X",   "X......X",
        "X.......X", "X........X", "X.....XXXX", "X..X..X", "X.X X..X", "XX  X..X", "X    X..X", "     XXX",
    };
    return PatternCursor(rows, 16, 12, true, false, QPoint(11, 0));
}
