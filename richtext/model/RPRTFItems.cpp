// The RTF that list styles, list markers and the other non-text items give:
// the list and list override tables, the items' own output and picture groups.
#include <algorithm>
#include <cstdio>

#include "platform/ImageList.h"
#include "platform/LittleEndian.h"
#include "platform/MetafileCanvas.h"
#include "platform/MetafileTranslate.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPRTFWriter.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

std::string Hex2(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%.2X", static_cast<unsigned>(v) & 0xFF);
    return b;
}

int NumberFormat(TRPListType t) {
    switch (t) {
    case rplstDecimal:
    case rplstImageListCounter:
        return 0;
    case rplstUpperRoman:
        return 1;
    case rplstLowerRoman:
        return 2;
    case rplstUpperAlpha:
        return 3;
    case rplstLowerAlpha:
        return 4;
    default:
        return 23; // no number
    }
}

// Level text and level numbers of a level of the list table.
void LevelText(const TRPListLevel& Lv, const TRPStyle& Style, TRPRTFOptions Opt, std::string& Text,
               std::string& Numbers) {
    Numbers.clear();
    // A level text holds at most 255 characters: its length is one byte.
    constexpr size_t MaxText = 255;
    switch (Lv.ListType) {
    case rplstBullet: {
        const std::string t = Lv.FormatString.substr(0, MaxText);
        Text = "\\'" + Hex2(static_cast<int>(t.size())) + RTFEscapeText(t, false);
        break;
    }
    case rplstUnicodeBullet: {
        const std::u16string t = Lv.FormatStringW.substr(0, MaxText);
        std::string body;
        WriteRTFUnicodeText(body, WideStrToItemText(t), Style.DefCodePage, (Opt & rprtfDuplicateUnicode) != 0, false);
        Text = "\\'" + Hex2(static_cast<int>(t.size())) + body;
        break;
    }
    case rplstPicture:
    case rplstImageList:
        Text = "\\'00";
        break;
    default: {
        // The pattern applied to the level numbers 0 .. 8 as single characters;
        // those characters become the placeholders \'00 .. \'08.
        std::vector<std::string> args;
        for (int k = 0; k < 9; ++k)
            args.push_back(std::string(1, static_cast<char>(k)));
        const std::string plain = RPFormatMarkerString(Lv.FormatString, args).substr(0, MaxText);
        for (size_t p = 0; p < plain.size(); ++p)
            if (static_cast<unsigned char>(plain[p]) < 9) Numbers += "\\'" + Hex2(static_cast<int>(p + 1));
        Text = "\\'" + Hex2(static_cast<int>(plain.size())) + RTFEscapeText(plain, false);
        break;
    }
    }
}

// A new id that is none of the ids already used.
int32_t DrawId(const std::vector<int32_t>& Used) {
    int32_t id = 0;
    do
        id = RPRTFListIdSource()();
    while (id <= 0 || std::find(Used.begin(), Used.end(), id) != Used.end());
    return id;
}

// A marker that restarts the numbering of its list (and so takes an override of its own).
bool RestartsNumbering(const TRPMarkerItemInfo& M, const TRPStyle* Style) {
    if (!M.Reset || M.ListNo < 0 || M.Level < 0) return false;
    const TRPListLevel* lv = M.GetLevelInfo(Style);
    return lv && lv->HasNumbering() && lv->ListType != rplstImageListCounter;
}

void AppendHex(std::string& S, const char* Data, size_t Size) {
    static const char digits[] = "0123456789ABCDEF";
    S.reserve(S.size() + Size * 2);
    for (size_t i = 0; i < Size; ++i) {
        const auto c = static_cast<uint8_t>(Data[i]);
        S += digits[c >> 4];
        S += digits[c & 15];
    }
}

// A bitmap body: the device-independent bitmap of its BMP file.
void WriteBitmap(std::string& S, const TBitmap& B) {
    const QByteArray bmp = B.TBitmap::SaveToStream();
    if (bmp.size() < 14 + 16) return;
    // Bytes per row from the bitmap's header: always the positive row size,
    // whichever way round the rows are stored.
    const int w = B.Width(), h = B.Height();
    const int bits = static_cast<uint8_t>(bmp[28]) | (static_cast<uint8_t>(bmp[29]) << 8);
    const int stride = h < 2 ? w : (w * bits + 31) / 32 * 4;
    S += "\\dibitmap0\\wbmwidthbytes" + std::to_string(stride) + "\\picw" + std::to_string(w) + "\\pich" +
         std::to_string(h) + "\\picwgoal" + std::to_string(w * 15) + "\\pichgoal" + std::to_string(h * 15) + " ";
    AppendHex(S, bmp.constData() + 14, static_cast<size_t>(bmp.size() - 14));
}

