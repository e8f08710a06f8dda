// Random editing of whole documents, as a person edits them: keys and clicks
// reach the focused window through Qt, the clipboard carries what is cut,
// copied and pasted (tables too), cell editors open under clicks, and posted
// work is drained between the operations, as at a person's pace. Nothing may
// fail on the way: an exception that reaches the platform shows as a message
// box, which the responder records. Then undoing everything gives back the
// document's first RPF bytes, and redoing everything the edited ones. After
// every operation, and every step of undoing and redoing everything, the
// view shows what a fresh view of the document shows (FreshLayout.h): the
// documents hold tables of every kind of width, merged and nested, and the
// editor's width changes now and then.
//
// Every seed runs in a process of its own (this test program again), so that
// a crash under the sanitizers is a finding like any other. CI runs a few
// seeds per document; scripts/random-editing runs many more, through
//   PRAVOLIN_EDIT_SEEDS, PRAVOLIN_EDIT_OPERATIONS, PRAVOLIN_EDIT_FIRST_SEED,
//   PRAVOLIN_EDIT_DOCUMENT (0 to 6: only that document).
// CTest runs the seeds in parts, through PRAVOLIN_EDIT_PART ("k/n": of the
// runs of every document and seed, counted document by document, the runs k,
// k + n, k + 2n, ...).
// A failing seed is printed with a shortened list of its operations, and
//   PRAVOLIN_EDIT_REPLAY="<document>:<operations>"
// replays such a list.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryFile>
#include <QWidget>

#include <chrono>
#include <functional>
#include <random>
#include <sstream>

#include "EditTestSupport.h"
#include "FreshLayout.h"
#include "TableTestDoc.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "shell/USeitenstil.h"
#include "support/Corpus.h"
#include "support/FormDriver.h"

namespace {

int EnvInt(const char* Name, int Default) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(Name, &ok);
    return ok && v >= 0 ? v : Default;
}

// One operation of a person: text typed, a key with its modifiers, a table
// pasted from the clipboard, or a click at a point of the editor.
struct TOp {
    enum TKind { Type, Key, Table, Click, Width, Close } Kind = Type;
    QString Text;    // Type
    uint16_t VK = 0; // Key
    bool Shift = false, Ctrl = false;
    int A = 0, B = 0; // Table: rows and columns; Click: x and y; Width: the editor's width
};

const struct {
    uint16_t VK;
    const char* Name;
} kKeyNames[] = {{VK_LEFT, "Left"},    {VK_RIGHT, "Right"}, {VK_UP, "Up"},      {VK_DOWN, "Down"},
                 {VK_HOME, "Home"},    {VK_END, "End"},     {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},
                 {VK_RETURN, "Enter"}, {VK_BACK, "Back"},   {VK_DELETE, "Del"}, {VK_TAB, "Tab"},
                 {'Z', "Z"},           {'C', "C"},          {'X', "X"},         {'V', "V"}};

// "Hello" as "t48.65.6C.6C.6F", Ctrl+Shift+Left as "CS+Left", a table of
// 2 x 3 cells as "T2x3", a click as "@120,45", the editor made 300 pixels
// wide as "W300", the open cell editors closed as "Close".
std::string Spell(const TOp& Op) {
    std::ostringstream s;
    switch (Op.Kind) {
    case TOp::Type:
        s << 't';
        for (int i = 0; i < Op.Text.size(); ++i)
            s << (i ? "." : "") << std::hex << std::uppercase << static_cast<unsigned>(Op.Text[i].unicode());
        break;
    case TOp::Key:
        if (Op.Ctrl || Op.Shift) s << (Op.Ctrl ? "C" : "") << (Op.Shift ? "S" : "") << '+';
        for (const auto& k : kKeyNames)
            if (k.VK == Op.VK) s << k.Name;
        break;
    case TOp::Table:
        s << 'T' << Op.A << 'x' << Op.B;
        break;
    case TOp::Click:
        s << '@' << Op.A << ',' << Op.B;
        break;
    case TOp::Width:
        s << 'W' << Op.A;
        break;
    case TOp::Close:
        s << "Close";
        break;
    }
    return s.str();
}

