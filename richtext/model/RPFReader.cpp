// Reading RPF streams into documents.
#include <algorithm>

#include "platform/Forms.h"
#include "platform/Pictures.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Line modes of the line cutter.
enum { lmText, lmTextThenBinary, lmBinary, lmTextThenWide, lmWide, lmWideLast };
// Record states.
enum { rsHeader, rsData, rsSkip };

bool IsDocRecord(int StyleNo) {
    return StyleNo == -7 || StyleNo == -2 || StyleNo == -9;
}

// Replaces list styles by those of a stream, their list identifiers with them.
void RPFAssignListStyles(TRPListInfos& Target, const TRPListInfos& Source) {
    Target.Assign(Source);
    for (int i = 0; i < Source.Count() && i < Target.Count(); ++i)
        Target.Items(i)->SetLstID(Source.Items(i)->GetLstID());
}

// A whole document is read into this stand-in first and handed over only when
// the stream was read to its end, so that a damaged stream leaves the
// document as it was. It answers settings and events as the document does;
// styles that the stream replaces go into a copy of the style component.
class TRPStagingData : public TCustomRPData {
public:
    TRPStagingData(TCustomRPData& Real, bool CopyStyles) : R(Real) {
        if (TRPStyle* s = Real.GetRPStyle(); s && CopyStyles) {
            FStyle = std::make_unique<TRPStyle>();
            FStyle->SetTextStyles(s->TextStyles());
            FStyle->SetParaStyles(s->ParaStyles());
            FStyle->SetListStyles(s->ListStyles());
        }
    }
    ~TRPStagingData() override {
        DestroyMarkers();
        Clear();
    }

    TCustomRPData& R;
    std::vector<std::string> Props;
    bool TextStylesRead = false, ParaStylesRead = false, ListStylesRead = false;

    // The items read here are the real document's: tables count the tables around it.
    TCustomRPData* GetSourceData() override { return R.GetSourceData(); }
    TRPOptions GetOptions() const override { return R.GetOptions(); }
    TRPFOptions GetRPFOptions() const override { return R.GetRPFOptions(); }
    TRPRTFOptions GetRTFOptions() const override { return R.GetRTFOptions(); }
    uint8_t GetRPFWarnings() const override { return R.GetRPFWarnings(); }
    void SetRPFWarnings(uint8_t Value) override { R.SetRPFWarnings(Value); }
    TRPFReaderStyleMode GetRPFTextStylesReadMode() const override { return R.GetRPFTextStylesReadMode(); }
    TRPFReaderStyleMode GetRPFParaStylesReadMode() const override { return R.GetRPFParaStylesReadMode(); }
    uint32_t GetFlags() const override { return R.GetFlags(); }
    TRPStyle* GetRPStyle() const override { return FStyle ? FStyle.get() : R.GetRPStyle(); }
    void* GetPalette() override { return R.GetPalette(); }
    const void* GetLogPalette() override { return R.GetLogPalette(); }
    TRPPaletteAction GetDoInPaletteMode() override { return R.GetDoInPaletteMode(); }
    TRPBiDiMode GetBiDiMode() override { return R.GetBiDiMode(); }
    void DoItemAction(int ItemAction, TCustomRPItemInfo* Item, std::string& Text, TCustomRPData*) override {
        R.DoItemAction(ItemAction, Item, Text, &R);
    }
    std::string GetDelimiters() override { return R.GetDelimiters(); }
    void GetStyleMapVars(TStyleMapVar& TextMap, TStyleMapVar& ParaMap, TStyleMapVar& ListMap) override {
        R.GetStyleMapVars(TextMap, ParaMap, ListMap);
    }
    void FreeStyleMapVars() override { R.FreeStyleMapVars(); }
    std::vector<std::string>* GetDocProperties() override { return R.GetDocProperties() ? &Props : nullptr; }
    TControl* GetParentControl() override { return R.GetParentControl(); }
    TGraphic* DoRPFPictureNeeded(const std::string& ItemName, const TRPTag& ItemTag) override {
        return R.DoRPFPictureNeeded(ItemName, ItemTag);
    }
    TControl* DoRPFControlNeeded(const std::string& ItemName, const TRPTag& ItemTag) override {
        return R.DoRPFControlNeeded(ItemName, ItemTag);
    }
    TCustomImageList* DoRPFImageListNeeded(int ImageListTag) override {
        return R.DoRPFImageListNeeded(ImageListTag);
    }
    void DoControlAction(int ControlAction, int ItemNo, TControl* Control) override {
        R.DoControlAction(ControlAction, ItemNo, Control);
    }
    TRPMarkerList* GetOuterMarkers() override {
        if (!R.GetOuterMarkers()) return nullptr;
        if (!FOuter) FOuter = std::make_unique<TRPMarkerList>();
        return FOuter.get();
    }