constexpr uint32_t PlaceableKey = 0x9AC6CDD7u;

} // namespace

std::function<int32_t()>& RPRTFListIdSource() {
    static std::function<int32_t()> source = [] { return Runtime::Random(0x7FFFFFFF); };
    return source;
}

void RPRTFWriteMarkerFont(std::string& S, const TRPMarkerFont& Font, const TRPStyle& RPStyle,
                          const TRPRTFTables& Tables) {
    const int f = Tables.FontTable.Find(Font.Name, Font.Charset);
    if (f >= 0) S += "\\f" + std::to_string(f);
    if (Font.Style & RPFontStyle::Bold) S += "\\b";
    if (Font.Style & RPFontStyle::Italic) S += "\\i";
    if (Font.Style & RPFontStyle::Underline) S += "\\ul";
    if (Font.Style & RPFontStyle::StrikeOut) S += "\\strike";
    S += "\\fs" + std::to_string(Font.Size * 2);
    const TFontInfos& ts = RPStyle.TextStyles();
    if (Font.Charset != rpDefaultCharset && ts.Count() > 0 && Font.Charset != ts.GetItem(0)->Charset)
        S += "\\lang" + std::to_string(CharsetToLangId(Font.Charset));
    if (Font.Color != clWindowText) S += "\\cf" + std::to_string(RPRTFColorNo(Tables, Font.Color));
}

void RPRTFWriteListTables(std::string& S, TCustomRPData* RPData, TRPStyle& RPStyle, TRPRTFTables& T,
                          double TwipsPerPixel) {
    TRPListInfos& ls = RPStyle.ListStyles();
    if (ls.Count() == 0) {
        RPWriteLn(S, "");
        return;
    }
    const TRPRTFOptions opt = RPData->GetRTFOptions();
    auto tw = [&](int px) { return std::to_string(RPTwips(px, TwipsPerPixel)); };
    std::vector<int32_t> used, listIds;
    S += "{\\*\\listtable";
    for (int i = 0; i < ls.Count(); ++i) {
        const TRPListInfo& li = *ls.Items(i);
        const int32_t templateId = DrawId(used);
        used.push_back(templateId);
        S += "{\\list\\listtemplateid" + std::to_string(templateId);
        if (li.Levels.Count() == 1) S += "\\listsimple1";
        RPWriteLn(S, "");
        const int count = li.Levels.Count() <= 1 ? li.Levels.Count() : 9;
        for (int k = 0; k < count; ++k) {
            TRPListLevel& lv = *li.Levels[std::min(k, li.Levels.Count() - 1)];
            const int nfc = NumberFormat(lv.ListType);
            S += "{\\listlevel\\levelnfc" + std::to_string(nfc) + "\\leveljc" +
                 std::to_string(lv.MarkerAlignment == rpmaCenter ? 1 : lv.MarkerAlignment == rpmaRight ? 2 : 0) +
                 "\\li" + tw(lv.LeftIndent) + "\\fi" + tw(lv.MarkerIndent - lv.LeftIndent) + "\\jclisttab\\tx" +
                 tw(lv.FirstIndent + lv.LeftIndent);
            if (nfc != 23) S += "\\levelstartat" + std::to_string(lv.StartFrom);
            if (lv.Options & rploLegalStyleNumbering) S += "\\levellegal1";
            if (!(lv.Options & rploLevelReset)) S += "\\levelnorestart1";
            std::string text, numbers;
            LevelText(lv, RPStyle, opt, text, numbers);
            S += "{\\leveltext" + text + ";}{\\levelnumbers" + numbers + ";}";
            if (lv.UsesFont()) RPRTFWriteMarkerFont(S, *lv.Font(), RPStyle, T);
            RPWriteLn(S, "}");
        }
        const int32_t listId = DrawId(used);
        used.push_back(listId);
        listIds.push_back(listId);
        RPWriteLn(S, "\\listid" + std::to_string(listId) + "}");
    }
    RPWriteLn(S, "}");

    // The override table: one plain override per list, then one per marker
    // that restarts a numbered list, in document order.
    TRPMarkerList* markers = RPData->GetMarkers(false);
    RPWriteLn(S, "{\\*\\listoverridetable");
    int n = 1;
    for (int i = 0; i < ls.Count(); ++i) {
        RPWriteLn(S, "{\\listoverride\\listid" + std::to_string(listIds[static_cast<size_t>(i)]) +
                         "\\listoverridecount0\\ls" + std::to_string(n) + "}");
        ++n;
        if (!markers || i >= T.ListOverrideOffsetsList1.Count() || T.ListOverrideOffsetsList1.Get(i) <= 1)
            continue;
        for (int m = 0; m < markers->Count(); ++m) {
            const TRPMarkerItemInfo& mk = *markers->Get(m);
            if (mk.ListNo != i || !RestartsNumbering(mk, &RPStyle)) continue;
            S += "{\\listoverride\\listid" + std::to_string(listIds[static_cast<size_t>(i)]) +
                 "\\listoverridecount" + std::to_string(mk.Level + 1);
            for (int k = 0; k < mk.Level; ++k)
                S += "{\\lfolevel}";
            S += "{\\lfolevel\\listoverridestartat\\levelstartat" + std::to_string(mk.StartFrom) + "}";
            RPWriteLn(S, "\\ls" + std::to_string(n) + "}");
            ++n;
        }
    }
    RPWriteLn(S, "}");
    TRPIntegerList& c = T.ListOverrideOffsetsList1;
    int next = 1;
    for (int j = 0; j < c.Count(); ++j) {
        const int count = c.Get(j);
        c.Put(j, next);
        next += count;
    }
}

