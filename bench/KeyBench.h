#pragma once
// Keys typed into an editor, measured two ways beside Qt's QTextEdit:
// - events: key press and release sent to the shown widget, then the event
//   loop run until the repaint is done (offscreen platform); what a pupil's
//   key costs. "px/key" counts the pixels painted per key.
// - direct: the editing call itself, then the whole editor painted into an
//   image.
// The text is put back after every measured key sequence (untimed), so that
// every key meets the same text.
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/Forms.h"
#include "platform/Keys.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"
#include "tests/support/PaintedArea.h"

namespace {

// The measured keys pressed in this run; bench/callgrind_keys reads them.
int64_t g_measuredKeys = 0;

// One key: a typed character, or a key without one.
struct TKey {
    int QtKey;
    char16_t Ch = 0;
};

inline TKey Char(char16_t c) {
    return TKey{QtKeyOfChar(c), c};
}
const TKey kEnter{Qt::Key_Return}, kBack{Qt::Key_Backspace}, kDelete{Qt::Key_Delete}, kLeft{Qt::Key_Left};

// An edit measured: the caret's offset (1-based, before that character) in
// the text edited, the keys timed, and the keys that put the text back. Wide:
// the text holds a word wider than the window (or the cell), and the caret
// stands inside it.
struct TKeyCase {
    const char* Name;
    int Offs;
    std::vector<TKey> Keys;
    std::vector<TKey> Restore;
    bool Wide = false;
};

// The cases on a text with a word of four letters or more at offset WordOffs
// (its third and fourth letters given, for putting them back), a blank at
// BlankOffs, and, in the wide document, a place WideOffs inside the wide word.
inline std::vector<TKeyCase> KeyCases(int WordOffs, char16_t Third, char16_t Fourth, int BlankOffs,
                                      int WideOffs) {
    return {
        {"TypeInWord", WordOffs + 3, {Char(u'x')}, {kBack}},
        {"TypeWordAndBlank",
         WordOffs + 3,
         {Char(u'H'), Char(u'a'), Char(u'u'), Char(u's'), Char(u' ')},
         {kBack, kBack, kBack, kBack, kBack}},
        {"TypeInWideWord", WideOffs, {Char(u'w')}, {kBack}, true},
        {"Enter", BlankOffs, {kEnter}, {kBack}},
        {"Backspace", WordOffs + 3, {kBack}, {Char(Third)}},
        {"Delete", WordOffs + 3, {kDelete}, {Char(Fourth), kLeft}},
    };
}

// Frees what Free holds while the application still exists, and tells
// bench/callgrind_keys how many keys were measured.
template <class F> void AtApplicationEnd(F&& Free) {
    static std::function<void()> free;
    free = std::forward<F>(Free);
    qAddPostRoutine([] {
        free();
        if (qEnvironmentVariableIsSet("PRAVOLIN_COUNT_KEYS"))
            fprintf(stderr, "measured keys: %lld\n", static_cast<long long>(g_measuredKeys));
    });
}

inline void Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// What an editor offers the benchmark.
class TKeyTarget {
public:
    virtual ~TKeyTarget() = default;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    // The caret at the case's place, shown.
    virtual void SetCaret(int Offs, bool Wide) = 0;
    virtual void DirectKey(const TKey& K) = 0;
    // Everything the editor shows painted into images.
    virtual void PaintAll() = 0;
    virtual QWidget* KeyTarget() = 0;
    virtual std::vector<QWidget*> PaintedWidgets() = 0;

    void EventKey(const TKey& K) {
        const QString text = K.Ch                           ? QString(QChar(K.Ch))
                             : K.QtKey == Qt::Key_Return    ? QStringLiteral("\r")
                             : K.QtKey == Qt::Key_Backspace ? QStringLiteral("\b")
                                                            : QString();
        QKeyEvent press(QEvent::KeyPress, K.QtKey, Qt::NoModifier, text);
        QApplication::sendEvent(KeyTarget(), &press);
        QKeyEvent release(QEvent::KeyRelease, K.QtKey, Qt::NoModifier, text);
        QApplication::sendEvent(KeyTarget(), &release);
        QApplication::processEvents();
    }
};

// Shows T and hides the target shown before it: of all the targets a
// benchmark program keeps, only the one measured is shown.
inline TKeyTarget* ShowAlone(TKeyTarget* T) {
    static TKeyTarget* shown = nullptr;
    if (shown != T) {
        if (shown) shown->Deactivate();
        shown = T;
        shown->Activate();
    }
    return T;
}

// The target of Key, made by Make when first asked for and kept for the
// whole run (targets are costly to make: documents of thousands of items).
template <class Key, class Make> TKeyTarget* KeptTarget(const Key& K, Make&& M) {
    static std::map<Key, std::unique_ptr<TKeyTarget>> targets;
    if (targets.empty()) AtApplicationEnd([] { targets.clear(); });
    std::unique_ptr<TKeyTarget>& t = targets[K];
    if (!t) t = M();
    return t.get();
}

// The direct calls of our editor for a key.
inline void OurDirectKey(TCustomRichPadEdit& E, const TKey& K) {
    if (K.Ch) {
        E.SendChar(K.Ch);
        return;
    }
    switch (K.QtKey) {
    case Qt::Key_Return:
        E.SendKey(VK_RETURN);
        break;
    case Qt::Key_Backspace:
        E.SendKey(VK_BACK);
        break;
    case Qt::Key_Delete:
        E.SendKey(VK_DELETE);
        break;
    case Qt::Key_Left:
        E.SendKey(VK_LEFT);
        break;
    default:
        break;
    }
}

// The direct calls of Qt's editor for a key.
inline void QtDirectKey(QTextCursor& C, const TKey& K) {
    if (K.Ch) {
        C.insertText(QString(QChar(K.Ch)));
        return;
    }
    switch (K.QtKey) {
    case Qt::Key_Return:
        C.insertBlock();
        break;
    case Qt::Key_Backspace:
        C.deletePreviousChar();
        break;
    case Qt::Key_Delete:
        C.deleteChar();
        break;
    case Qt::Key_Left:
        C.movePosition(QTextCursor::Left);
        break;
    default:
        break;
    }
}

// One key with its repaint. Kept out of line so that callgrind can count the
// instructions of the measured keys alone (bench/callgrind_keys).
inline void PressKey(TKeyTarget& T, bool Events, const TKey& K) {
    if (Events) {
        T.EventKey(K);
    } else {
        T.DirectKey(K);
        T.PaintAll();
    }
}

[[gnu::noinline]] void PressMeasuredKey(TKeyTarget& T, bool Events, const TKey& K) {
    ++g_measuredKeys;
    PressKey(T, Events, K);
}

// Our editor control, 700 x 500 in a form of its own, as a target: the
// document and the place of the caret are the derived class's. Style is
// given its text styles before the editor takes it.
class TOurEditorTarget : public TKeyTarget {
public:
    static constexpr int kViewWidth = 700, kViewHeight = 500;