    // Hands everything read over to the document, which is cleared first.
    void Commit() {
        if (FStyle) {
            TRPStyle* s = R.GetRPStyle();
            if (TextStylesRead) s->SetTextStyles(FStyle->TextStyles());
            if (ParaStylesRead) s->SetParaStyles(FStyle->ParaStyles());
            if (ListStylesRead) RPFAssignListStyles(s->ListStyles(), FStyle->ListStyles());
        }
        if (FOuter)
            if (TRPMarkerList* outer = R.GetOuterMarkers()) outer->Swap(*FOuter);
        R.Clear();
        DestroyMarkers();
        for (int i = 0; i < GetItemCount(); ++i) {
            R.Items->AddObject(std::move(Items->Text(i)), Items->TakeObject(i));
            R.GetItem(R.GetItemCount() - 1)->ChangeOwnerData(&R);
        }
        Items->Clear();
        R.FirstCP = FirstCP;
        R.LastCP = LastCP;
        R.NotAddedCP = std::move(NotAddedCP);
        R.CPCount = CPCount;
        FirstCP = LastCP = nullptr;
        CPCount = 0;
        for (int i = 0; i < R.GetItemCount(); ++i) {
            R.AddMarkerInList(i);
            R.GetItem(i)->AfterLoadingCells(3);
        }
        if (std::vector<std::string>* props = R.GetDocProperties()) *props = std::move(Props);
    }

private:
    std::unique_ptr<TRPStyle> FStyle;
    std::unique_ptr<TRPMarkerList> FOuter;
};

struct TRPFHeader {
    int32_t StyleNo = 0;
    int32_t ParaNo = 0;
    int32_t ReadType = 0;
    int32_t Extra = 0; // subtype of document-level records
    int32_t DataCount = 0;
    int32_t LinesRead = 0;
    std::unique_ptr<TCustomRPItemInfo> Item;
    TRPFLineInfo Line;
    int32_t CPFlag1 = 0;
    int32_t CPFlag2 = 0;
    TRPTag Tag;
    int32_t ParaOfFirst = 0; // paragraph taken by the first item of a text record
};

class TRPFReader {
public:
    TRPFReader(TCustomRPData* RPData, std::string_view Data, int Index, bool EditMode, bool WholeDocument,
               TColor& Color, TRPBackground* Background, TRPLayoutInfo* Layout, TRPStagingData* Staging)
        : Index(Index), D(RPData), Buf(Data), EditMode(EditMode), WholeDocument(WholeDocument), Color(Color),
          Background(Background), Layout(Layout), Staging(Staging) {}

    bool Run(int AParaNo, bool UseParaNo, int& ItemsAdded, int& OutInt, bool& OutFlag);
    int Index;
    bool Stopped = false; // the first item was refused
    bool BackgroundRead = false;

private:
    TCustomRPData* D;
    std::string_view Buf;
    size_t Pos = 0;
    bool EditMode, WholeDocument;
    TColor& Color;
    TRPBackground* Background;
    TRPLayoutInfo* Layout;
    TRPStagingData* Staging;
    int VerMajor = 1, VerMinor = 0;
    int State = rsHeader;
    int LineMode = lmText;
    TRPFHeader H;
    std::unique_ptr<TRPCPInfo> PendingCP;
    bool PendingCounted = false; // the pending checkpoint was the document's end checkpoint
    TRPCPInfo* PrevCP = nullptr;
    bool First = true;
    int AParaNo = -1;
    bool UseParaNo = false;
    int ItemsAdded = 0;
    int LastPara = 0;
    int FirstOutInt = -1;
    bool FirstOutFlag = false;
    TRPFOptions Opt = 0;
    // The maps a document keeps for the read, or the reader's own when it keeps none.
    TCustomRPData::TStyleMapVar TextMap = nullptr, ParaMap = nullptr, ListMap = nullptr;
    std::unique_ptr<TRPIntegerList> OwnMaps[3];

    bool CutLine(std::string& Line);
    bool SkipLineEnd();
    bool ParseHeader(const std::string& Line);
    bool CheckStyle(int32_t& No, TRPIntegerList* Map, int Count);
    bool ReadDataLine(const std::string& Line);
    bool ReadStyles(const std::string& Data);
    bool ReadMarkerNumbering(const std::string& Line);
    bool ReadDocLine(const std::string& Line, int LineNo);
    bool ReadBackLine(const std::string& Line, int LineNo);
    bool FinishRecord(const std::string& Text, int LineNo);
    bool InsertItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, int ParaNo);
    // A list marker needs text after it in its paragraph: an empty text goes
    // in after a marker where its paragraph ends.
    bool TextAfterMarker();
    static int MapIndex(TRPIntegerList* Map, int No) {
        return Map && No >= 0 && No < Map->Count() ? Map->Get(No) : No;
    }
};

