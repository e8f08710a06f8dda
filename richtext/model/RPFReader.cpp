// Reading RPF streams into documents.
#include <algorithm>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Pictures.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPUnicode.h"

namespace {

constexpr uint8_t rpfwUnknownPicture = 1;
constexpr uint8_t rpfwUnknownControl = 2;
constexpr uint8_t rpfwStyleIndex = 4;
constexpr uint8_t rpfwImageIndex = 8;
constexpr uint8_t rpfwToUnicode = 16;
constexpr uint8_t rpfwToAnsi = 32;

// Line modes of the line cutter.
enum { lmText, lmTextThenBinary, lmBinary, lmTextThenWide, lmWide, lmWideLast };
// Record states.
enum { rsHeader, rsData, rsSkip };

int32_t GetInt32(std::string_view s, size_t p) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(s[p + i]);
    return static_cast<int32_t>(v);
}

struct TRPFRecord {
    int32_t StyleNo = 0;
    int32_t ParaNo = 0;
    int32_t ReadType = 0;
    int32_t Extra = 0; // subtype of document-level records
    int32_t DataCount = 0;
    int32_t LinesRead = 0;
    std::unique_ptr<TCustomRPItemInfo> Item;
    std::string Name;
    std::string ClassName;
    int32_t CPFlag1 = 0;
    int32_t CPFlag2 = 0;
    TRPTag Tag;
    int32_t ParaOfFirst = 0; // paragraph taken by the first item of a text record
};

class TRPFReader {
public:
    TRPFReader(TCustomRPData* RPData, std::string_view Data, int Index, bool EditMode, bool WholeDocument,
               TColor& Color, TRPBackground* Background, TRPLayoutInfo* Layout)
        : Index(Index), D(RPData), Buf(Data), EditMode(EditMode), WholeDocument(WholeDocument), Color(Color),
          Background(Background), Layout(Layout) {}

    bool Run(int AParaNo, bool UseParaNo, int& ItemsAdded, int& OutInt, bool& OutFlag);
    int Index;
    bool Stopped = false; // the first item was refused

private:
    TCustomRPData* D;
    std::string_view Buf;
    size_t Pos = 0;
    bool EditMode, WholeDocument;
    TColor& Color;
    TRPBackground* Background;
    TRPLayoutInfo* Layout;
    int VerMajor = 1, VerMinor = 0;
    int State = rsHeader;
    int LineMode = lmText;
    TRPFRecord H;
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
    TCustomRPData::TStyleMapVar TextMap = nullptr, ParaMap = nullptr, ListMap = nullptr;

    void Warn(uint8_t Bit) { D->SetRPFWarnings(D->GetRPFWarnings() | Bit); }
    bool CutLine(std::string& Line);
    bool SkipLineEnd();
    bool ParseHeader(const std::string& Line);
    bool CheckStyle(int32_t& No, TRPIntegerList* Map, int Count);
    bool ReadDataLine(const std::string& Line);
    bool ReadPictureLine(TRPGraphicItemInfo& Pic, const std::string& Line, int LineNo);
    bool ReadControlLine(TRPControlItemInfo& Ctrl, const std::string& Line, int LineNo);
    bool ReadDocLine(const std::string& Line, int LineNo);
    bool ReadBackLine(const std::string& Line, int LineNo);
    bool Body(const std::string& Line, std::string& Data) const;
    bool FinishRecord(const std::string& Text, int LineNo);
    bool InsertItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, int ParaNo);
};

bool TRPFReader::CutLine(std::string& Line) {
    Line.clear();
    switch (LineMode) {
    case lmBinary: {
        if (Buf.size() - Pos < 4) return false;
        int32_t n = GetInt32(Buf, Pos);
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
            Warn(rpfwStyleIndex);
            return false;
        }
        No = Map->Get(No);
    }
    if (No >= Count) {
        Warn(rpfwStyleIndex);
        if (!(Opt & rpfoConvUnknownStylesToZero)) return false;
        No = 0;
    }
    return true;
}

