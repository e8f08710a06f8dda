// Writing documents as RPF streams.
#include <algorithm>

#include "platform/Pictures.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool UseNames(TCustomRPData* RPData) {
    return (RPData->GetRPFOptions() & rpfoUseStyleNames) != 0;
}

bool PCharTags(TCustomRPData* RPData) {
    return (RPData->GetOptions() & rpoTagsArePChars) != 0;
}

std::string ParaRef(TCustomRPData* RPData, int ParaNo) {
    return RPFFormatItemParaRef(RPData, ParaNo, false);
}

// A name that holds a line end goes as hex (read type 3), so that it comes back as it was.
void WriteCheckpoint(std::string& Stream, TCustomRPData* RPData, const TRPCPInfo& CP) {
    const bool hex = RPFNeedsHex(CP.Name);
    RPFWriteLine(Stream, std::string("-2 1 0 0 ") + (hex ? "3 " : "0 ") +
                             RPFFormatTag(CP.Tag, PCharTags(RPData)) + " " +
                             std::to_string(CP.RaiseEvent ? 1 : 0) + " " +
                             std::to_string(CP.Persistent ? 1 : 0));
    RPFWriteLine(Stream, hex ? RPFStringToHex(CP.Name) : CP.Name);
}

// A document-level record with a name line (the style component's) and a
// body (style collections).
void WriteDocRecord(std::string& Stream, int Subtype, std::string_view Body, bool Binary,
                    std::string_view Name) {
    RPFWriteLine(Stream, std::string("-9 2 0 0 ") + (Binary ? "2" : "0") + " 0 " + std::to_string(Subtype));
    RPFWriteLine(Stream, RPFLineText(Name));
    RPFWriteBody(Stream, Body, Binary);
}

// One write: the range, the pending text record and the marker written ahead.
class TRPFWriter {
public:
    TRPFWriter(TCustomRPData* RPData, std::string& Stream) : D(RPData), S(Stream) {
        Binary = (D->GetRPFOptions() & rpfoSaveBinary) != 0;
    }

    void WriteItems(const TRPSaveRange& Range, bool Selection);

private:
    TCustomRPData* D;
    std::string& S;
    bool Binary = false;
    int Template = -1; // first item of the pending text record
    int Pending = 0;
    bool MarkerAhead = false;

    // Text that cannot stand in its line as it is goes as hex (read type 3):
    // UTF-16 text in text mode or holding the end of a UTF-16 line, and 8-bit
    // text holding NUL, CR or LF.
    bool NeedsHex(std::string_view Text, bool Unicode) const {
        return Unicode ? !Binary || RPFNeedsWideHex(Text) : RPFNeedsHex(Text);
    }
    bool TextHex(int ItemNo) const {
        return NeedsHex(D->GetItemText(ItemNo), D->GetItem(ItemNo)->IsUnicode());
    }
    void WriteText(std::string_view Text, bool Unicode, bool Hex) {
        if (Hex)
            RPFWriteLine(S, RPFStringToHex(Text));
        else
            RPFWriteTextOrHex(S, Text, Unicode, false);
    }
    int ItemParaRef(const TCustomRPItemInfo& Item) const {
        return Item.GetContinuesPrev() ? -1 : Item.ParaNo;
    }
    bool CanJoin(int ItemNo) const;
    void WriteTextHeader(const TCustomRPItemInfo& Item, int Count, int ParaNo, int Options, bool WithHint,
                         bool Hex);
    void Flush(int Count);
    void WriteTextPart(int ItemNo, int From, int To);
    void WriteNonText(int ItemNo);
    void WritePart(int ItemNo, const TRPMultiDrawItemPart* Part);
};

bool TRPFWriter::CanJoin(int ItemNo) const {
    if (Template < 0 || Pending == 0) return false;
    const TCustomRPItemInfo* it = D->GetItem(ItemNo);
    const TCustomRPItemInfo* t = D->GetItem(Template);
    if (it->StyleNo < 0 || it->GetContinuesPrev() || it->Checkpoint) return false;
    if (it->StyleNo != t->StyleNo || it->ParaNo != t->ParaNo ||
        (it->ItemOptions & 15) != (t->ItemOptions & 15))
        return false;
    if (it->Hint != t->Hint || TextHex(ItemNo) != TextHex(Template)) return false;
    if (PCharTags(D)) return it->Tag.Text.value_or("") == t->Tag.Text.value_or("");
    return it->Tag.Int == t->Tag.Int;
}