bool TRPFReader::CutLine(std::string& Line) {
    Line.clear();
    switch (LineMode) {
    case lmBinary: {
        if (Buf.size() - Pos < 4) return false;
        int32_t n = RPFReadInt32(Buf, Pos);
        Pos += 4;
        // A count past the end of the data refuses the stream.
        if (n < 0 || static_cast<size_t>(n) > Buf.size() - Pos) return false;
        Line.assign(Buf.substr(Pos, static_cast<size_t>(n)));
        Pos += static_cast<size_t>(n);
        return true;
    }
    case lmWide:
    case lmWideLast: {
        size_t p = Pos;
        while (Buf.size() - p >= 2) {
            uint16_t u = static_cast<uint8_t>(Buf[p]) | (static_cast<uint8_t>(Buf[p + 1]) << 8);
            if (u == 0x2029 || u == 0) break;
            p += 2;
        }
        Line.assign(Buf.substr(Pos, p - Pos));
        Pos = p;
        return true;
    }
    default: {
        size_t p = Pos;
        while (p < Buf.size() && Buf[p] != '\0' && Buf[p] != '\r' && Buf[p] != '\n')
            ++p;
        Line.assign(Buf.substr(Pos, p - Pos));
        Pos = p;
        return true;
    }
    }
}

bool TRPFReader::SkipLineEnd() {
    switch (LineMode) {
    case lmText:
        if (Pos < Buf.size() && Buf[Pos] == '\0') {
            ++Pos; // a NUL ends the line by itself
            return true;
        }
        if (Pos < Buf.size() && Buf[Pos] == '\r') ++Pos;
        if (Pos < Buf.size() && Buf[Pos] == '\n') ++Pos;
        return true;
    case lmTextThenBinary:
    case lmTextThenWide:
        if (Buf.size() - Pos < 2 || Buf[Pos] != '\r' || Buf[Pos + 1] != '\n') return false;
        Pos += 2;
        LineMode = LineMode == lmTextThenBinary ? lmBinary : lmWide;
        return true;
    case lmBinary:
        LineMode = lmText;
        return true;
    default: {
        // U+2029 or a zero unit ends the line; a lone odd byte at the end goes too.
        if (Buf.size() - Pos >= 2)
            Pos += 2;
        else
            Pos = Buf.size();
        if (LineMode == lmWideLast) LineMode = lmText;
        return true;
    }
    }
}

bool TRPFReader::CheckStyle(int32_t& No, TRPIntegerList* Map, int Count) {
    if (Map) {
        if (No >= Map->Count()) {
            RPFWarn(D, rpfwStyleIndex);
            return false;
        }
        No = Map->Get(No);
    }
    if (No >= Count) {
        RPFWarn(D, rpfwStyleIndex);
        if (!(Opt & rpfoConvUnknownStylesToZero)) return false;
        No = 0;
    }
    return true;
}