namespace {

// A Windows metafile's records without the placeable header.
void WriteWindowsMetafileBody(std::string& S, const QByteArray& Data) {
    const int skip = Data.size() >= 22 && ReadLe32(Data, 0) == PlaceableKey ? 22 : 0;
    AppendHex(S, Data.constData() + skip, static_cast<size_t>(Data.size() - skip));
}

void WriteEnhancedMetafile(std::string& S, const TMetafile& Mf) {
    const QByteArray data = Mf.SaveToStream();
    S += "\\emfblip\\picw" + std::to_string(Mf.MMWidth()) + "\\pich" + std::to_string(Mf.MMHeight()) + " ";
    AppendHex(S, data.constData(), static_cast<size_t>(data.size()));
}

// A metafile in screen pixels: its size goes in twips too, since readers
// other than ours take picw of this mapping for hundredths of a millimetre.
void WritePixelMetafile(std::string& S, const TMetafile& Mf) {
    S += "\\wmetafile1\\picw" + std::to_string(Mf.Width()) + "\\pich" + std::to_string(Mf.Height()) +
         "\\picwgoal" + std::to_string(Mf.Width() * 15) + "\\pichgoal" + std::to_string(Mf.Height() * 15) +
         " ";
    WriteWindowsMetafileBody(S, Mf.SaveToStream());
}

// A new metafile of the given size holding what Paint draws on it; false
// when a metafile picture drawn was too heavy to render (its frame stands
// in its place) or rendered as nothing here.
template <typename Paint>
bool RecordMetafile(TMetafile& Mf, int Width, int Height, bool Enhanced, Paint&& paint) {
    Mf.SetWidth(Width);
    Mf.SetHeight(Height);
    Mf.SetEnhanced(Enhanced);
    TMetafileCanvas c(&Mf);
    paint(c);
    c.Finish();
    return c.PicturesDrawn() && !c.PicturesBlank();
}

// The Windows metafile copy of an enhanced metafile: its records
// translated, which costs what reading them costs; where a record has no
// counterpart, the picture drawn on a recording canvas, within the bound of
// a drawing. Empty when there is no sound copy: the picture then goes as it
// is, so that nothing is lost and saving never waits long. That is so when
// records of the newer interface draw what no copy holds, when it is too
// heavy to draw, when it draws nothing here (drawn by records that nothing
// here draws, the copy would be a blank box), and when the copy fails the
// checks of Windows metafiles that any reader of ours applies.
QByteArray WindowsMetafileCopy(const TMetafile& Mf) {
    bool lost = false;
    QByteArray wmf = WindowsMetafileOf(Mf.SaveToStream(), &lost);
    if (!wmf.isEmpty() || lost) return wmf;
    TMetafile copy;
    const bool drawn = RecordMetafile(copy, Mf.Width(), Mf.Height(), false, [&](TCanvas& c) {
        c.StretchDraw(Bounds(0, 0, Mf.Width(), Mf.Height()), Mf);
    });
    return drawn && copy.CheckRecords() ? copy.SaveToStream() : QByteArray();
}

} // namespace