bool TRPFReader::ParseHeader(const std::string& Line) {
    H = TRPFRecord();
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
    if (!RPFReadParaStyleRef(Line, p, style, H.ParaNo)) return false;
    const bool isItem = H.StyleNo != -7 && H.StyleNo != -2 && H.StyleNo != -9;
    if (isItem) {
        H.Item = CreateItemByStyleNo(D, H.StyleNo);
        if (H.Item) H.Item->AfterLoading(3);
    }
    if (VerMajor >= 1 && VerMinor >= 2) {
        int32_t o = 0;
        if (!RPFReadInteger(Line, p, o)) return false;
        if (H.Item) {
            // Bits 1, 2 and 4 exclude each other; the first one set wins.
            TRPItemOptions v = static_cast<TRPItemOptions>(o & 15);
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
        if (!CheckStyle(H.StyleNo, TextMap ? TextMap->get() : nullptr,
                        style ? style->TextStyles().Count() : 0))
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
    if (auto* b = dynamic_cast<TRPBulletItemInfo*>(H.Item.get())) {
        const bool hot = dynamic_cast<TRPHotspotItemInfo*>(b) != nullptr;
        int32_t listTag = 0, idx = 0, hotIdx = 0;
        size_t q = 0;
        if (!RPFReadInteger(rest, q, listTag) || !RPFReadInteger(rest, q, idx)) return false;
        hotIdx = idx;
        if (hot && q < rest.size() && !RPFReadInteger(rest, q, hotIdx)) return false;
        b->ImageList = D->DoRPFImageListNeeded(listTag);
        if (b->ImageList) {
            const int n = b->ImageList->Count();
            for (int32_t* v : {&idx, &hotIdx})
                if (*v < 0 || *v >= n) {
                    Warn(rpfwImageIndex);
                    if (!(Opt & rpfoConvLargeImageIdxToZero)) return false;
                    *v = 0;
                }
        }
        b->ImageIndex = idx;
        if (auto* h = dynamic_cast<TRPHotspotItemInfo*>(b)) h->HotImageIndex = hotIdx;
        return true;
    }
    return H.Item->ReadRPFHeaderExtra(rest);
}

bool TRPFReader::Body(const std::string& Line, std::string& Data) const {
    if (H.ReadType == 2) {
        Data = Line;
        return true;
    }
    return RPFHexToStream(Line, Data);
}

bool TRPFReader::ReadPictureLine(TRPGraphicItemInfo& Pic, const std::string& Line, int LineNo) {
    if (LineNo == 0) {
        H.Name = Line;
        if (H.ReadType == 1) {
            if (TGraphic* g = D->DoRPFPictureNeeded(Line, Pic.Tag)) Pic.Image.reset(g);
        } else if (H.ReadType == 2 && H.DataCount == 3) {
            // nothing: the line before the body switches the mode below
        }
    } else if (H.ReadType != 1 && LineNo == 1) {
        H.ClassName = Line;
        Pic.Image =
            TPicture::CreateByClassName(QString::fromLatin1(Line.data(), static_cast<int>(Line.size())));
        if (!Pic.Image) {
            Warn(rpfwUnknownPicture);
            if (!(Opt & rpfoIgnoreUnknownPicFmt)) return false;
        }
    } else if (H.ReadType != 1 && LineNo == H.DataCount - 1) {
        std::string data;
        if (!Body(Line, data)) return false;
        if (Pic.Image && !Pic.Image->LoadFromStream(QByteArray(data.data(), static_cast<int>(data.size()))))
            Pic.Image.reset(); // an unreadable picture is dropped with its item
    } else {
        Pic.ReadRPFProperty(Line);
    }
    if (H.ReadType == 2 && LineNo == H.DataCount - 2) LineMode = lmTextThenBinary;
    return true;
}

bool TRPFReader::ReadControlLine(TRPControlItemInfo& Ctrl, const std::string& Line, int LineNo) {
    if (LineNo == 0) {
        H.Name = Line;
        if (H.ReadType == 1) {
            if (TControl* c = D->DoRPFControlNeeded(Line, Ctrl.Tag)) {
                Ctrl.Control.reset(c);
                c->Hide();
                if (auto* parent = dynamic_cast<TWinControl*>(D->GetParentControl())) c->SetParent(parent);
            }
        }
    } else if (H.ReadType != 1 && LineNo == 1) {
        H.ClassName = Line;
    } else if (H.ReadType != 1 && LineNo == H.DataCount - 1) {
        // No class may be made from a stored control body (a stream could name
        // any class and set any property): the control is refused with a
        // warning, its item is left out, and the rest of the document loads.
        Warn(rpfwUnknownControl);
    } else {
        Ctrl.ReadRPFProperty(Line);
    }
    if (H.ReadType == 2 && LineNo == H.DataCount - 2) LineMode = lmTextThenBinary;
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
            if (!Body(Line, data) || data.empty() || data[0] != 14) return false;
            // Style collections are checked but not applied.
        }
        return true;
    case 3:
        if (LineNo == 1 && WholeDocument && (Opt & rpfoLoadLayout) && Layout) {
            try {
                return H.ReadType == 2 ? Layout->LoadBinary(Line) : Layout->LoadText(Line);
            } catch (const ERichPadError&) {
                return false;
            }
        }
        return true;
    case 5:
        if (WholeDocument && (Opt & rpfoLoadDocProperties))
            if (std::vector<std::string>* props = D->GetDocProperties())
                props->push_back(RPFDecodeLineBreaks(Line));
        return true;
    default:
        return true;
    }
}