void TRPFWriter::WriteTextHeader(const TCustomRPItemInfo& Item, int Count, int ParaNo, int Options,
                                 bool WithHint, bool Hex) {
    std::string h = RPFFormatTextStyleRef(Item.StyleNo, D->GetRPStyle(), UseNames(D)) + " " +
                    std::to_string(Count) + " " + ParaRef(D, ParaNo) + " " + std::to_string(Options) + " " +
                    (Hex ? "3" : "0") + " " + RPFFormatTag(Item.Tag, PCharTags(D));
    if (WithHint && !Item.Hint.empty()) {
        h += ' ';
        h += RPFQuote(RPFLineText(Item.Hint));
    }
    RPFWriteLine(S, h);
}

void TRPFWriter::Flush(int Count) {
    if (Template < 0 || Count <= 0) {
        Pending = 0;
        return;
    }
    const TCustomRPItemInfo& t = *D->GetItem(Template);
    if (t.Checkpoint) WriteCheckpoint(S, D, *t.Checkpoint);
    int first = Template;
    if (MarkerAhead) {
        int opts = ((t.ItemOptions & 15) | rpioContinuesPrev) & ~(rpioPageBreakBefore | rpioLineBreakBefore);
        WriteTextHeader(t, 1, -1, opts, false, TextHex(first));
        WriteText(D->GetItemText(first), t.IsUnicode(), TextHex(first));
        MarkerAhead = false;
        ++first;
        --Count;
    }
    if (Count > 0) {
        const bool hex = TextHex(first);
        WriteTextHeader(t, Count, ItemParaRef(t), t.ItemOptions & 15, true, hex);
        for (int i = first; i < first + Count; ++i)
            WriteText(D->GetItemText(i), t.IsUnicode(), hex);
    }
    Pending = 0;
    Template = -1;
}

void TRPFWriter::WriteTextPart(int ItemNo, int From, int To) {
    const TCustomRPItemInfo& it = *D->GetItem(ItemNo);
    const bool atStart = From <= D->GetFirstOffsetOfItem(ItemNo);
    int para = atStart && !it.GetContinuesPrev() ? it.ParaNo : -1;
    int opts = it.ItemOptions & 15;
    if (MarkerAhead) {
        para = -1;
        opts = (opts | rpioContinuesPrev) & ~(rpioPageBreakBefore | rpioLineBreakBefore);
        MarkerAhead = false;
    }
    std::string part = ItemTextCopy(D->GetItemText(ItemNo), From, To - From, it.ItemOptions);
    if (para == -1 && part.empty()) return;
    if (atStart && it.Checkpoint) WriteCheckpoint(S, D, *it.Checkpoint);
    const bool hex = it.IsUnicode() && (!Binary || RPFNeedsWideHex(part));
    WriteTextHeader(it, 1, para, opts, true, hex);
    WriteText(part, it.IsUnicode(), hex);
}

void TRPFWriter::WriteNonText(int ItemNo) {
    const TCustomRPItemInfo& it = *D->GetItem(ItemNo);
    if (it.Checkpoint) WriteCheckpoint(S, D, *it.Checkpoint);
    it.SaveRPF(S, D, ItemNo, ItemParaRef(it), D->GetItemText(ItemNo), nullptr, MarkerAhead);
    MarkerAhead = false;
}

// An item selected only in part (a table with some cells selected) writes
// that part as an item of its own, in its own paragraph.
void TRPFWriter::WritePart(int ItemNo, const TRPMultiDrawItemPart* Part) {
    const TCustomRPItemInfo& it = *D->GetItem(ItemNo);
    it.SaveRPF(S, D, ItemNo, ItemParaRef(it), D->GetItemText(ItemNo), const_cast<TRPMultiDrawItemPart*>(Part),
               MarkerAhead);
    MarkerAhead = false;
}