std::string Spell(const std::vector<TOp>& Ops) {
    std::string s;
    for (const TOp& op : Ops)
        s += (s.empty() ? "" : " ") + Spell(op);
    return s;
}

bool Parse(const QString& Word, TOp& Op) {
    Op = TOp();
    bool ok = true;
    if (Word.startsWith('t')) {
        Op.Kind = TOp::Type;
        for (const QString& code : Word.mid(1).split('.'))
            Op.Text += QChar(char16_t(code.toUInt(&ok, 16)));
        return ok && !Op.Text.isEmpty();
    }
    if (Word.size() > 1 && Word[0] == 'T' && Word[1].isDigit()) {
        Op.Kind = TOp::Table;
        const QStringList n = Word.mid(1).split('x');
        if (n.size() != 2) return false;
        Op.A = n[0].toInt(&ok);
        Op.B = ok ? n[1].toInt(&ok) : 0;
        return ok && Op.A > 0 && Op.B > 0;
    }
    if (Word == QLatin1String("Close")) {
        Op.Kind = TOp::Close;
        return true;
    }
    if (Word.size() > 1 && Word[0] == 'W' && Word[1].isDigit()) {
        Op.Kind = TOp::Width;
        Op.A = Word.mid(1).toInt(&ok);
        return ok && Op.A > 0;
    }
    if (Word.startsWith('@')) {
        Op.Kind = TOp::Click;
        const QStringList n = Word.mid(1).split(',');
        if (n.size() != 2) return false;
        Op.A = n[0].toInt(&ok);
        Op.B = ok ? n[1].toInt(&ok) : 0;
        return ok;
    }
    Op.Kind = TOp::Key;
    QString name = Word;
    if (const qsizetype plus = Word.indexOf('+'); plus >= 0) {
        Op.Ctrl = Word.left(plus).contains('C');
        Op.Shift = Word.left(plus).contains('S');
        name = Word.mid(plus + 1);
    }
    for (const auto& k : kKeyNames)
        if (name == QLatin1String(k.Name)) Op.VK = k.VK;
    return Op.VK != 0;
}

// A long text of plain paragraphs, short and long, some empty.
std::string LongPlainText() {
    static const char* const words[] = {"Zahl",  "Rechnung", "und",     "die", "Aufgabe", "schriftlich",
                                        "Summe", "Minuten",  "Gewicht", "ein", "Würfel",  "Spiegelachse",
                                        "Rest",  "Ergebnis", "geteilt", "mal", "plus",    "Zahlenstrahl"};
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 ";
    std::mt19937 rng(4711);
    for (int p = 0; p < 120; ++p) {
        const int n = p % 9 == 4 ? 0 : 1 + static_cast<int>(rng() % 60);
        for (int w = 0; w < n; ++w) {
            std::string word = words[rng() % std::size(words)];
            // The document is Windows-1252: ü as \'fc.
            for (size_t at; (at = word.find("ü")) != std::string::npos;)
                word.replace(at, 2, "\\'fc");
            rtf += (w ? " " : "") + word;
        }
        rtf += "\\par\n";
    }
    return rtf + "}";
}

// The editor as the log book has it, on a form of its own.
class TRandomEditor {
public:
    explicit TRandomEditor(int Document) : Style(MakeTableStyle()), Form(std::make_unique<TForm>(nullptr)) {
        Form->SetBounds(0, 0, 560, 420);
        Edit = new TRichPadEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(0, 0, 540, 400);
        Edit->SetStyle(Style.get());
        LogbuchEinstellen(*Edit);
        Edit->Clear();
        Loaded = Load(Document);
        Edit->Format();
        Edit->ClearUndo();
        ShowAndActivate(Form.get());
        Edit->SetFocus();
        ProcessEvents();
    }
    ~TRandomEditor() {
        Edit->DestroyCellEditor();
        ProcessEvents();
        delete Edit;
        Form.reset();
    }