bool TRPFReader::ReadBackLine(const std::string& Line, int LineNo) {
    if (LineNo == 0) {
        H.ClassName = Line;
        if (H.ReadType == 2) LineMode = lmTextThenBinary;
        return true;
    }
    if (LineNo != 1 || !(Opt & rpfoLoadBack)) return true;
    std::string data;
    if (!Body(Line, data)) return false;
    std::unique_ptr<TGraphic> g = std::make_unique<TBitmap>();
    if (!g->LoadFromStream(QByteArray(data.data(), static_cast<int>(data.size())))) return false;
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
            PendingCP->Name = Line;
            PendingCP->Tag = std::move(H.Tag);
            PendingCP->RaiseEvent = H.CPFlag1 != 0;
            PendingCP->Persistent = H.CPFlag2 != 0;
            PendingCounted = false;
        }
        return true;
    default:
        break;
    }
    if (H.StyleNo >= 0) return FinishRecord(Line, lineNo);
    bool ok;
    if (auto* pic = dynamic_cast<TRPGraphicItemInfo*>(H.Item.get()))
        ok = ReadPictureLine(*pic, Line, lineNo);
    else if (auto* ctrl = dynamic_cast<TRPControlItemInfo*>(H.Item.get()))
        ok = ReadControlLine(*ctrl, Line, lineNo);
    else if (dynamic_cast<TRPBulletItemInfo*>(H.Item.get())) {
        if (lineNo == 0)
            H.Name = Line;
        else
            H.Item->ReadRPFProperty(Line);
        ok = true;
    } else
        ok = H.Item->ReadRPFLine(Line, D, H.ReadType, lineNo, H.DataCount);
    if (!ok) return false;
    if (lineNo == H.DataCount - 1) return FinishRecord(H.Name, lineNo);
    return true;
}