bool TRPFReader::ParseHeader(const std::string& Line) {
    H = TRPFHeader();
    const TRPStyle* style = D->GetRPStyle();
    size_t p = 0;
    if (!RPFReadTextStyleRef(Line, p, style, H.StyleNo)) return false;
    if (H.StyleNo == -8) {
        int32_t ma = 0, mi = 0;
        if (!RPFReadInteger(Line, p, ma) || !RPFReadInteger(Line, p, mi)) return false;
        VerMajor = ma;
        VerMinor = mi;
        return true;
    }
    if (!RPFReadInteger(Line, p, H.DataCount) || H.DataCount < 0) return false;
    if (!RPFReadParaStyleRef(Line, p, style, H.ParaNo) || H.ParaNo < -1) return false;
    if (!IsDocRecord(H.StyleNo)) {
        // Only the built-in kinds and the registered ones are made from a stream.
        H.Item = CreateItemByStyleNo(D, H.StyleNo);
        if (H.Item) H.Item->AfterLoading(3);
    }
    if (VerMajor >= 1 && VerMinor >= 2) {
        int32_t o = 0;
        if (!RPFReadInteger(Line, p, o) || o < 0 || o > 15) return false;
        if (H.Item) {
            // Bits 1, 2 and 4 exclude each other; the first one set wins.
            TRPItemOptions v = static_cast<TRPItemOptions>(o);
            if (v & rpioContinuesPrev)
                v &= static_cast<TRPItemOptions>(~(rpioPageBreakBefore | rpioLineBreakBefore));
            else if (v & rpioPageBreakBefore)
                v &= static_cast<TRPItemOptions>(~rpioLineBreakBefore);
            H.Item->ItemOptions = v;
        }
    }
    if (!RPFReadInteger(Line, p, H.ReadType) || H.ReadType < 0 || H.ReadType > 3) return false;
    TRPTag tag;
    if (!RPFReadTag(Line, p, (D->GetOptions() & rpoTagsArePChars) != 0, VerMajor > 1 || VerMinor > 2, tag))
        return false;
    if (H.StyleNo == -9 && !RPFReadInteger(Line, p, H.Extra)) return false;
    if (H.Item)
        H.Item->Tag = tag;
    else
        H.Tag = tag;
    if (H.Item && H.StyleNo >= 0 && H.StyleNo != rpsnParaDefault) {
        if (!CheckStyle(H.StyleNo, TextMap ? TextMap->get() : nullptr, style ? style->TextStyles().Count() : 0))
            return false;
        H.Item->StyleNo = H.StyleNo;
    }
    if (H.Item && H.ParaNo >= 0 &&
        !CheckStyle(H.ParaNo, ParaMap ? ParaMap->get() : nullptr, style ? style->ParaStyles().Count() : 0))
        return false;
    std::string rest = Line.substr(std::min(p, Line.size()));
    if (H.StyleNo == -7) {
        int32_t bs = 0, c = 0;
        size_t q = 0;
        if (!RPFReadInteger(rest, q, bs) || !RPFReadInteger(rest, q, c)) return false;
        if (Opt & rpfoLoadBack) {
            Color = static_cast<TColor>(c);
            BackgroundRead = true;
            if (Background) {
                Background->Style = static_cast<TBackgroundStyle>(std::clamp(bs, 0, 4));
                Background->FreeImage();
            }
        }
        return true;
    }
    if (H.StyleNo == -2) {
        size_t q = 0;
        if (q < rest.size() && !RPFReadInteger(rest, q, H.CPFlag1)) return false;
        if (q < rest.size() && !RPFReadInteger(rest, q, H.CPFlag2)) return false;
        return true;
    }
    if (!H.Item) return true;
    return H.Item->ReadRPFHeaderExtra(rest, D);
}

// Style collections: the document's read modes say whether they replace the
// document's styles (whole documents), map onto them or are merged in.
bool TRPFReader::ReadStyles(const std::string& Data) {
    if (Data.empty() || static_cast<uint8_t>(Data[0]) != rpfCollectionMark) return false;
    TRPStyle* style = D->GetRPStyle();
    const TRPFReaderStyleMode mode =
        H.Extra == 1 ? D->GetRPFTextStylesReadMode() : D->GetRPFParaStylesReadMode();
    if (!style || mode == rpf_sIgnore) return true;
    TCustomRPData::TStyleMapVar map = H.Extra == 1 ? TextMap : H.Extra == 2 ? ParaMap : ListMap;
    if (*map) return true;
    // Read into a collection of the component's own style classes.
    std::unique_ptr<TCustomRPInfos> read;
    bool ok = false;
    if (H.Extra == 1) {
        auto t = std::make_unique<TFontInfos>(style, [style] {
            return std::unique_ptr<TCustomRPInfo>(style->GetTextStyleClass().release());
        });
        ok = RPFLoadTextStyles(Data, *t);
        read = std::move(t);
    } else if (H.Extra == 2) {
        auto t = std::make_unique<TParaInfos>(style, [style] {
            return std::unique_ptr<TCustomRPInfo>(style->GetParaStyleClass().release());
        });
        ok = RPFLoadParaStyles(Data, *t);
        read = std::move(t);
    } else {
        auto t = std::make_unique<TRPListInfos>(style, [style] {
            return std::unique_ptr<TCustomRPInfo>(style->GetListStyleClass().release());
        });
        ok = RPFLoadListStyles(Data, *t, D);
        read = std::move(t);
    }
    if (!ok) return false;
    if (read->Count() == 0) return true;
    TCustomRPInfos& own = H.Extra == 1   ? static_cast<TCustomRPInfos&>(style->TextStyles())
                          : H.Extra == 2 ? static_cast<TCustomRPInfos&>(style->ParaStyles())
                                         : static_cast<TCustomRPInfos&>(style->ListStyles());
    if (WholeDocument) {
        if (H.Extra == 4)
            RPFAssignListStyles(style->ListStyles(), static_cast<TRPListInfos&>(*read));
        else
            own.Assign(*read);
        if (Staging) (H.Extra == 1 ? Staging->TextStylesRead : H.Extra == 2 ? Staging->ParaStylesRead
                                                                            : Staging->ListStylesRead) = true;
        return true;
    }
    *map = std::make_unique<TRPIntegerList>();
    own.MergeWith(*read, mode == rpf_sInsertMap ? 1 : 0, **map,
                  H.Extra == 2 && *TextMap ? TextMap->get() : nullptr);
    return true;
}

