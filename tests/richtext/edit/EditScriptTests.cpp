// Random edit scripts over a small corpus: undoing everything gives back the
// document as it was, redoing everything the edited one, and the layout after
// every partial reformat equals a full one.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <random>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"
#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPUnicode.h"

namespace {

std::unique_ptr<TGraphic> Picture(int W, int H) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::red);
    return std::make_unique<TBitmap>(image);
}

// The documents the scripts start from.
void BuildCorpusDocument(TCustomRichPadEdit& E, int Which) {
    E.Clear();
    switch (Which) {
    case 0:
        E.AddText("Logbuch: Pravolin", 0, 0);
        E.AddText("****************************************", 0, 0);
        break;
    case 1:
        for (int i = 0; i < 6; ++i)
            E.AddText("Ein Absatz mit einigen Woertern, der umbricht " + std::to_string(i), i % 2, i % 4);
        break;
    case 2:
        E.AddText("Bild ", 0, 0);
        E.AddPicture("p", Picture(40, 30), 0, 0);
        E.RPData()->AddText(" danach", 1, 0);
        E.RPData()->GetItem(2)->SetContinuesPrev(true);
        E.AddText("", 0, 1);
        E.AddText("Ende", 0, 0);
        break;
    case 3:
        AddListEntry(E, "Liste eins");
        AddListEntry(E, "zwei, ein langer Eintrag, der umbricht");
        E.AddText("dazwischen", 0, 1);
        AddListEntry(E, "drei");
        AddListEntry(E, "");
        break;
    default:
        E.AddText("erste Zeile", 0, 0);
        E.RPData()->AddText("zweite Zeile", 0, 0);
        E.RPData()->GetItem(1)->SetLineBreakBefore(true);
        E.AddText(std::string("\x41\x00\x42\x00", 4), 2, 3);
        E.RPData()->GetItem(2)->ItemOptions |= rpioUnicode;
        break;
    }
    E.Format();
}

class TScript {
public:
    TScript(TEditFixture& F, unsigned Seed) : f(F), rng(Seed) {
        f.Edit->OnStyleConversion = [](TCustomRichPadEdit*, int StyleNo, int, bool, int& NewStyleNo) {
            NewStyleNo = StyleNo == 0 ? 1 : StyleNo == 1 ? 0 : StyleNo;
        };
    }

    int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(std::max(1, n))); }

    void RandomCaret() {
        const int item = Pick(f.Data()->GetItemCount());
        const int first = f.Data()->GetFirstOffsetOfItem(item), last = f.Data()->GetLastOffsetOfItem(item);
        f.Caret(item, first + Pick(last - first + 1));
    }

    void RandomSelection() {
        const int n = f.Data()->GetItemCount();
        int a = Pick(n), b = Pick(n);
        if (a > b) std::swap(a, b);
        const auto offs = [&](int i) {
            const int first = f.Data()->GetFirstOffsetOfItem(i), last = f.Data()->GetLastOffsetOfItem(i);
            return first + Pick(last - first + 1);
        };
        int oa = offs(a), ob = offs(b);
        if (a == b && oa > ob) std::swap(oa, ob);
        f.Select(a, oa, b, ob);
    }

    // One random edit; its name for the failure message.
    std::string Step() {
        const int op = Pick(17);
        if (op != 9 && op != 15 && op != 16) RandomCaret();
        switch (op) {
        case 0:
        case 1:
        case 2:
            f.Edit->SetCurTextStyleNo(Pick(3) == 0 ? Pick(3) : f.Edit->CurTextStyleNo());
            f.Type(std::string(1, static_cast<char>("abc xyz"[Pick(7)])));
            return "type";
        case 3:
            f.Key(VK_RETURN, Pick(3) == 0 ? ssShift : 0);
            return "enter";
        case 4:
            f.Key(VK_BACK, Pick(4) == 0 ? ssCtrl : 0);
            return "backspace";
        case 5:
            f.Key(VK_DELETE);
            return "delete";
        case 6:
            f.Edit->InsertText("eins\r\nzwei\tdrei");
            return "insert text";
        case 7:
            f.Edit->InsertRTFFromStream("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs30 rtf \\b fett\\b0\\par zweite}");
            return "insert rtf";
        case 8:
            f.Edit->InsertPicture("bild", Picture(20 + Pick(30), 10 + Pick(30)), 0);
            return "insert picture";
        case 9:
            RandomSelection();
            f.Key(Pick(2) ? VK_DELETE : VK_BACK);
            return "delete selection";
        case 10:
            RandomSelection();
            f.Type("q");
            return "type over selection";
        case 11:
            RandomSelection();
            f.Edit->ApplyParaStyle(Pick(4));
            return "paragraph style";
        case 12:
            RandomSelection();
            f.Edit->ApplyStyleConversion(0);
            return "style conversion";
        case 13: {
            for (int i = 0; i < f.Data()->GetItemCount(); ++i)
                if (f.Data()->GetItemStyle(i) == rpsnPicture) {
                    f.Edit->ResizeItem(i, 5 + Pick(60), 5 + Pick(60));
                    return "resize";
                }
            return "no picture";
        }
        case 14:
            f.Edit->InsertTextW(QStringToItemText(QStringLiteral("a\u2028b\u2029c"), rpioUnicode, 0));
            return "insert unicode";
        case 15:
            RandomSelection();
            f.Edit->InsertText("ersetzt");
            return "replace selection";
        default: {
            // A copied part of the document (list markers and all) goes in
            // elsewhere.
            RandomSelection();
            std::string part;
            f.Edit->SaveRPFToStream(part, true);
            RandomCaret();
            f.Edit->InsertRPFFromStream(part);
            return "copy rpf";
        }
        }
    }

    TEditFixture& f;
    std::mt19937 rng;
};