bool TRPFReader::FinishRecord(const std::string& Text, int LineNo) {
    if (H.StyleNo == -7 || H.StyleNo == -8 || H.StyleNo == -9 || H.StyleNo == -2 || !H.Item) return true;
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

bool TRPFReader::InsertItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, int ParaNo) {
    TCustomRPItemInfo* it = Item.get();
    if (First && UseParaNo) ParaNo = AParaNo;
    const int n = D->GetItemCount();
    if (ParaNo == -1 && n > 0 && Index > 0 && !D->GetItem(Index - 1)->GetBoolValue(rpbivFullLine) &&
        !it->GetBoolValue(rpbivFullLine)) {
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
        if (it->IsUnicode()) {
            if (H.ReadType == 3) Text = RPFHexToString(Text);
            if (Text.size() % 2) Text.pop_back();
        }
        const int sn = D->GetActualStyle(it);
        const TRPStyle* st = D->GetRPStyle();
        const bool uniStyle =
            st && sn >= 0 && sn < st->TextStyles().Count() && st->TextStyles().GetItem(sn)->Unicode;
        if (it->IsUnicode() && !uniStyle) {
            Text = UnicodeTextToAnsi(D->GetStyleCodePage(sn), Text);
            it->ItemOptions &= static_cast<TRPItemOptions>(~rpioUnicode);
            Warn(rpfwToAnsi);
        } else if (!it->IsUnicode() && uniStyle) {
            Text = AnsiToUnicodeText(D->GetStyleCodePage(sn), Text);
            it->ItemOptions |= rpioUnicode;
            Warn(rpfwToUnicode);
        }
    }
    if (auto* m = dynamic_cast<TRPMarkerItemInfo*>(it)) {
        if (m->ListNo >= 0) {
            if (ListMap && *ListMap) {
                if (m->ListNo >= (*ListMap)->Count()) {
                    Warn(rpfwStyleIndex);
                    m->ListNo = 0;
                } else {
                    m->ListNo = (*ListMap)->Get(m->ListNo);
                }
            }
            const TRPStyle* style = D->GetRPStyle();
            const int lists = style ? style->ListStyles().Count() : 0;
            if (m->ListNo >= lists) {
                Warn(rpfwStyleIndex);
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
                ok = FinishRecord(H.Name, 0);
                break;
            }
            if ((!H.Item && H.StyleNo != -2 && H.StyleNo != -7 && H.StyleNo != -9) ||
                (H.Item && !H.Item->GetBoolValue(rpbivReadsRPFLines))) {
                State = rsSkip;
                if (H.ReadType == 2 && H.DataCount == 1) LineMode = lmTextThenBinary;
                break;
            }
            // Pictures with a body need the name, class and body lines.
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
                ok = FinishRecord(H.Name, 0);
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
        // A list marker needs text after it in its paragraph.
        if (Index > 0 && D->GetItem(Index - 1)->StyleNo == rpsnListMarker &&
            (Index == D->GetItemCount() || D->IsParaStart(Index))) {
            H = TRPFRecord();
            if (std::unique_ptr<TCustomRPItemInfo> t = CreateItemByStyleNo(D, 0)) {
                t->StyleNo = 0;
                ok = InsertItem(std::string(), std::move(t), -1);
            }
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
    TRPFReader r(this, Stream, Index, EditMode, WholeDocument, Color, Background, Layout);
    const bool ok = r.Run(AParaNo, UseParaNo, ItemsAdded, FirstOutInt, FirstOutFlag);
    Aborted = !ok;
    return ok;
}

bool TCustomRPData::LoadRPFFromStream(const std::string& Stream, TColor& Color, TRPBackground* Background,
                                      TRPLayoutInfo* Layout) {
    Clear();
    int index = 0, added = 0, outInt = -1;
    bool outFlag = false, aborted = false;
    return InsertRPFFromStream(Stream, index, -1, false, false, true, Color, Background, Layout, added,
                               outInt, outFlag, aborted);
}

bool TCustomRPData::ReadRPFFormStream(const std::string& Stream, size_t& Pos) {
    if (Pos > Stream.size() || Stream.size() - Pos < 4) return false;
    const int32_t n = GetInt32(Stream, Pos);
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