bool TRPFReader::ReadMarkerNumbering(const std::string& Line) {
    TRPMarkerList* markers = D->GetOuterMarkers();
    if (!markers) return true;
    const bool ok = H.ReadType == 2 ? markers->LoadBinary(Line, D) : markers->LoadFromHex(Line, D);
    if (!ok) return false;
    const int lists = D->GetRPStyle() ? D->GetRPStyle()->ListStyles().Count() : 0;
    for (int i = 0; i < markers->Count(); ++i) {
        TRPMarkerItemInfo* m = markers->Get(i);
        if (m->ListNo < 0) continue;
        m->ListNo = MapIndex(ListMap->get(), m->ListNo);
        if (m->ListNo >= lists) {
            RPFWarn(D, rpfwStyleIndex);
            m->ListNo = lists > 0 ? 0 : -1;
        }
    }
    return true;
}

bool TRPFReader::ReadDocLine(const std::string& Line, int LineNo) {
    if (H.ReadType == 2 && LineNo == 0) LineMode = lmTextThenBinary;
    switch (H.Extra) {
    case 1:
    case 2:
    case 4:
        if (LineNo == 1) {
            std::string data;
            return RPFReadBody(Line, H.ReadType, data) && ReadStyles(data);
        }
        return true;
    case 3:
        if (LineNo == 1 && WholeDocument && (Opt & rpfoLoadLayout) && Layout) {
            try {
                if (!(H.ReadType == 2 ? Layout->LoadBinary(Line) : Layout->LoadText(Line))) return false;
            } catch (const ERichPadError&) {
                return false;
            }
            if (Layout->FirstParaPartial && Layout->FirstParaListNo >= 0)
                Layout->FirstParaListNo = MapIndex(ListMap->get(), Layout->FirstParaListNo);
        }
        return true;
    case 5:
        if (WholeDocument && (Opt & rpfoLoadDocProperties))
            if (std::vector<std::string>* props = D->GetDocProperties())
                props->push_back(RPFDecodeLineBreaks(Line));
        return true;
    case 6:
        if (LineNo == 1 && WholeDocument && (Opt & rpfoLoadLayout)) return ReadMarkerNumbering(Line);
        return true;
    default:
        return true;
    }
}

bool TRPFReader::ReadBackLine(const std::string& Line, int LineNo) {
    if (LineNo == 0) {
        if (H.ReadType == 2) LineMode = lmTextThenBinary;
        return true;
    }
    if (LineNo != 1 || !(Opt & rpfoLoadBack)) return true;
    std::unique_ptr<TGraphic> g = std::make_unique<TBitmap>();
    bool loaded = false;
    if (H.ReadType == 2)
        loaded = RPFLoadPictureFromBinaryString(Line, *g);
    else if (!RPFLoadPictureFromHex(Line, *g, &loaded))
        return false;
    if (!loaded) return false;
    if (Background) Background->AssignImage(g.release(), D, false);
    return true;
}

bool TRPFReader::ReadDataLine(const std::string& Line) {
    const int lineNo = H.LinesRead;
    switch (H.StyleNo) {
    case -9:
        return ReadDocLine(Line, lineNo);
    case -7:
        return ReadBackLine(Line, lineNo);
    case -2:
        if (!PendingCP) {
            PendingCP = std::make_unique<TRPCPInfo>();
            if (H.ReadType == 3) {
                if (!RPFHexToStream(Line, PendingCP->Name)) return false;
            } else {
                PendingCP->Name = Line;
            }
            PendingCP->Tag = std::move(H.Tag);
            PendingCP->RaiseEvent = H.CPFlag1 != 0;
            PendingCP->Persistent = H.CPFlag2 != 0;
            PendingCounted = false;
        }
        return true;
    default:
        break;
    }
    if (H.StyleNo >= 0) {
        if (H.ReadType != 3) return FinishRecord(Line, lineNo);
        std::string text;
        return RPFHexToStream(Line, text) && FinishRecord(text, lineNo);
    }
    H.Line.ReadType = H.ReadType;
    H.Line.LineNo = lineNo;
    H.Line.LineCount = H.DataCount;
    H.Line.NextLineBinary = false;
    if (!H.Item->ReadRPFLine(Line, D, H.Line)) return false;
    if (H.Line.NextLineBinary) LineMode = lmTextThenBinary;
    if (lineNo == H.DataCount - 1) return FinishRecord(RPFDecodeLineBreaks(H.Line.Name), lineNo);
    return true;
}