    FixedMetricsScope Metrics;
    std::unique_ptr<TRPStyle> Style;
    std::unique_ptr<TForm> Form;
    TRichPadEdit* Edit = nullptr;
    bool Loaded = false;

private:
    bool Load(int Document) {
        if (Document == 2) return Edit->InsertRTFFromStream(LongPlainText());
        if (Document == 5) return LoadTableKinds();
        if (Document == 6) return LoadMixedSizes();
        const QString name = Document == 0   ? QStringLiteral("rtf/rtfpipe/phprtflite/image_from_strings.rtf")
                             : Document == 1 ? QStringLiteral("rtf/rtfpipe/nested_table_report.rtf")
                             : Document == 3 ? QStringLiteral("found/wide_table_257_columns.rtf")
                                             : QStringLiteral("rtf/rtfpipe/phprtflite/merged_cells.rtf");
        const QByteArray bytes = CorpusFile(name);
        return !bytes.isEmpty() && Edit->InsertRTFFromStream(bytes.toStdString());
    }

    // Paragraphs of words from 6 to 36 points, raised and lowered, spaced at
    // 75 and 150 percent, with pictures of unequal heights among them, as high
    // as the editor: laid out beside the vertical bar and without it, lines
    // break apart and tall words move between them, so that the bar comes and
    // goes with the edits and the widths.
    bool LoadMixedSizes() {
        TFontInfos& fonts = Style->TextStyles();
        const auto font = [&](int Size, int VShift) {
            TFontInfo* f = fonts.Add();
            f->FontName = "Arial";
            f->Size = Size;
            f->VShift = VShift;
            return fonts.Count() - 1;
        };
        const int styles[] = {0, 0, font(6, 0), font(30, 0), font(36, 0), font(12, 50), font(20, -40)};
        Style->ParaStyles().Add()->LineSpacing = 75;
        Style->ParaStyles().Add()->LineSpacing = 150;
        static const char* const words[] = {"Zahl",  "und", "Rechnung", "die",
                                            "Summe", "ein", "Aufgabe",  "plus"};
        std::mt19937 rng(815);
        const auto pick = [&](int N) { return static_cast<int>(rng() % static_cast<unsigned>(N)); };
        TRPEditRPData* d = Edit->EditData();
        while (d->GetItemCount() == 0 || d->DocumentHeight < 380) {
            const int para = pick(4);
            const int items = 1 + pick(6);
            for (int i = 0; i < items; ++i) {
                const int at = i == 0 ? para : -1;
                if (pick(4) == 0) {
                    QImage picture(10 + pick(120), 8 + pick(60), QImage::Format_RGB32);
                    picture.fill(QColor(40 * pick(6), 120, 200));
                    d->AddPicture("", std::make_unique<TBitmap>(picture), at, static_cast<uint8_t>(pick(2)),
                                  TRPTag{});
                    continue;
                }
                std::string text;
                for (int w = 0, n = 1 + pick(5); w < n; ++w)
                    text += std::string(words[pick(static_cast<int>(std::size(words)))]) + " ";
                d->AddText(text, styles[pick(static_cast<int>(std::size(styles)))], at);
            }
            Edit->Format();
        }
        return true;
    }

    // Every way a table takes its width, between lines of text: columns of
    // their own pixel widths (the table as wide as they make it), a table of
    // 400 pixels, one of 80 % of the line, free columns with cells merged
    // across and down, and tables three deep in cells of tables.
    bool LoadTableKinds() {
        TCustomRPData* d = Edit->RPData();
        const auto fill = [](TRPTableItemInfo& T, const std::string& Prefix) {
            for (int r = 0; r < T.Rows->RowCount(); ++r)
                for (int c = 0; c < T.Rows->GetColCount(); ++c) {
                    TRPTableCellData* cell = T.GetCell(r, c);
                    cell->Clear();
                    cell->AddNL(Prefix + std::to_string(r) + std::to_string(c), 0, 0);
                }
        };
        const auto add = [&](std::unique_ptr<TRPTableItemInfo> T, const char* Text) {
            d->AddNL(Text, 0, 0);
            d->AddItem(std::string(), std::move(T));
        };
        auto natural = TRPTableItemInfo::CreateEx(2, 3, d);
        fill(*natural, "n");
        for (int c = 0; c < 3; ++c)
            natural->GetCell(0, c)->BestWidth = natural->GetCell(1, c)->BestWidth = 40 + 30 * c;
        add(std::move(natural), "Spalten eigener Breite");
        auto fixed = TRPTableItemInfo::CreateEx(2, 2, d);
        fill(*fixed, "f");
        fixed->BestWidth = 400;
        add(std::move(fixed), "Feste Breite");
        auto percent = TRPTableItemInfo::CreateEx(2, 2, d);
        fill(*percent, "p");
        percent->BestWidth = -80;
        add(std::move(percent), "Anteil der Zeile");
        auto merged = TRPTableItemInfo::CreateEx(3, 3, d);
        fill(*merged, "m");
        merged->MergeCells(0, 0, 2, 1, false);
        merged->MergeCells(1, 2, 1, 2, false);
        add(std::move(merged), "Verbundene Zellen");
        std::function<std::unique_ptr<TRPTableItemInfo>(TCustomRPData*, int)> nested =
            [&](TCustomRPData* Owner, int Level) {
                auto t = TRPTableItemInfo::CreateEx(1, 2, Owner);
                fill(*t, "t" + std::to_string(Level));
                if (Level < 3) {
                    TRPTableCellData* host = t->GetCell(0, 0);
                    host->AddItem(std::string(), nested(host, Level + 1));
                }
                return t;
            };
        add(nested(d, 1), "Tabellen in Zellen");
        d->AddNL("Ende", 0, 0);
        return true;
    }
};

