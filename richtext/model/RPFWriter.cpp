// Writing documents as RPF streams, and the per-kind record writers.
#include <algorithm>

#include "platform/Pictures.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPUnicode.h"

namespace {

// String tags may not hold line ends either.
std::string FormatTag(const TRPTag& Tag, bool TagsArePChars) {
    if (!TagsArePChars || !Tag.Text) return RPFFormatTag(Tag, TagsArePChars);
    return RPFFormatTag(TRPTag::FromText(RPFLineText(*Tag.Text)), true);
}

bool UseNames(TCustomRPData* RPData) {
    return (RPData->GetRPFOptions() & rpfoUseStyleNames) != 0;
}

bool PCharTags(TCustomRPData* RPData) {
    return (RPData->GetOptions() & rpoTagsArePChars) != 0;
}

std::string ParaRef(TCustomRPData* RPData, int ParaNo) {
    return RPFFormatParaStyleRef(ParaNo, RPData->GetRPStyle(), UseNames(RPData));
}

// Header of a non-text record: "%d %d %s %d %d %s %s".
void WriteNonTextHeader(std::string& Stream, TCustomRPData* RPData, const TCustomRPItemInfo& Item,
                        int DataCount, int ParaNo, int ReadType, bool ForceContinue) {
    int opts = Item.ItemOptions & 15;
    if (ForceContinue) opts = (opts | rpioContinuesPrev) & ~(rpioPageBreakBefore | rpioLineBreakBefore);
    std::string extra;
    Item.GetRPFExtraText(RPData, extra);
    RPFWriteLine(Stream, std::to_string(Item.StyleNo) + " " + std::to_string(DataCount) + " " +
                             ParaRef(RPData, ForceContinue ? -1 : ParaNo) + " " + std::to_string(opts) + " " +
                             std::to_string(ReadType) + " " + FormatTag(Item.Tag, PCharTags(RPData)) + " " +
                             extra);
}

// A body as one hex line or as a binary block (count and bytes, no line end).
void WriteBody(std::string& Stream, const std::string& Body, bool Binary) {
    if (Binary) {
        RPFWriteInt32(Stream, static_cast<int32_t>(Body.size()));
        Stream += Body;
    } else {
        RPFWriteLine(Stream, RPFStringToHex(Body));
    }
}

std::string GraphicBody(const TGraphic& Graphic) {
    QByteArray b = Graphic.SaveToStream();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

void WriteCheckpoint(std::string& Stream, TCustomRPData* RPData, const TRPCPInfo& CP) {
    RPFWriteLine(Stream, "-2 1 0 0 0 " + FormatTag(CP.Tag, PCharTags(RPData)) + " " +
                             std::to_string(CP.RaiseEvent ? 1 : 0) + " " +
                             std::to_string(CP.Persistent ? 1 : 0));
    RPFWriteLine(Stream, RPFLineText(CP.Name));
}

// One write: the range, the pending text record and the marker written ahead.
class TRPFWriter {
public:
    TRPFWriter(TCustomRPData* RPData, std::string& Stream) : D(RPData), S(Stream) {
        Binary = (D->GetRPFOptions() & rpfoSaveBinary) != 0;
    }

    void WriteItems(int First, int StartOffs, int Last, int EndOffs, bool Selection);

private:
    TCustomRPData* D;
    std::string& S;
    bool Binary = false;
    int Template = -1; // first item of the pending text record
    int Pending = 0;
    bool MarkerAhead = false;

    // UTF-16 text holding a line end of UTF-16 lines goes as hex even in binary mode.
    bool WideHex(int ItemNo) const {
        return D->GetItem(ItemNo)->IsUnicode() && (!Binary || RPFNeedsWideHex(D->GetItemText(ItemNo)));
    }
    void WriteText(std::string_view Text, bool Unicode, bool Hex) {
        if (Unicode)
            RPFWriteTextOrHex(S, Text, true, Hex);
        else
            RPFWriteTextOrHex(S, RPFLineText(Text), false, false);
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
};

bool TRPFWriter::CanJoin(int ItemNo) const {
    if (Template < 0 || Pending == 0) return false;
    const TCustomRPItemInfo* it = D->GetItem(ItemNo);
    const TCustomRPItemInfo* t = D->GetItem(Template);
    if (it->StyleNo < 0 || it->GetContinuesPrev() || it->Checkpoint) return false;
    if (it->StyleNo != t->StyleNo || it->ParaNo != t->ParaNo ||
        (it->ItemOptions & 15) != (t->ItemOptions & 15))
        return false;
    if (it->Hint != t->Hint || WideHex(ItemNo) != WideHex(Template)) return false;
    if (PCharTags(D)) return it->Tag.Text.value_or("") == t->Tag.Text.value_or("");
    return it->Tag.Int == t->Tag.Int;
}

void TRPFWriter::WriteTextHeader(const TCustomRPItemInfo& Item, int Count, int ParaNo, int Options,
                                 bool WithHint, bool Hex) {
    std::string h = RPFFormatTextStyleRef(Item.StyleNo, D->GetRPStyle(), UseNames(D)) + " " +
                    std::to_string(Count) + " " + ParaRef(D, ParaNo) + " " + std::to_string(Options) + " " +
                    (Hex ? "3" : "0") + " " + FormatTag(Item.Tag, PCharTags(D));
    if (WithHint && !Item.Hint.empty()) h += " " + RPFQuote(RPFLineText(Item.Hint));
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
        WriteTextHeader(t, 1, -1, opts, false, WideHex(first));
        WriteText(D->GetItemText(first), t.IsUnicode(), WideHex(first));
        MarkerAhead = false;
        ++first;
        --Count;
    }
    if (Count > 0) {
        const bool hex = WideHex(first);
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

void TRPFWriter::WriteItems(int First, int StartOffs, int Last, int EndOffs, bool Selection) {
    const int n = D->GetItemCount();
    if (First < 0 || First >= n || Last < First) return;
    Last = std::min(Last, n - 1);
    const bool firstIsText = D->GetItem(First)->StyleNo >= 0;
    if (First == Last &&
        (StartOffs > D->GetFirstOffsetOfItem(First) || EndOffs < D->GetLastOffsetOfItem(First))) {
        if (firstIsText) WriteTextPart(First, StartOffs, EndOffs);
        return;
    }
    if (Selection) {
        int p = D->GetFirstParaItem(First);
        if (p != First && D->GetItem(p)->StyleNo == rpsnListMarker) {
            const TCustomRPItemInfo& m = *D->GetItem(p);
            m.SaveRPF(S, D, p, m.ParaNo, D->GetItemText(p), nullptr, false);
            MarkerAhead = true;
        }
    }
    for (int i = First; i <= Last; ++i) {
        const TCustomRPItemInfo* it = D->GetItem(i);
        if (i == First && it->StyleNo >= 0 && StartOffs > D->GetFirstOffsetOfItem(i)) {
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
    if (Pending > 0 && Template >= 0 && Template + Pending - 1 == Last && D->GetItem(Last)->StyleNo >= 0 &&
        EndOffs < D->GetLastOffsetOfItem(Last)) {
        Flush(Pending - 1);
        WriteTextPart(Last, D->GetFirstOffsetOfItem(Last), EndOffs);
    } else {
        Flush(Pending);
    }
    if (Last == n - 1 && EndOffs >= D->GetLastOffsetOfItem(Last) && D->NotAddedCP)
        WriteCheckpoint(S, D, *D->NotAddedCP);
}

} // namespace

// ---------------------------------------------------------------------------

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
            WriteBody(Stream, GraphicBody(*pic), binary);
        }
    }
    if ((GetFlags() & rpflMainDocument) || SelectionOnly) {
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
    int first, startOffs, last, endOffs, x1, x2;
    if (SelectionOnly) {
        GetSelectionBounds(first, startOffs, last, endOffs, x1, x2);
        if (first > last || (first == last && startOffs > endOffs)) {
            std::swap(first, last);
            std::swap(startOffs, endOffs);
        }
    } else {
        first = 0;
        startOffs = GetFirstOffsetOfItem(0);
        last = GetItemCount() - 1;
        endOffs = GetLastOffsetOfItem(last);
    }
    TRPFWriter w(this, Stream);
    w.WriteItems(first, startOffs, last, endOffs, SelectionOnly);
    return true;
}

void TCustomRPData::WriteRPFFormStream(std::string& Stream) {
    const size_t at = Stream.size();
    RPFWriteInt32(Stream, 0);
    const TRPFOptions o = GetRPFOptions();
    if (o & rpfoSaveBack) SetRPFOptions(o & ~rpfoSaveBack);
    GetContentData()->SaveRPFToStream(Stream, false, clNone, nullptr, nullptr);
    if (o & rpfoSaveBack) SetRPFOptions(o);
    std::string count;
    RPFWriteInt32(count, static_cast<int32_t>(Stream.size() - at - 4));
    Stream.replace(at, 4, count);
}

// ---------------------------------------------------------------------------
// Per-kind record writers.

void TCustomRPItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Name, (void)Part;
    WriteNonTextHeader(Stream, RPData, *this, GetRPFExtraPropertyCount(), ParaNo, 0, ForceContinue);
    SaveRPFExtraProperties(Stream);
}

void TRPBreakItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                               const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)ParaNo, (void)Name, (void)Part, (void)ForceContinue;
    WriteNonTextHeader(Stream, RPData, *this, 0, this->ParaNo, 0, false);
}

void TRPGraphicItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                 const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Part;
    const TRPFOptions o = RPData->GetRPFOptions();
    const int props = GetRPFExtraPropertyCount();
    if ((o & rpfoSavePicturesBody) && Image) {
        const bool binary = (o & rpfoSaveBinary) != 0;
        WriteNonTextHeader(Stream, RPData, *this, props + 3, ParaNo, binary ? 2 : 0, ForceContinue);
        RPFWriteLine(Stream, RPFLineText(Name));
        RPFWriteLine(Stream, Image->ClassName().toStdString());
        SaveRPFExtraProperties(Stream);
        WriteBody(Stream, GraphicBody(*Image), binary);
    } else {
        WriteNonTextHeader(Stream, RPData, *this, props + 1, ParaNo, 1, ForceContinue);
        RPFWriteLine(Stream, RPFLineText(Name));
        SaveRPFExtraProperties(Stream);
    }
}

// Controls travel without their body: the application supplies them when read.
void TRPControlItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                 const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Part;
    WriteNonTextHeader(Stream, RPData, *this, GetRPFExtraPropertyCount() + 1, ParaNo, 1, ForceContinue);
    RPFWriteLine(Stream, RPFLineText(Name));
    SaveRPFExtraProperties(Stream);
}

// The image list is named by its tag; lists here carry none, so 0.
void TRPBulletItemInfo::GetRPFExtraText(TCustomRPData* RPData, std::string& s) const {
    (void)RPData;
    s = "0 " + std::to_string(ImageIndex);
}

void TRPBulletItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Part;
    WriteNonTextHeader(Stream, RPData, *this, GetRPFExtraPropertyCount() + 1, ParaNo, 0, ForceContinue);
    RPFWriteLine(Stream, RPFLineText(Name));
    SaveRPFExtraProperties(Stream);
}

void TRPHotspotItemInfo::GetRPFExtraText(TCustomRPData* RPData, std::string& s) const {
    (void)RPData;
    s = "0 " + std::to_string(ImageIndex) + " " + std::to_string(HotImageIndex);
}

void TRPHotspotItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                 const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Part;
    WriteNonTextHeader(Stream, RPData, *this, 1, ParaNo, 0, ForceContinue);
    RPFWriteLine(Stream, RPFLineText(Name));
}