bool TRPFReader::FinishRecord(const std::string& Text, int LineNo) {
    if (IsDocRecord(H.StyleNo) || H.StyleNo == -8 || !H.Item) return true;
    std::unique_ptr<TCustomRPItemInfo> item;
    const TRPStyle* style = D->GetRPStyle();
    if (H.StyleNo >= 0) {
        if (EditMode && style && H.StyleNo != rpsnParaDefault && H.StyleNo < style->TextStyles().Count() &&
            (style->TextStyles().GetItem(H.StyleNo)->Protection & rpprRPFInsertProtect))
            return true;
        item = CreateItemByStyleNo(D, H.StyleNo);
        if (!item) return true;
        item->AfterLoading(3);
        item->AssignItem(*H.Item);
        item->Tag = H.Item->Tag;
        if (LineNo > 0) {
            // Further lines of a text record start paragraphs (or lines) of their own.
            item->SetContinuesPrev(false);
            return InsertItem(Text, std::move(item), H.ParaOfFirst);
        }
    } else {
        item = std::move(H.Item);
        if (!item->GetBoolValue(rpbivValid)) return true;
    }
    if (!InsertItem(Text, std::move(item), H.ParaNo)) return false;
    H.ParaOfFirst = LastPara;
    return true;
}

bool TRPFReader::TextAfterMarker() {
    if (Index == 0 || D->GetItem(Index - 1)->StyleNo != rpsnListMarker) return true;
    std::unique_ptr<TCustomRPItemInfo> t = CreateItemByStyleNo(D, 0);
    if (!t) return true;
    t->StyleNo = 0;
    return InsertItem(std::string(), std::move(t), -1);
}

bool TRPFReader::InsertItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, int ParaNo) {
    TCustomRPItemInfo* it = Item.get();
    if (First && UseParaNo) ParaNo = AParaNo;
    // A list marker starts its paragraph, whatever the stream says.
    const bool continues = ParaNo == -1 && D->GetItemCount() > 0 && Index > 0 &&
                           !D->GetItem(Index - 1)->GetBoolValue(rpbivFullLine) &&
                           !it->GetBoolValue(rpbivFullLine) && it->StyleNo != rpsnListMarker;
    // A stream may start a paragraph right after a marker of its own.
    if (!continues && !First && !TextAfterMarker()) return false;
    if (continues) {
        it->SetContinuesPrev(true);
        it->ParaNo = D->GetItem(Index - 1)->ParaNo;
    } else {
        if (it->GetContinuesPrev()) it->ItemOptions &= static_cast<TRPItemOptions>(~rpioContinuesPrev);
        it->ParaNo = ParaNo < 0 ? 0 : ParaNo;
    }
    LastPara = it->ParaNo;
    it->UpdatePaletteInfo(D->GetDoInPaletteMode(), false, D->GetPalette(), D->GetLogPalette());
    // UTF-16 text: whole code units only.
    if (it->StyleNo >= 0) {
        if (it->IsUnicode() && Text.size() % 2) Text.pop_back();
        const int sn = D->GetActualStyle(it);
        const TRPStyle* st = D->GetRPStyle();
        const bool uniStyle =
            st && sn >= 0 && sn < st->TextStyles().Count() && st->TextStyles().GetItem(sn)->Unicode;
        if (it->IsUnicode() && !uniStyle) {
            Text = UnicodeTextToAnsi(D->GetStyleCodePage(sn), Text);
            it->ItemOptions &= static_cast<TRPItemOptions>(~rpioUnicode);
            RPFWarn(D, rpfwToAnsi);
        } else if (!it->IsUnicode() && uniStyle) {
            Text = AnsiToUnicodeText(D->GetStyleCodePage(sn), Text);
            it->ItemOptions |= rpioUnicode;
            RPFWarn(D, rpfwToUnicode);
        }
    }
    int streamList = -1;
    if (auto* m = dynamic_cast<TRPMarkerItemInfo*>(it)) {
        streamList = m->ListNo;
        if (m->ListNo >= 0) {
            if (ListMap && *ListMap) {
                if (m->ListNo >= (*ListMap)->Count()) {
                    RPFWarn(D, rpfwStyleIndex);
                    m->ListNo = 0;
                } else {
                    m->ListNo = (*ListMap)->Get(m->ListNo);
                }
            }
            const TRPStyle* style = D->GetRPStyle();
            const int lists = style ? style->ListStyles().Count() : 0;
            if (m->ListNo >= lists) {
                RPFWarn(D, rpfwStyleIndex);
                m->ListNo = lists > 0 ? 0 : -1;
            }
        }
    }
    // The checkpoint waiting for this item.
    if (PendingCP) {
        if (!EditMode) {
            if (!PendingCounted) ++D->CPCount;
            D->LinkPendingCheckpoint(it, PrevCP, PendingCP);
        } else {
            // The editor counts and links it when the insertion is accepted.
            PendingCP->ItemInfo = it;
            it->Checkpoint = std::move(PendingCP);
        }
        PendingCounted = false;
        PrevCP = it->Checkpoint.get();
    }
    if (First) {
        if (!D->InsertReadItem(Index, Text, Item, FirstOutInt, FirstOutFlag)) {
            // The refused item goes; its checkpoint must not stay in the chain.
            if (it->Checkpoint) {
                if (PrevCP == it->Checkpoint.get()) PrevCP = it->Checkpoint->Prev;
                D->FreeCheckpoint(it->Checkpoint, !EditMode, !EditMode);
            }
            Stopped = true;
            return false;
        }
        First = false;
        // The document put the marker into another list: the stream's other
        // markers of its list follow it there.
        if (FirstOutFlag && streamList >= 0 && ListMap) {
            if (!*ListMap) {
                const TRPStyle* style = D->GetRPStyle();
                const int lists = std::max(style ? style->ListStyles().Count() : 0, streamList + 1);
                *ListMap = std::make_unique<TRPIntegerList>();
                for (int i = 0; i < lists; ++i)
                    (*ListMap)->Add(i);
            }
            if (streamList < (*ListMap)->Count()) (*ListMap)->Put(streamList, FirstOutInt);
        }
    } else {
        it->Inserting(D, Text, false);
        D->Items->InsertObject(Index, Text, std::move(Item));
        it->Inserted(D, Index);
        D->AddMarkerInList(Index);
        ++ItemsAdded;
    }
    if (it->StyleNo == rpsnControl) D->DoControlActionForItem(0, Index, it);
    ++Index;
    return true;
}