// Sends a left click at P of the editor's client area to the window under
// it, as the window system would: an open cell editor takes the clicks over it.
void ClickAt(TRichPadEdit* Edit, QPoint P) {
    QWidget* client = Edit->ClientWidget();
    if (!client) return;
    QWidget* target = client->childAt(P);
    if (!target) target = client;
    const QPointF at = target->mapFrom(client, QPointF(P));
    const QPointF global = target->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    if (!QPointer<QWidget>(target)) return;
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// A table of Rows x Cols cells with a word in the first, on the clipboard as
// the editor copies it.
void TableToClipboard(TRPStyle* Style, int Rows, int Cols) {
    TForm form(nullptr);
    TRichPadEdit source(&form);
    source.SetParent(&form);
    source.SetStyle(Style);
    source.Clear();
    auto t = TRPTableItemInfo::CreateEx(Rows, Cols, source.RPData());
    TRPTableCellData* first = t->GetCell(0, 0);
    source.RPData()->AddItem(std::string(), std::move(t));
    first->Clear();
    first->AddNL("Zelle", 0, 0);
    source.Format();
    source.SelectAll();
    source.CopyToClipboard();
}

// A run of operations on one document.
class TRandomRun {
public:
    TRandomRun(int Document, const std::vector<TOp>& Ops) : Doc(Document), Ops(Ops) {}

    int Doc;
    std::vector<TOp> Ops;
    // Filled while the run makes its operations up (Ops is then empty).
    std::mt19937* Rng = nullptr;
    int Count = 0;

    // What went wrong, empty when nothing.
    std::string Run() {
        DialogResponder boxes;
        // What an earlier run copied would be pasted.
        QGuiApplication::clipboard()->clear();
        TRandomEditor e(Doc);
        if (!e.Loaded) return "the document did not load";
        const std::string start = SaveRPF(*e.Edit);
        const int count = Rng ? Count : static_cast<int>(Ops.size());
        // Each operation is written down before it runs: a crash leaves the list.
        QFile written(qEnvironmentVariable("PRAVOLIN_EDIT_OPS_FILE"));
        if (!written.fileName().isEmpty()) written.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 0; i < count; ++i) {
            if (Rng) Ops.push_back(MakeUp(e));
            if (written.isOpen()) {
                written.write((Spell(Ops[static_cast<size_t>(i)]) + ' ').c_str());
                written.flush();
            }
            Perform(e, Ops[static_cast<size_t>(i)]);
            ProcessEvents(2);
            if (!boxes.Questions().empty())
                return "operation " + std::to_string(i) + " (" + Spell(Ops[static_cast<size_t>(i)]) +
                       ") reported: " + boxes.MessageTexts().join(" / ").toStdString();
            // The view shows what the document is, also while a cell editor
            // is open (the open cell itself shows the editor's document, laid
            // out with the editor's margins, and is left out).
            if (const std::string diff = DiffFromFreshLayout(*e.Edit); !diff.empty())
                return "operation " + std::to_string(i) + " (" + Spell(Ops[static_cast<size_t>(i)]) +
                       ") left the view unlike a fresh layout: " + diff;
        }
        e.Edit->DestroyCellEditor();
        ProcessEvents();
        // Steps undone on the way and not done again would be redone after the rest.
        e.Edit->EditData()->RedoList->Clear();
        const std::string edited = SaveRPF(*e.Edit);
        for (const bool redo : {false, true}) {
            // Ctrl+Z and Ctrl+Shift+Z at the focus, where a cell editor may open and close.
            int steps = 0;
            while ((redo ? e.Edit->CanRedo() : e.Edit->CanUndo()) && steps++ < 40 * count + 100) {
                PressKeyAtFocus('Z', redo ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
                ProcessEvents(2);
                if (!boxes.Questions().empty())
                    return std::string(redo ? "redo " : "undo ") + std::to_string(steps) +
                           " reported: " + boxes.MessageTexts().join(" / ").toStdString();
                if (const std::string diff = DiffFromFreshLayout(*e.Edit); !diff.empty())
                    return std::string(redo ? "redo " : "undo ") + std::to_string(steps) +
                           " left the view unlike a fresh layout: " + diff;
            }
            e.Edit->DestroyCellEditor();
            ProcessEvents();
            if (const std::string diff = DiffFromFreshLayout(*e.Edit); !diff.empty())
                return std::string(redo ? "redoing" : "undoing") +
                       " everything left the view unlike a fresh layout: " + diff;
            if ((redo ? e.Edit->CanRedo() : e.Edit->CanUndo()))
                return redo ? "redo never ends" : "undo never ends";
            if (SaveRPF(*e.Edit) != (redo ? edited : start))
                return redo ? "redoing everything does not give the edited document"
                            : "undoing everything does not give the first document";
        }
        return std::string();
    }

private:
    int Pick(int N) { return static_cast<int>((*Rng)() % static_cast<unsigned>(std::max(1, N))); }

    TOp MakeUp(TRandomEditor& E) {
        TOp op;
        const int p = Pick(100);
        if (p < 22) {
            // Letters of Latin-1 and beyond it, and spaces.
            static const char16_t letters[] = u"abc xyzäöüß€łΩжğ漢字 ";
            const int n = 1 + Pick(3);
            for (int i = 0; i < n; ++i)
                op.Text += QChar(letters[Pick(static_cast<int>(std::size(letters)) - 1)]);
            return op;
        }
        op.Kind = TOp::Key;
        if (p < 42) {
            static const uint16_t moves[] = {VK_LEFT, VK_RIGHT, VK_UP,    VK_DOWN,
                                             VK_HOME, VK_END,   VK_PRIOR, VK_NEXT};
            op.VK = moves[Pick(8)];
            op.Shift = Pick(3) == 0;
            op.Ctrl = Pick(4) == 0;
        } else if (p < 48) {
            op.VK = VK_RETURN;
            op.Shift = Pick(3) == 0;
        } else if (p < 58) {
            op.VK = Pick(2) ? VK_BACK : VK_DELETE;
            op.Ctrl = Pick(5) == 0;
        } else if (p < 68) {
            static const uint16_t clip[] = {'C', 'X', 'V', 'V'};
            op.VK = clip[Pick(4)];
            op.Ctrl = true;
        } else if (p < 73) {
            op.VK = VK_TAB;
            op.Shift = Pick(3) == 0;
        } else if (p < 86) {
            op.VK = 'Z';
            op.Ctrl = true;
            op.Shift = Pick(3) == 0;
        } else if (p < 88) {
            op.Kind = TOp::Table;
            op.A = 1 + Pick(3);
            op.B = 1 + Pick(3);
        } else if (p < 89) {
            op.Kind = TOp::Width;
            static const int widths[] = {260, 540, 1000};
            // Near the editor's own width the bar comes and goes.
            op.A = Doc == 6 ? 500 + 10 * Pick(9) : widths[Pick(3)];
        } else if (p < 91) {
            op.Kind = TOp::Close;
        } else {
            op.Kind = TOp::Click;
            MakeUpClick(E, op);
        }
        return op;
    }

    // Mostly on a table of the editor (a cell opens), else anywhere in view.
    void MakeUpClick(TRandomEditor& E, TOp& Op) {
        E.Edit->Format();
        TRPEditRPData* d = E.Edit->EditData();
        const int w = std::max(1, E.Edit->ClientWidth()), h = std::max(1, E.Edit->ClientHeight());
        Op.A = Pick(w);
        Op.B = Pick(h);
        std::vector<int> tables;
        for (int i = 0; i < d->GetItemCount(); ++i)
            if (d->GetItemStyle(i) == rpsnTable) tables.push_back(i);
        if (tables.empty() || Pick(4) == 0) return;
        const int item = tables[static_cast<size_t>(Pick(static_cast<int>(tables.size())))];
        int x = 0, y = 0;
        if (!d->GetItemClientCoords(item, x, y)) return;
        auto* t = static_cast<TRPTableItemInfo*>(d->GetItem(item));
        const int cx = x + Pick(std::max(1, t->FormattingInfo.Width)),
                  cy = y + Pick(std::max(1, t->GetHeight()));
        if (cx >= 0 && cx < w && cy >= 0 && cy < h) {
            Op.A = cx;
            Op.B = cy;
        }
    }

    void Perform(TRandomEditor& E, const TOp& Op) {
        switch (Op.Kind) {
        case TOp::Type:
            TypeAtFocus(Op.Text);
            break;
        case TOp::Key: {
            Qt::KeyboardModifiers mods;
            if (Op.Shift) mods |= Qt::ShiftModifier;
            if (Op.Ctrl) mods |= Qt::ControlModifier;
            PressKeyAtFocus(Op.VK, mods);
            break;
        }
        case TOp::Table:
            TableToClipboard(E.Style.get(), Op.A, Op.B);
            PressKeyAtFocus('V', Qt::ControlModifier);
            break;
        case TOp::Click:
            ClickAt(E.Edit, QPoint(Op.A, Op.B));
            break;
        case TOp::Width:
            E.Edit->SetBounds(0, 0, Op.A, E.Edit->Height());
            break;
        case TOp::Close:
            E.Edit->DestroyCellEditor();
            break;
        }
    }
};

// A run in a process of its own, so that a crash or a hang is a finding
// like any other: the operations made up (or given) go to a file one by one
// before they run, and what went wrong to standard error.
struct TChildResult {
    bool Failed = false;
    std::string Failure;
    std::vector<TOp> Ops;
};

std::vector<TOp> ParseOps(const QString& Words) {
    std::vector<TOp> ops;
    for (const QString& word : Words.split(' ', Qt::SkipEmptyParts)) {
        TOp op;
        if (Parse(word, op)) ops.push_back(op);
    }
    return ops;
}

TChildResult RunChild(const QString& Variable, const QString& Value) {
    QTemporaryFile opsFile;
    opsFile.open();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(Variable, Value);
    env.insert(QStringLiteral("PRAVOLIN_EDIT_OPS_FILE"), opsFile.fileName());
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=RandomEditing.NothingFailsAndUndoAndRedoOfEverythingComeBack")});
    TChildResult r;
    // Generous: a seed of many operations under the sanitizers takes minutes.
    if (!child.waitForFinished(30 * 60 * 1000)) {
        child.kill();
        child.waitForFinished();
        r.Failure = "the run hangs";
    }
    const QString output = QString::fromLocal8Bit(child.readAll());
    r.Failed = !r.Failure.empty() || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0;
    for (const QString& line : output.split('\n'))
        if (r.Failure.empty() &&
            (line.startsWith(QLatin1String("FAILURE: ")) || line.startsWith(QLatin1String("SUMMARY: ")) ||
             line.contains(QLatin1String("runtime error:"))))
            r.Failure = line.toStdString();
    if (r.Failed && r.Failure.empty()) r.Failure = "the run ended with " + std::to_string(child.exitCode());
    r.Ops = ParseOps(QString::fromUtf8(opsFile.readAll()));
    return r;
}

TChildResult Replay(int Document, const std::vector<TOp>& Ops) {
    return RunChild(QStringLiteral("PRAVOLIN_EDIT_REPLAY"),
                    QString::number(Document) + ':' + QString::fromStdString(Spell(Ops)));
}

// What kind of failure it is: the words without the operation's number and
// other numbers (item indexes, addresses), so that a shorter list counts
// only when it fails the same way.
std::string KindOf(const std::string& Failure) {
    QString kind = QString::fromStdString(Failure);
    kind.remove(QRegularExpression(QStringLiteral("^operation \\d+ \\([^)]*\\) ")));
    kind.remove(QRegularExpression(QStringLiteral("[0-9]")));
    return kind.toStdString();
}

// The shortest list found, by leaving out ever smaller runs of operations
// while the run still fails the same way (within a budget of time).
std::vector<TOp> Shorten(int Document, std::vector<TOp> Ops, const std::string& Failure) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(15);
    const std::string kind = KindOf(Failure);
    for (size_t chunk = std::max<size_t>(1, Ops.size() / 2);; chunk /= 2) {
        for (size_t from = 0; from < Ops.size() && std::chrono::steady_clock::now() < deadline;) {
            std::vector<TOp> fewer(Ops.begin(), Ops.begin() + static_cast<long>(from));
            fewer.insert(fewer.end(), Ops.begin() + static_cast<long>(std::min(Ops.size(), from + chunk)),
                         Ops.end());
            if (const TChildResult r = Replay(Document, fewer); r.Failed && KindOf(r.Failure) == kind)
                Ops = std::move(fewer);
            else
                from += chunk;
        }
        if (chunk <= 1 || std::chrono::steady_clock::now() >= deadline) return Ops;
    }
}