void SaveGraphicToRTF(std::string& S, const TGraphic* G, int Width, int Height, TRPRTFOptions Options,
                      double TwipsPerPixel) {
    if (!G) return;
    const auto* mf = dynamic_cast<const TMetafile*>(G);
    // A metafile goes as a Windows metafile: as it is, or an enhanced one
    // as a copy when the options ask for one and it can be made.
    QByteArray copy;
    if (mf && mf->Enhanced() && (Options & rprtfSaveEMFAsWMF)) copy = WindowsMetafileCopy(*mf);
    const bool asWmf = mf && (!mf->Enhanced() || !copy.isEmpty());
    S += "{\\pict";
    auto natural = [&](int mm, int px) {
        if (mf && mm > 0 && asWmf) return static_cast<int>(Round(mm * 72.0 / (127.0 * TwipsPerPixel)));
        return px;
    };
    if (Width > 0 && G->Width() > 0)
        if (const int nw = natural(mf ? mf->MMWidth() : 0, G->Width()); nw > 0)
            S += "\\picscalex" + std::to_string(Round(Width * 100.0 / nw));
    if (Height > 0 && G->Height() > 0)
        if (const int nh = natural(mf ? mf->MMHeight() : 0, G->Height()); nh > 0)
            S += "\\picscaley" + std::to_string(Round(Height * 100.0 / nh));
    if (const auto* bmp = dynamic_cast<const TBitmap*>(G)) {
        WriteBitmap(S, *bmp);
    } else if (mf && !asWmf) {
        WriteEnhancedMetafile(S, *mf);
    } else if (mf) {
        // The copy has the size of the picture it was made of.
        S += "\\wmetafile8\\picw" + std::to_string(mf->MMWidth()) + "\\pich" +
             std::to_string(mf->MMHeight()) + " ";
        WriteWindowsMetafileBody(S, mf->Enhanced() ? copy : mf->SaveToStream());
    } else if (dynamic_cast<const TJPEGImage*>(G) && (Options & rprtfSaveJpegAsJpeg)) {
        const QByteArray data = G->SaveToStream();
        S += "\\jpegblip\\picw" + std::to_string(G->Width()) + "\\pich" + std::to_string(G->Height()) + " ";
        AppendHex(S, data.constData(), static_cast<size_t>(data.size()));
    } else if (Options & rprtfSaveBitmapDefault) {
        TBitmap b;
        b.Assign(*G);
        WriteBitmap(S, b);
    } else {
        TMetafile m;
        const bool enhanced = Options & rprtfSaveEMFDefault;
        RecordMetafile(m, G->Width(), G->Height(), enhanced, [&](TCanvas& c) { c.Draw(0, 0, *G); });
        if (enhanced)
            WriteEnhancedMetafile(S, m);
        else
            WritePixelMetafile(S, m);
    }
    S += "}";
}

void SaveImageListImageToRTF(std::string& S, const TCustomImageList* ImageList, int ImageIndex,
                             TRPRTFOptions Options, double TwipsPerPixel) {
    (void)TwipsPerPixel;
    if (!ImageList || ImageIndex < 0 || ImageIndex >= ImageList->Count()) return;
    S += "{\\pict";
    if (Options & rprtfSaveBitmapDefault) {
        TBitmap b;
        ImageList->GetBitmap(ImageIndex, &b);
        WriteBitmap(S, b);
    } else {
        const int w = ImageList->Width(), h = ImageList->Height();
        TMetafile m;
        RecordMetafile(m, w, h, false, [&](TCanvas& c) {
            c.DrawImage(Bounds(0, 0, w, h), ImageList->Image(ImageIndex), Bounds(0, 0, w, h));
        });
        WritePixelMetafile(S, m);
    }
    S += "}";
}

// ---------------------------------------------------------------------------
// Items

void TCustomRPItemInfo::SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                double TwipsPerPixel, int Level, TRPRTFTables& Tables) const {
    (void)Stream, (void)RPData, (void)ItemNo, (void)Text, (void)TwipsPerPixel, (void)Level, (void)Tables;
}

void TCustomRPItemInfo::FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                                      TCustomRPData* RPData) const {
    (void)ColorList, (void)ListOverrideCount, (void)RPData;
}

void TRPBreakItemInfo::FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                                     TCustomRPData* RPData) const {
    (void)ListOverrideCount, (void)RPData;
    ColorList.AddUnique(Color);
}