bool TRPFReader::Run(int AParaNo_, bool UseParaNo_, int& ItemsAdded_, int& OutInt, bool& OutFlag) {
    AParaNo = AParaNo_;
    UseParaNo = UseParaNo_;
    Opt = D->GetRPFOptions();
    const int start = Index;
    if (Index == D->GetItemCount()) {
        if (!EditMode && D->NotAddedCP) {
            PendingCP = std::move(D->NotAddedCP);
            PendingCounted = true;
        }
        PrevCP = D->LastCP;
    } else {
        PrevCP = D->FindCheckpointBefore(Index);
    }
    D->SetRPFWarnings(0);
    if (WholeDocument)
        if (std::vector<std::string>* props = D->GetDocProperties()) props->clear();
    D->GetStyleMapVars(TextMap, ParaMap, ListMap);
    TCustomRPData::TStyleMapVar* vars[3] = {&TextMap, &ParaMap, &ListMap};
    for (int i = 0; i < 3; ++i)
        if (!*vars[i]) *vars[i] = &OwnMaps[i];

    bool ok = true;
    std::string line;
    while (ok && Pos < Buf.size()) {
        if (!CutLine(line)) {
            ok = false;
            break;
        }
        switch (State) {
        case rsHeader:
            if (!ParseHeader(line)) {
                ok = false;
                break;
            }
            if (H.StyleNo == -8) break;
            if (H.DataCount == 0) {
                ok = FinishRecord(H.Line.Name, 0);
                break;
            }
            if ((!H.Item && !IsDocRecord(H.StyleNo)) || (H.Item && !H.Item->GetBoolValue(rpbivReadsRPFLines))) {
                State = rsSkip;
                if (H.ReadType == 2 && H.DataCount == 1) LineMode = lmTextThenBinary;
                break;
            }
            // Pictures and controls with a body need the name, class and body lines.
            if (H.ReadType != 1 && H.DataCount < 3 &&
                (dynamic_cast<TRPGraphicItemInfo*>(H.Item.get()) ||
                 dynamic_cast<TRPControlItemInfo*>(H.Item.get()))) {
                ok = false;
                break;
            }
            State = rsData;
            if (H.Item && H.StyleNo >= 0 && H.Item->IsUnicode() && H.ReadType != 3) LineMode = lmTextThenWide;
            break;
        case rsData:
            ok = ReadDataLine(line);
            if (++H.LinesRead >= H.DataCount) {
                State = rsHeader;
                if (LineMode == lmWide) LineMode = lmWideLast;
            }
            break;
        default:
            if (++H.LinesRead >= H.DataCount) {
                State = rsHeader;
                ok = FinishRecord(H.Line.Name, 0);
            } else if (H.LinesRead == H.DataCount - 1 && H.ReadType == 2) {
                LineMode = lmTextThenBinary;
            }
            break;
        }
        if (ok && !SkipLineEnd()) ok = false;
    }
    if (State != rsHeader || LineMode != lmText) ok = false;
    if (Stopped) ok = true;

    if (ok && !Stopped) {
        if (Index == D->GetItemCount() || D->IsParaStart(Index)) {
            H = TRPFHeader();
            ok = TextAfterMarker();
        }
        if (!EditMode && D->GetItemCount() > 0) D->UnifyParaNo(std::min(start, D->GetItemCount() - 1));
        if (PendingCP && Index == D->GetItemCount() && !D->NotAddedCP) {
            if (!PendingCounted) ++D->CPCount;
            D->NotAddedCP = std::move(PendingCP);
        }
    }
    D->FreeStyleMapVars();
    if (PendingCP) {
        // The document's own end checkpoint goes back when nothing took it.
        if (PendingCounted && !D->NotAddedCP)
            D->NotAddedCP = std::move(PendingCP);
        else
            D->FreeCheckpoint(PendingCP, false, PendingCounted);
    }
    ItemsAdded_ = ItemsAdded;
    OutInt = FirstOutInt;
    OutFlag = FirstOutFlag;
    return ok;
}

} // namespace