void CheckLayout(TEditFixture& f, const std::string& Context) {
    const std::string partial = DumpLayout(*f.Data());
    const int caretItem = f.Data()->CurItemNo(), caretOffs = f.Data()->OffsetInCurItem();
    f.Edit->Format();
    ASSERT_EQ(partial, DumpLayout(*f.Data())) << Context;
    f.Caret(caretItem, caretOffs);
}

} // namespace

TEST(EditScripts, UndoAllRestoresTheDocumentAndRedoAllTheEditedOne) {
    for (int doc = 0; doc < 5; ++doc) {
        for (unsigned seed = 1; seed <= 60; ++seed) {
            TEditFixture f(260, 160);
            AddNumberedList(*f.Style);
            BuildCorpusDocument(*f.Edit, doc);
            const std::string start = SaveRPF(*f.Edit);
            TScript s(f, seed * 7919 + static_cast<unsigned>(doc));
            std::string log;
            for (int step = 0; step < 25; ++step) {
                const std::string before = DumpItems(*f.Data()) + " caret " + f.CaretPos() + "\n";
                try {
                    log += s.Step() + " ";
                } catch (const std::exception& e) {
                    FAIL() << e.what() << " in doc " << doc << " seed " << seed << ": " << log << "<- next step\nbefore:\n" << before;
                }
                ASSERT_EQ(Misplaced(*f.Data()), "") << "doc " << doc << " seed " << seed << ": " << log
                                                           << "\nbefore:\n" << before << "after:\n" << DumpItems(*f.Data());
                if (seed % 2 == 0)
                    CheckLayout(f, "doc " + std::to_string(doc) + " seed " + std::to_string(seed) + ": " + log + "\nbefore:\n" +
                                       before + "after:\n" + DumpItems(*f.Data()));
                if (HasFatalFailure()) return;
            }
            const std::string edited = SaveRPF(*f.Edit);
            int guard = 0;
            while (f.Edit->CanUndo() && ++guard < 5000)
                f.Edit->Undo();
            ASSERT_EQ(SaveRPF(*f.Edit), start) << "doc " << doc << " seed " << seed << ": " << log;
            while (f.Edit->CanRedo() && ++guard < 10000)
                f.Edit->Redo();
            ASSERT_EQ(SaveRPF(*f.Edit), edited) << "doc " << doc << " seed " << seed << ": " << log;
        }
    }
}

TEST(EditScripts, TheUndoListKeepsItsLimit) {
    TEditFixture f;
    BuildCorpusDocument(*f.Edit, 1);
    f.Edit->SetUndoLimit(3);
    TScript s(f, 99);
    for (int i = 0; i < 40; ++i) {
        s.Step();
        ASSERT_LE(f.Data()->UndoList->Count(), 3);
    }
}