const char* const kDocumentNames[] = {"image_from_strings.rtf",  "nested_table_report.rtf",
                                      "long plain text",         "wide_table_257_columns.rtf",
                                      "merged_cells.rtf",        "tables of every width",
                                      "mixed sizes and pictures"};

// In a run's own process: the operations made up or given, the failure on
// standard error for the process that started it.
void RunHere(TRandomRun& Run) {
    const std::string failure = Run.Run();
    if (!failure.empty()) fprintf(stderr, "FAILURE: %s\n", failure.c_str());
    EXPECT_EQ(failure, "");
}

TEST(RandomEditing, NothingFailsAndUndoAndRedoOfEverythingComeBack) {
    const QString replay = qEnvironmentVariable("PRAVOLIN_EDIT_REPLAY");
    if (!replay.isEmpty()) {
        const qsizetype colon = replay.indexOf(':');
        ASSERT_GT(colon, 0) << "PRAVOLIN_EDIT_REPLAY=<document>:<operations>";
        TRandomRun run(replay.left(colon).toInt(), ParseOps(replay.mid(colon + 1)));
        RunHere(run);
        return;
    }
    if (const QString make = qEnvironmentVariable("PRAVOLIN_EDIT_MAKE"); !make.isEmpty()) {
        const QStringList n = make.split(':');
        ASSERT_EQ(n.size(), 3) << "PRAVOLIN_EDIT_MAKE=<document>:<seed>:<operations>";
        std::mt19937 rng(n[1].toUInt() * 7919u + n[0].toUInt());
        TRandomRun run(n[0].toInt(), {});
        run.Rng = &rng;
        run.Count = n[2].toInt();
        RunHere(run);
        return;
    }
    const int seeds = EnvInt("PRAVOLIN_EDIT_SEEDS", 3);
    const int count = EnvInt("PRAVOLIN_EDIT_OPERATIONS", 300);
    const int firstSeed = EnvInt("PRAVOLIN_EDIT_FIRST_SEED", 1);
    const int only = EnvInt("PRAVOLIN_EDIT_DOCUMENT", -1);
    int part = 0, parts = 1;
    if (const QString p = qEnvironmentVariable("PRAVOLIN_EDIT_PART"); !p.isEmpty()) {
        const QStringList kn = p.split('/');
        ASSERT_EQ(kn.size(), 2) << "PRAVOLIN_EDIT_PART=<part>/<parts>";
        part = kn[0].toInt();
        parts = kn[1].toInt();
        ASSERT_TRUE(parts > 0 && part >= 0 && part < parts) << "PRAVOLIN_EDIT_PART=" << p.toStdString();
    }
    for (int doc = 0; doc < static_cast<int>(std::size(kDocumentNames)); ++doc) {
        if (only >= 0 && doc != only) continue;
        int failed = 0;
        for (int seed = firstSeed; seed < firstSeed + seeds; ++seed) {
            if ((doc * seeds + seed - firstSeed) % parts != part) continue;
            const TChildResult r = RunChild(QStringLiteral("PRAVOLIN_EDIT_MAKE"),
                                            QStringLiteral("%1:%2:%3").arg(doc).arg(seed).arg(count));
            if (!r.Failed) continue;
            ++failed;
            const std::vector<TOp> shortest = Shorten(doc, r.Ops, r.Failure);
            ADD_FAILURE() << kDocumentNames[doc] << ", seed " << seed << ": " << r.Failure << "\nreplay with "
                          << "PRAVOLIN_EDIT_REPLAY=\"" << doc << ':' << Spell(shortest) << "\"\n("
                          << shortest.size() << " of " << r.Ops.size()
                          << " operations; this list: " << Replay(doc, shortest).Failure << ")";
        }
        if (qEnvironmentVariableIsSet("PRAVOLIN_EDIT_SEEDS"))
            fprintf(stderr, "%s: %d seeds of %d operations, %d failed\n", kDocumentNames[doc], seeds, count,
                    failed);
    }
}