    explicit TOurEditorTarget(const std::vector<const char*>& FontNames = {}) {
        if (!FontNames.empty()) {
            Style.TextStyles().Clear();
            for (const char* family : FontNames) {
                TFontInfo* f = Style.TextStyles().Add();
                f->FontName = family;
                f->Size = 10;
            }
        }
        Form->SetBounds(0, 0, kViewWidth + 60, kViewHeight + 60);
        Edit = new TRichPadEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(0, 0, kViewWidth, kViewHeight);
    }
    ~TOurEditorTarget() override {
        delete Edit;
        Form.reset();
    }
    void Activate() override {
        Form->Show();
        QApplication::setActiveWindow(Form->Widget());
        Edit->SetFocus();
        Settle();
    }
    void Deactivate() override { Form->Hide(); }
    void DirectKey(const TKey& K) override { OurDirectKey(*Edit, K); }
    void PaintAll() override { Edit->PaintTo(Screen); }
    QWidget* KeyTarget() override { return Edit->Widget(); }
    std::vector<QWidget*> PaintedWidgets() override { return {Edit->ClientWidget()}; }

    TRPStyle Style;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TRichPadEdit* Edit;
    QImage Screen{kViewWidth, kViewHeight, QImage::Format_RGB32};
};

// Qt's editor as a target: the place of the caret is the derived class's.
class TQtKeyTarget : public TKeyTarget {
public:
    TQtKeyTarget(int Width, int Height) : Screen(Width, Height, QImage::Format_RGB32) {
        Edit.resize(Width, Height);
    }
    void Activate() override {
        Edit.show();
        QApplication::setActiveWindow(&Edit);
        Edit.setFocus();
        Settle();
    }
    void Deactivate() override { Edit.hide(); }
    void DirectKey(const TKey& K) override { QtDirectKey(Cursor, K); }
    void PaintAll() override { Edit.viewport()->render(&Screen); }
    QWidget* KeyTarget() override { return &Edit; }
    std::vector<QWidget*> PaintedWidgets() override { return {Edit.viewport()}; }

    QTextEdit Edit;
    QTextCursor Cursor;
    QImage Screen;

protected:
    // The caret Offs - 1 characters after Start, shown.
    void PlaceCaret(const QTextCursor& Start, int Offs) {
        Cursor = Start;
        Cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, Offs - 1);
        Edit.setTextCursor(Cursor);
        Edit.ensureCursorVisible();
        Settle();
    }
};

inline void RunKeyCase(benchmark::State& state, TKeyTarget& T, bool Events, const TKeyCase& C) {
    T.SetCaret(C.Offs, C.Wide);
    // Once untimed, so that nothing done only for a first key is measured.
    for (const TKey& k : C.Keys)
        PressKey(T, Events, k);
    for (const TKey& k : C.Restore)
        PressKey(T, Events, k);
    TPaintedArea counter(T.PaintedWidgets());
    int64_t painted = 0;
    for (auto _ : state) {
        counter.Pixels = 0;
        for (const TKey& k : C.Keys)
            PressMeasuredKey(T, Events, k);
        painted += counter.Pixels;
        state.PauseTiming();
        for (const TKey& k : C.Restore)
            PressKey(T, Events, k);
        state.ResumeTiming();
    }
    const double keys = static_cast<double>(state.iterations()) * static_cast<double>(C.Keys.size());
    state.counters["per key"] =
        benchmark::Counter(keys, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (Events) state.counters["px/key"] = static_cast<double>(painted) / std::max(1.0, keys);
}

} // namespace