bool TCustomRPData::InsertRPFFromStream(const std::string& Stream, int& Index, int AParaNo, bool EditMode,
                                        bool UseParaNo, bool WholeDocument, TColor& Color,
                                        TRPBackground* Background, TRPLayoutInfo* Layout, int& ItemsAdded,
                                        int& FirstOutInt, bool& FirstOutFlag, bool& Aborted) {
    Aborted = true;
    Index = std::clamp(Index, 0, GetItemCount());
    TRPFReader r(this, Stream, Index, EditMode, WholeDocument, Color, Background, Layout, nullptr);
    const bool ok = r.Run(AParaNo, UseParaNo, ItemsAdded, FirstOutInt, FirstOutFlag);
    Aborted = !ok;
    return ok;
}

// The stream is read into a stand-in and takes the document's place only when
// it was read to its end; the caller's colour, background and layout change
// only then too.
bool TCustomRPData::LoadRPFFromStream(const std::string& Stream, TColor& Color, TRPBackground* Background,
                                      TRPLayoutInfo* Layout) {
    const bool stylesMayChange =
        GetRPFTextStylesReadMode() != rpf_sIgnore || GetRPFParaStylesReadMode() != rpf_sIgnore;
    TRPStagingData staging(*this, stylesMayChange);
    TColor color = Color;
    TRPBackground back(false);
    TRPLayoutInfo layout;
    if (Layout) layout = *Layout;
    int added = 0, outInt = -1;
    bool outFlag = false;
    TRPFReader r(&staging, Stream, 0, false, true, color, Background ? &back : nullptr, Layout ? &layout : nullptr,
                 &staging);
    if (!r.Run(-1, false, added, outInt, outFlag)) return false;
    staging.Commit();
    Color = color;
    if (Layout) *Layout = layout;
    if (Background && r.BackgroundRead) {
        Background->Style = back.Style;
        Background->AssignImage(back.Image.release(), this, false);
    }
    return true;
}

bool TCustomRPData::CheckRPFInsertion(const std::string& Stream, int& ItemCount) {
    ItemCount = 0;
    const bool stylesMayChange =
        GetRPFTextStylesReadMode() != rpf_sIgnore || GetRPFParaStylesReadMode() != rpf_sIgnore;
    TRPStagingData staging(*this, stylesMayChange);
    TColor color = clNone;
    int added = 0, outInt = -1;
    bool outFlag = false;
    TRPFReader r(&staging, Stream, 0, true, false, color, nullptr, nullptr, &staging);
    if (!r.Run(-1, false, added, outInt, outFlag)) return false;
    ItemCount = staging.GetItemCount();
    return true;
}

bool TCustomRPData::ReadRPFData(const std::string& Stream, size_t& Pos) {
    if (Pos > Stream.size() || Stream.size() - Pos < 4) return false;
    const int32_t n = RPFReadInt32(Stream, Pos);
    if (n < 0 || static_cast<size_t>(n) > Stream.size() - Pos - 4) return false;
    const std::string data = Stream.substr(Pos + 4, static_cast<size_t>(n));
    Pos += 4 + static_cast<size_t>(n);
    const uint32_t old = State;
    State |= 0x20000;
    TColor color = clNone;
    const bool ok = LoadRPFFromStream(data, color, nullptr, nullptr);
    State = (State & ~0x20000u) | (old & 0x20000u);
    return ok;
}