// Shortened lists of seeds that once failed, replayed as they were printed.
TEST(RandomEditing, ListsThatOnceFailedRunThrough) {
    const char* const lists[] = {
        // A cell of a table pasted into a cell, put back by undo, still named
        // the cell editor it was pasted in, freed meanwhile.
        "1:@263,57 T1x2 @28,59 Back",
        // The caret of a cell in a cell came into view by scrolling the editor,
        // which placed its own caret on lines that no longer held it (the
        // editor's caret waits while a cell is edited).
        "2:T3x3 Enter C+PgDn C+Z t11F.61 @218,327 C+Down Left Right S+Tab C+V Tab C+V C+V Tab T2x2 @103,335 "
        "t7A.7A.11F @453,287 tDF.61 t5B57.62.436 t7A.142.62 t62 t62 @140,84 S+PgUp Back @31,239 tDF.61 PgUp "
        "t61.E4 T2x3 C+V T3x1 t78.20 PgDn T2x3 C+V t78 Enter @114,275 tFC.7A.E4 C+V Tab C+V @278,44 C+Right "
        "T3x1 S+Tab Left C+V T3x2 S+PgUp",
        // A copy of a line break before a picture carried the picture in its
        // RTF, pasted (with a new text style) where the RPF had nothing.
        "0:PgUp T2x2 @184,208 Down S+Enter @70,87 @268,164 Tab Tab t436 S+Down C+C C+V",
        // A cell editor freed by its own mouse release (a border dragged
        // closes it), which went on to take the release as a click.
        "2:T3x3 Enter C+PgDn C+Z @218,327 C+Down Enter S+Tab C+V Tab C+V Tab C+V T2x2 t6F22.78.436 @453,287 "
        "tDF.61 t5B57.78 t20.3A9.6F22 @140,84 S+PgUp Back @31,239 Left C+V @114,275",
        // A picture clicked, then the caret sent to the end: the picture kept
        // its handles.
        "6:@257,152 C+End",
    };
    for (const char* list : lists) {
        const QString replay = QString::fromLatin1(list);
        const qsizetype colon = replay.indexOf(':');
        TRandomRun run(replay.left(colon).toInt(), ParseOps(replay.mid(colon + 1)));
        EXPECT_EQ(run.Run(), "") << list;
    }
}

// The list of operations reads back as it is written.
TEST(RandomEditing, OperationsSpellAndParse) {
    const std::vector<std::string> words = {"t61.E4.6F22", "CS+Left", "S+Enter", "C+Z",
                                            "Tab",         "T2x3",    "@120,45"};
    for (const std::string& w : words) {
        TOp op;
        ASSERT_TRUE(Parse(QString::fromStdString(w), op)) << w;
        EXPECT_EQ(Spell(op), w);
    }
    TOp op;
    EXPECT_FALSE(Parse(QStringLiteral("Q+Nothing"), op));
    EXPECT_FALSE(Parse(QStringLiteral("T0x2"), op));
}

} // namespace