void TRPBreakItemInfo::SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                               double TwipsPerPixel, int Level, TRPRTFTables& Tables) const {
    (void)RPData, (void)ItemNo, (void)Text;
    const std::string in = Level == 0 ? std::string() : Level == 1 ? "\\intbl\\itap1" : "\\itap" + std::to_string(Level);
    const int c = Color == clNone ? 0 : RPRTFColorNo(Tables, Color);
    Stream += "\\pard" + in + "\\plain\\fs6\\brdrb\\brdrs\\brdrw" + std::to_string(RPTwips(LineWidth, TwipsPerPixel)) +
              "\\brdrcf" + std::to_string(c) + "\\par\\pard" + in;
}

void TRPGraphicItemInfo::SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                 double TwipsPerPixel, int Level, TRPRTFTables& Tables) const {
    (void)ItemNo, (void)Text, (void)Level, (void)Tables;
    SaveGraphicToRTF(Stream, Image.get(), ImageWidth > 0 ? ImageWidth : 0, ImageHeight > 0 ? ImageHeight : 0,
                     RPData->GetRTFOptions(), TwipsPerPixel);
}

void TRPBulletItemInfo::SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                double TwipsPerPixel, int Level, TRPRTFTables& Tables) const {
    (void)ItemNo, (void)Text, (void)Level, (void)Tables;
    SaveImageListImageToRTF(Stream, ImageList, ImageIndex, RPData->GetRTFOptions(), TwipsPerPixel);
}

void TRPControlItemInfo::SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                 double TwipsPerPixel, int Level, TRPRTFTables& Tables) const {
    (void)ItemNo, (void)Text, (void)TwipsPerPixel, (void)Level, (void)Tables;
    std::string s;
    RPData->DoSaveComponentToFile(std::string(), Control.get(), rpsfRTF, s);
    Stream += s;
}

void TRPMarkerItemInfo::FillRTFTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount,
                                      TCustomRPData* RPData) const {
    (void)ColorList;
    if (RestartsNumbering(*this, RPData->GetRPStyle()) && ListNo < ListOverrideCount.Count())
        ListOverrideCount.Put(ListNo, ListOverrideCount.Get(ListNo) + 1);
}

void TRPMarkerItemInfo::SaveRTF(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                double TwipsPerPixel, int Level_, TRPRTFTables& Tables) const {
    (void)ItemNo, (void)Text, (void)Level_;
    TRPStyle* style = RPData->GetRPStyle();
    TRPListLevel* lv = GetLevelInfo(style);
    if (!lv) return;
    const TRPRTFOptions opt = RPData->GetRTFOptions();
    switch (lv->ListType) {
    case rplstPicture:
        SaveGraphicToRTF(Stream, lv->HasPicture() ? lv->Picture()->Graphic() : nullptr, 0, 0, opt, TwipsPerPixel);
        return;
    case rplstImageList:
    case rplstImageListCounter:
        SaveImageListImageToRTF(Stream, lv->ImageList, ImageIndexIn(*lv), opt, TwipsPerPixel);
        return;
    default:
        break;
    }
    Stream += "{\\listtext\\pard\\plain";
    RPRTFWriteMarkerFont(Stream, *lv->Font(), *style, Tables);
    Stream += " ";
    if (lv->ListType == rplstUnicodeBullet)
        WriteRTFUnicodeText(Stream, WideStrToItemText(lv->FormatStringW), style->DefCodePage,
                            (opt & rprtfDuplicateUnicode) != 0, false);
    else
        RTFAppendEscaped(Stream, DisplayString, false);
    int ls = ListNo < Tables.ListOverrideOffsetsList2.Count() ? Tables.ListOverrideOffsetsList2.Get(ListNo) : 1;
    auto& restarts = Tables.RestartOverrides;
    if (ListNo >= 0 && static_cast<size_t>(ListNo) >= restarts.size())
        restarts.resize(static_cast<size_t>(ListNo) + 1, {0, 0});
    if (RestartsNumbering(*this, style) && ListNo < Tables.ListOverrideOffsetsList1.Count()) {
        ls = Tables.ListOverrideOffsetsList1.Get(ListNo) + 1;
        Tables.ListOverrideOffsetsList1.Put(ListNo, ls);
        restarts[static_cast<size_t>(ListNo)] = {ls, Level};
    } else if (ListNo >= 0) {
        auto& [current, from] = restarts[static_cast<size_t>(ListNo)];
        if (current > 0 && Level >= from)
            ls = current;
        else
            current = 0; // a marker above the restarted level ends it
    }
    Stream += "\\tab}\\ls" + std::to_string(ls) + "\\ilvl" + std::to_string(Level);
}
