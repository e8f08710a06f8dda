#pragma once
// An editor control on a form of its own with fixed text metrics, the style
// the editing tests use, and a dump of the items that tests compare exactly.
#include <memory>
#include <string>

#include "platform/Forms.h"
#include "platform/TextMetrics.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "support/FixedMetrics.h"

// Text styles: 0 normal (20 px high, characters 10 px wide), 1 bold,
// 2 Unicode, 3 protected against modification, 4 its NextStyleNo is 1.
// Paragraph styles: 0 normal, 1 centred, 2 read-only, 3 indented, 4 protected style.
std::unique_ptr<TRPStyle> MakeEditStyle();

class TEditFixture {
public:
    explicit TEditFixture(int Width = 300, int Height = 200);
    ~TEditFixture();

    FixedMetricsScope Metrics;
    std::unique_ptr<TRPStyle> Style;
    std::unique_ptr<TForm> Form;
    TRichPadEdit* Edit = nullptr;
    TRPEditRPData* Data() const { return Edit->EditData(); }

    // Replaces the document: paragraphs separated by "\n" in style 0, para 0.
    void Load(const std::string& Text);
    void Type(const std::string& Text);
    void Key(uint16_t Key, TShiftState Shift = 0) { Edit->SendKey(Key, Shift); }
    void Caret(int ItemNo, int Offs) { Data()->SetCaretItemPos(ItemNo, Offs); }
    void Select(int StartItemNo, int StartOffs, int EndItemNo, int EndOffs) {
        Edit->SetSelectionBounds(StartItemNo, StartOffs, EndItemNo, EndOffs);
    }
    // "item:offset" of the caret.
    std::string CaretPos() const;
};

// Passes every question on to the metrics in force and counts the characters measured.
class TCountingMetrics : public TTextMetrics {
public:
    TCountingMetrics() : m_inner(SetTextMetrics(this)) {}
    ~TCountingMetrics() override { SetTextMetrics(m_inner); }
    int Ascent(const TFont& f) override { return m_inner->Ascent(f); }
    int Descent(const TFont& f) override { return m_inner->Descent(f); }
    int Height(const TFont& f) override { return m_inner->Height(f); }
    int InternalLeading(const TFont& f) override { return m_inner->InternalLeading(f); }
    int ExternalLeading(const TFont& f) override { return m_inner->ExternalLeading(f); }
    int AveCharWidth(const TFont& f) override { return m_inner->AveCharWidth(f); }
    std::vector<int> PrefixWidths(const TFont& f, const QString& t) override {
        Chars += t.size();
        return m_inner->PrefixWidths(f, t);
    }
    int TextWidth(const TFont& f, const QString& t) override {
        Chars += t.size();
        return m_inner->TextWidth(f, t);
    }
    int64_t Chars = 0;

private:
    TTextMetrics* m_inner;
};

// List 0 of Style (numbered "1.", "2.", ...), and one entry of a list: a
// marker and a text item in style 0, para 0, at the end of the document.
void AddNumberedList(TRPStyle& Style);
void AddListEntry(TCustomRichPadEdit& E, const std::string& Text, int ListNo = 0);
void AddListEntry(TCustomRPData& Data, const std::string& Text, int ListNo = 0);

// One line per item: "P" (paragraph start), "B" (line break) or "-"
// (continues), then "s<style> p<para>", then the text in quotes (a list
// marker's counter as "#n").
std::string DumpItems(const TCustomRPData& Data);
// What is out of place in a document, empty when nothing: a list marker
// starts its paragraph and text follows it on its line; nothing continues
// the line of a table or break.
std::string Misplaced(const TCustomRPData& Data);
// The document as RPF (items, flags and styles, byte-exact).
std::string SaveRPF(TCustomRichPad& Control);
// The text of the paragraphs joined with "\n".
std::string PlainText(const TCustomRPData& Data);
// One line per draw item: "/" where a line starts, left,top width x height,
// item, offset and length.
std::string DumpLayout(const TCustomRPFormattedData& D);