void TRPFWriter::WriteItems(const TRPSaveRange& Range, bool Selection) {
    const int n = D->GetItemCount();
    int First = Range.StartItemNo, Last = Range.EndItemNo;
    const int StartOffs = Range.StartOffs, EndOffs = Range.EndOffs;
    if (First < 0 || First >= n || Last < First) return;
    Last = std::min(Last, n - 1);
    const TRPMultiDrawItemPart* firstPart = Range.PartOf(First);
    const TRPMultiDrawItemPart* lastPart = Last != First ? Range.PartOf(Last) : nullptr;
    const bool firstIsText = D->GetItem(First)->StyleNo >= 0;
    if (!firstPart && First == Last &&
        (StartOffs > D->GetFirstOffsetOfItem(First) || EndOffs < D->GetLastOffsetOfItem(First))) {
        if (firstIsText) WriteTextPart(First, StartOffs, EndOffs);
        return;
    }
    if (firstPart) {
        WritePart(First, firstPart);
        ++First;
    } else if (Selection) {
        int p = D->GetFirstParaItem(First);
        if (p != First && D->GetItem(p)->StyleNo == rpsnListMarker) {
            const TCustomRPItemInfo& m = *D->GetItem(p);
            m.SaveRPF(S, D, p, m.ParaNo, D->GetItemText(p), nullptr, false);
            MarkerAhead = true;
        }
    }
    // A last item selected in part comes after the items before it.
    const int loopLast = lastPart ? Last - 1 : Last;
    for (int i = First; i <= loopLast; ++i) {
        const TCustomRPItemInfo* it = D->GetItem(i);
        if (i == Range.StartItemNo && it->StyleNo >= 0 && StartOffs > D->GetFirstOffsetOfItem(i)) {
            WriteTextPart(i, StartOffs, D->GetLastOffsetOfItem(i));
            continue;
        }
        if (i != First && CanJoin(i)) {
            ++Pending;
            continue;
        }
        Flush(Pending);
        if (it->StyleNo >= 0) {
            Template = i;
            Pending = 1;
        } else if (!(i == Last && EndOffs < D->GetLastOffsetOfItem(i))) {
            WriteNonText(i);
        }
    }
    if (!lastPart && Pending > 0 && Template >= 0 && Template + Pending - 1 == Last &&
        D->GetItem(Last)->StyleNo >= 0 && EndOffs < D->GetLastOffsetOfItem(Last)) {
        Flush(Pending - 1);
        WriteTextPart(Last, D->GetFirstOffsetOfItem(Last), EndOffs);
    } else {
        Flush(Pending);
    }
    if (lastPart) WritePart(Last, lastPart);
    // The document's end checkpoint comes after everything, also after cells
    // of a last table: written before them it would come back as the table's.
    if (Last == n - 1 && EndOffs >= D->GetLastOffsetOfItem(Last) && D->NotAddedCP)
        WriteCheckpoint(S, D, *D->NotAddedCP);
}

} // namespace

// ---------------------------------------------------------------------------

bool RangeLeavesOut(const TCustomRPData& D, const TRPSaveRange& R, int ItemNo) {
    const int sn = D.GetItemStyle(ItemNo);
    if (sn == rpsnListMarker || (sn >= 0 && D.GetItemText(ItemNo).empty())) return false;
    return (ItemNo == R.StartItemNo && D.GetLastOffsetOfItem(ItemNo) <= R.StartOffs) ||
           (ItemNo == R.EndItemNo && D.GetFirstOffsetOfItem(ItemNo) >= R.EndOffs);
}

TRPSaveRange TCustomRPData::GetSaveRange(bool SelectionOnly) {
    TRPSaveRange r;
    const int n = GetItemCount();
    if (n == 0) return r;
    if (!SelectionOnly) {
        r.StartItemNo = 0;
        r.StartOffs = GetFirstOffsetOfItem(0);
        r.EndItemNo = n - 1;
        r.EndOffs = GetLastOffsetOfItem(n - 1);
        return r;
    }
    GetSelectionBounds(r.StartItemNo, r.StartOffs, r.EndItemNo, r.EndOffs, r.StartPart, r.EndPart);
    if (r.StartItemNo < 0 || r.EndItemNo < 0) return TRPSaveRange();
    // A selection made backwards is written forwards.
    if (r.StartItemNo > r.EndItemNo || (r.StartItemNo == r.EndItemNo && r.StartOffs > r.EndOffs)) {
        std::swap(r.StartItemNo, r.EndItemNo);
        std::swap(r.StartOffs, r.EndOffs);
        std::swap(r.StartPart, r.EndPart);
    }
    return r;
}

bool TCustomRPData::SaveRPFToStream(std::string& Stream, bool SelectionOnly, TColor Color,
                                    TRPBackground* Background, TRPLayoutInfo* Layout) {
    if (GetItemCount() == 0) return true;
    const TRPFOptions o = GetRPFOptions();
    const bool binary = (o & rpfoSaveBinary) != 0;
    RPFWriteLine(Stream, "-8 " + std::to_string(RPFVersionMajor) + " " + std::to_string(RPFVersionMinor));
    if (!SelectionOnly && (o & rpfoSaveBack) && Background) {
        const int style = static_cast<int>(Background->Style);
        const std::string color = std::to_string(static_cast<int32_t>(Color));
        TGraphic* pic = Background->Image.get();
        if (!pic || pic->Empty() || Background->Style == bsNoBitmap) {
            RPFWriteLine(Stream, "-7 0 -1 0 0 0 " + std::to_string(style) + " " + color);
        } else {
            RPFWriteLine(Stream, std::string("-7 2 0 0 ") + (binary ? "2" : "0") + " 0 " +
                                     std::to_string(style) + " " + color);
            RPFWriteLine(Stream, pic->ClassName().toStdString());
            if (binary)
                RPFSavePictureBinary(Stream, *pic);
            else
                RPFWriteLine(Stream, RPFSavePictureToHex(*pic));
        }
    }
    if ((GetFlags() & rpflMainDocument) || SelectionOnly) {
        if (TRPStyle* style = GetRPStyle()) {
            if (o & rpfoSaveTextStyles)
                WriteDocRecord(Stream, 1, RPFSaveTextStyles(style->TextStyles()), binary, style->Name);
            if ((o & rpfoSaveParaStyles) && GetRootData() == this) {
                WriteDocRecord(Stream, 2, RPFSaveParaStyles(style->ParaStyles()), binary, style->Name);
                WriteDocRecord(Stream, 4, RPFSaveListStyles(style->ListStyles(), this), binary, style->Name);
            }
        }
        std::vector<std::string>* props = GetRootData()->GetDocProperties();
        if ((o & rpfoSaveDocProperties) && props && !props->empty()) {
            RPFWriteLine(Stream, "-9 " + std::to_string(props->size()) + " 0 0 0 0 5");
            for (const std::string& p : *props)
                RPFWriteLine(Stream, RPFLineText(RPFEncodeLineBreaks(p)));
        }
    }
    if ((o & rpfoSaveLayout) && GetRootData() == this && Layout && !SelectionOnly) {
        RPFWriteLine(Stream, std::string("-9 2 0 0 ") + (binary ? "2" : "0") + " 0 3");
        RPFWriteLine(Stream, "");
        if (binary)
            Layout->SaveToStream(Stream, true);
        else
            Layout->SaveTextToStream(Stream);
    }
    if (SelectionOnly)
        if (TCustomRPData* sub = GetActiveSubData(); sub && sub != this)
            return sub->SaveRPFToStream(Stream, true, Color, nullptr, nullptr);
    TRPFWriter w(this, Stream);
    w.WriteItems(GetSaveRange(SelectionOnly), SelectionOnly);
    return true;
}

void TCustomRPData::WriteRPFData(std::string& Stream) {
    const size_t at = Stream.size();
    RPFWriteInt32(Stream, 0);
    const TRPFOptions o = GetRPFOptions();
    if (o & rpfoSaveBack) SetRPFOptions(o & ~rpfoSaveBack);
    // The document itself: a table stores an edited cell's text back into
    // the cell before it writes it, under the cell's own options.
    SaveRPFToStream(Stream, false, clNone, nullptr, nullptr);
    if (o & rpfoSaveBack) SetRPFOptions(o);
    std::string count;
    RPFWriteInt32(count, static_cast<int32_t>(Stream.size() - at - 4));
    Stream.replace(at, 4, count);
}
