// Writing documents as RTF: the header with its font, colour, style-sheet and
// list tables, then paragraphs, text runs, bookmarks, hyperlink fields and the
// items, which write themselves.
#include "richtext/model/RPRTFWriter.h"

#include <QFile>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>

#include "platform/Runtime.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Screen pixels per inch: the program lays out at a fixed 96.
constexpr double ScreenTwipsPerPixel = 1440.0 / 96;

const char* const AlignmentLetters[] = {"l", "r", "c", "j"};

// The colours every colour table starts with, after the automatic colour.
const int FixedColors[16][3] = {{0, 0, 0},     {0, 0, 255},   {0, 255, 255},  {0, 255, 0},
                                {255, 0, 255}, {255, 0, 0},   {255, 255, 0},  {255, 255, 255},
                                {0, 0, 128},   {0, 128, 128}, {0, 128, 0},    {128, 0, 128},
                                {128, 0, 0},   {128, 128, 0}, {128, 128, 128}, {192, 192, 192}};

TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

// Whether a byte begins a two-byte character in a double-byte code page.
bool IsLeadByte(int CodePage, uint8_t b) {
    switch (CodePage) {
    case 932:
    case 10001: // Mac Japanese: Shift-JIS
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
    case 10002: // the Mac pages of Big5, Hangul and GB2312
    case 10003:
    case 10008:
        return b >= 0x81 && b <= 0xFE;
    case 1361:
        return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
    default:
        return false;
    }
}

// 8-bit text escaped; both bytes of a double-byte character go as hex, since
// a second byte can be a backslash or a brace that readers would take apart.
void AppendText(std::string& S, std::string_view Text, bool CodeMode, int CodePage) {
    size_t from = 0;
    for (size_t i = 0; i < Text.size(); ++i) {
        if (!IsLeadByte(CodePage, static_cast<uint8_t>(Text[i])) || i + 1 >= Text.size()) continue;
        RTFAppendEscaped(S, Text.substr(from, i - from), CodeMode);
        RTFAppendHexBytes(S, Text.substr(i, 2));
        from = ++i + 1;
    }
    RTFAppendEscaped(S, Text.substr(from), CodeMode);
}

void Num(std::string& S, const char* Word, int Value) {
    S += Word;
    S += std::to_string(Value);
}

// One write of a document or of a table cell's document.
class TRTFWrite {
public:
    TRTFWrite(TCustomRPData* D, std::string& S, TRPStyle& Style, TRPRTFTables& T, double Tpp, int Level)
        : D(D), S(S), Style(Style), T(T), Tpp(Tpp), Level(Level), Opt(D->GetRTFOptions()) {}

    void BuildFontTable();
    void BuildColorTable(TColor Color);
    void WriteHeader();
    void WriteBody(const TRPSaveRange& R, bool Selection);

private:
    TCustomRPData* D;
    std::string& S;
    TRPStyle& Style;
    TRPRTFTables& T;
    double Tpp;
    int Level;
    TRPRTFOptions Opt;
    bool FirstPara = true;
    int CPCounter = 0;

    int Twips(int px) const { return RPTwips(px, Tpp); }
    int ColorNo(TColor c) const { return RPRTFColorNo(T, c); }
    std::string Extra(int Area, void* Obj, int Index1, bool InStyleSheet) {
        std::string code;
        D->DoSaveRTFExtra(Area, Obj, Index1, -1, InStyleSheet, code);
        return code;
    }
    void WriteCharProps(int StyleNo, bool InStyleSheet);
    void WriteParaProps(int ParaNo, const TRPMarkerItemInfo* Marker, bool InStyleSheet);
    void WriteStyleSheet();
    void WriteBookmark(const TRPCPInfo& CP);
    void WriteText(int ItemNo, const TRPSaveRange& R);
};

void TRTFWrite::BuildFontTable() {
    T.FontTable.Clear();
    T.StyleToFont.Clear();
    const TFontInfos& ts = Style.TextStyles();
    for (int i = 0; i < ts.Count(); ++i)
        T.StyleToFont.Add(T.FontTable.AddUnique(ts.GetItem(i)->FontName, ts.GetItem(i)->Charset));
    const TRPListInfos& ls = Style.ListStyles();
    for (int i = 0; i < ls.Count(); ++i)
        for (int k = 0; k < ls.Items(i)->Levels.Count(); ++k) {
            TRPListLevel& lv = *ls.Items(i)->Levels[k];
            if (lv.UsesFont()) T.FontTable.AddUnique(lv.Font()->Name, lv.Font()->Charset);
        }
}

void TRTFWrite::BuildColorTable(TColor Color) {
    T.ColorList.Clear();
    T.ListOverrideOffsetsList1.Clear();
    T.ColorList.Add(clWindowText);
    for (const auto& c : FixedColors)
        T.ColorList.Add(RGBColor(c[0], c[1], c[2]));
    const TFontInfos& ts = Style.TextStyles();
    for (int i = 0; i < ts.Count(); ++i) {
        const TFontInfo& f = *ts.GetItem(i);
        for (TColor c : {f.Color, f.BackColor, f.HoverColor, f.HoverBackColor})
            T.ColorList.AddUnique(c);
    }
    const TParaInfos& ps = Style.ParaStyles();
    for (int i = 0; i < ps.Count(); ++i) {
        const TParaInfo& p = *ps.GetItem(i);
        if (p.Border.Style != rpbNone) T.ColorList.AddUnique(p.Border.Color);
        T.ColorList.AddUnique(p.Background.Color);
    }
    const TRPListInfos& ls = Style.ListStyles();
    for (int i = 0; i < ls.Count(); ++i) {
        T.ListOverrideOffsetsList1.Add(1);
        for (int k = 0; k < ls.Items(i)->Levels.Count(); ++k) {
            TRPListLevel& lv = *ls.Items(i)->Levels[k];
            if (lv.UsesFont()) T.ColorList.AddUnique(lv.Font()->Color);
        }
    }
    D->BuildRTFColorAndListTables(T.ColorList, T.ListOverrideOffsetsList1);
    if (Color != clWindow) T.ColorList.AddUnique(Color);
}

void TRTFWrite::WriteHeader() {
    const TFontInfos& ts = Style.TextStyles();
    const int lang = CharsetToLangId(ts.Count() > 0 ? ts.GetItem(0)->Charset : rpDefaultCharset);
    // Code page 0 stands for the system's page, which is 1252 here.
    const int codePage = Style.DefCodePage ? Style.DefCodePage : 1252;
    S += "{\\rtf1\\ansi\\ansicpg" + std::to_string(codePage) +
         "\\uc1\\deff0\\deflang" + std::to_string(lang) + "\\deflangfe" + std::to_string(lang);
    const TRPBiDiMode bidi = D->GetBiDiMode();
    if (bidi == rpbdLeftToRight) S += "\\ltrdoc";
    if (bidi == rpbdRightToLeft) S += "\\rtldoc";
    S += "{\\fonttbl";
    for (int i = 0; i < T.FontTable.Count(); ++i) {
        const TRPRTFFontTableItem& f = *T.FontTable.GetItem(i);
        S += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + std::to_string(f.Charset);
        // The default charset names no encoding, and readers guess badly: the
        // code page goes with it.
        if (f.Charset == rpDefaultCharset) S += "\\cpg" + std::to_string(codePage);
        S += " ";
        // A name with braces, backslashes or a semicolon must not end the entry early.
        for (char c : f.FontName)
            if (c == ';')
                S += "\\'3b";
            else
                RTFAppendEscaped(S, std::string_view(&c, 1), false);
        S += ";}";
    }
    S += "}{\\colortbl;";
    for (int i = 1; i < T.ColorList.Count(); ++i) {
        const TColor c = ColorToRGB(static_cast<TColor>(T.ColorList.Get(i)));
        S += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
             std::to_string((c >> 16) & 0xFF) + ";";
    }
    S += "}";
    if (Opt & rprtfSaveStyleSheet) WriteStyleSheet();
    RPRTFWriteListTables(S, D, Style, T, Tpp);
    T.ListOverrideOffsetsList2.Assign(T.ListOverrideOffsetsList1);
    RPWriteLn(S, Extra(4, nullptr, -1, false));
}

void TRTFWrite::WriteStyleSheet() {
    S += "{\\stylesheet";
    const TParaInfos& ps = Style.ParaStyles();
    for (int i = 0; i < ps.Count(); ++i) {
        Num(S, "{\\s", i);
        WriteParaProps(i, nullptr, true);
        S += RTFEscapeName(ps.GetItem(i)->StyleName) + ";}";
    }
    const TFontInfos& ts = Style.TextStyles();
    for (int j = 0; j < ts.Count(); ++j) {
        Num(S, "{\\*\\cs", ps.Count() + j);
        WriteCharProps(j, true);
        S += RTFEscapeName(ts.GetItem(j)->StyleName) + ";}";
    }
    S += "}";
}

void TRTFWrite::WriteCharProps(int StyleNo, bool InStyleSheet) {
    const TFontInfos& ts = Style.TextStyles();
    if (StyleNo < 0 || StyleNo >= ts.Count()) StyleNo = 0;
    const TFontInfo& f = *ts.GetItem(StyleNo);
    Num(S, "\\f", StyleNo < T.StyleToFont.Count() ? T.StyleToFont.Get(StyleNo) : 0);
    if (f.Style & RPFontStyle::Bold) S += "\\b";
    if (f.Style & RPFontStyle::Italic) S += "\\i";
    if (f.Style & RPFontStyle::Underline) S += "\\ul";
    if (f.Style & RPFontStyle::StrikeOut) S += "\\strike";
    if (f.VShift < 0) S += "\\sub";
    if (f.VShift > 0) S += "\\super";
    if (f.CharScale != 100) Num(S, "\\charscalex", f.CharScale);
    if (f.CharSpacing != 0) Num(S, "\\expndtw", Twips(f.CharSpacing));
    if (f.StyleEx & rpfsAllCaps) S += "\\caps";
    if (f.BiDiMode == rpbdLeftToRight) S += "\\ltrch";
    if (f.BiDiMode == rpbdRightToLeft) S += "\\rtlch";
    if (f.Charset != rpDefaultCharset && ts.Count() > 0 && f.Charset != ts.GetItem(0)->Charset)
        Num(S, "\\lang", CharsetToLangId(f.Charset));
    Num(S, "\\fs", f.Size * (f.VShift != 0 ? 4 : 2));
    if (f.BackColor != clNone) Num(S, "\\chcbpat", ColorNo(f.BackColor));
    if (f.Color != clWindowText) Num(S, "\\cf", ColorNo(f.Color));
    S += Extra(0, const_cast<TFontInfo*>(&f), StyleNo, InStyleSheet) + " ";
}

void TRTFWrite::WriteParaProps(int ParaNo, const TRPMarkerItemInfo* Marker, bool InStyleSheet) {
    const TParaInfo& p = *Style.ParaStyles().GetItem(ParaNo);
    // What the layout shows: less than single spacing down to half of it, but
    // nothing that other readers would squeeze lines together with. Rounded
    // up, so that a reader that rounds down gets the percentage back. A style
    // may hold any percentage: widened, and cut to the 32 bits of an RTF number.
    if (const int percent = p.ShownLineSpacingPercent(); percent != 100)
        S += "\\sl" +
             std::to_string(std::min<int64_t>((static_cast<int64_t>(percent) * 240 + 99) / 100,
                                              std::numeric_limits<int32_t>::max())) +
             "\\slmult1";
    const TRPBorder& b = p.Border;
    const bool border = b.Style != rpbNone && b.Color != clNone;
    // Indents and spaces here reach the text; in RTF they reach the border,
    // whose width and gap (\brsp) readers add back.
    const int bw = border ? b.GetTotalWidth() : 0;
    TRPRect gap;
    if (border) {
        const TRPRect& o = b.BorderOffsets;
        const TRPBooleanRect& v = b.VisibleBorders;
        gap.Left = v.Left ? o.Left : 0;
        gap.Top = v.Top ? o.Top : 0;
        gap.Right = v.Right ? o.Right : 0;
        gap.Bottom = v.Bottom ? o.Bottom : 0;
    }
    const TRPListLevel* lv = Marker ? Marker->GetLevelInfo(&Style) : nullptr;
    if (lv) {
        S += "\\li" + std::to_string(Twips(lv->LeftIndent)) + "\\fi" +
             std::to_string(Twips(lv->MarkerIndent - lv->LeftIndent)) + "\\jclisttab\\tx" +
             std::to_string(Twips(lv->FirstIndent + lv->LeftIndent));
    } else {
        S += "\\fi" + std::to_string(Twips(p.FirstIndent)) + "\\li" +
             std::to_string(Twips(p.LeftIndent - bw - gap.Left));
    }
    S += std::string("\\q") + AlignmentLetters[p.Alignment & 3] + "\\ri" +
         std::to_string(Twips(p.RightIndent - bw - gap.Right)) + "\\sb" +
         std::to_string(Twips(p.SpaceBefore - bw - gap.Top)) + "\\sa" +
         std::to_string(Twips(p.SpaceAfter - bw - gap.Bottom));
    if (p.BiDiMode == rpbdLeftToRight) S += "\\ltrpar";
    if (p.BiDiMode == rpbdRightToLeft) S += "\\rtlpar";
    if (p.Background.Color != clNone) Num(S, "\\cbpat", ColorNo(p.Background.Color));
    if (border) {
        S += "\\brdrbtw";
        static const char* const kinds[] = {"", "s", "th", "triple", "thtnmg", "tnthmg"};
        std::string k1 = std::string("\\brdr") + kinds[b.Style];
        std::string k2 = b.Style == rpbThickInside    ? "\\brdrtnthmg"
                         : b.Style == rpbThickOutside ? "\\brdrthtnmg"
                                                      : k1;
        const int w = b.Style == rpbThickInside || b.Style == rpbThickOutside ? b.Width * 2 : b.Width;
        const std::string cw = "\\brdrcf" + std::to_string(ColorNo(b.Color)) + "\\brdrw" + std::to_string(Twips(w));
        k1 += cw;
        k2 += cw;
        const TRPRect& o = b.BorderOffsets;
        std::string r;
        if (b.VisibleBorders.Left) r += "\\brdrl\\brsp" + std::to_string(Twips(o.Left)) + k1;
        if (b.VisibleBorders.Top) r += "\\brdrt\\brsp" + std::to_string(Twips(o.Top)) + k1;
        if (b.VisibleBorders.Right) r += "\\brdrr\\brsp" + std::to_string(Twips(o.Right)) + k2;
        if (b.VisibleBorders.Bottom) r += "\\brdrb\\brsp" + std::to_string(Twips(o.Bottom)) + k2;
        S += r;
    }
    if (!InStyleSheet) Num(S, "\\itap", Level);
    if (Level >= 1) S += "\\intbl";
    S += Extra(1, const_cast<TParaInfo*>(&p), ParaNo, InStyleSheet) + " ";
}

void TRTFWrite::WriteBookmark(const TRPCPInfo& CP) {
    std::string name = MakeRTFIdentifier(CP.Name);
    if (name.empty()) name = "RichPadCheckpoint" + std::to_string(CPCounter);
    S += "{\\*\\bkmkstart " + name + "}{\\*\\bkmkend " + name + "}";
}

void TRTFWrite::WriteText(int ItemNo, const TRPSaveRange& R) {
    const TCustomRPItemInfo& it = *D->GetItem(ItemNo);
    const int sn = D->GetItemStyle(ItemNo);
    const TFontInfo& f = *Style.TextStyles().GetItem(sn);
    const std::string& full = D->GetItemText(ItemNo);
    std::string cut;
    const std::string* text = &full;
    const int last = D->GetLastOffsetOfItem(ItemNo);
    const int from = ItemNo == R.StartItemNo ? R.StartOffs : 1;
    const int to = ItemNo == R.EndItemNo ? R.EndOffs : last;
    if (from > 1 || to < last) {
        cut = ItemTextCopy(full, from, to - from, it.ItemOptions);
        text = &cut;
    }
    S += "\\plain ";
    if (Opt & rprtfSaveStyleSheet) Num(S, "\\s", sn + Style.ParaStyles().Count());
    WriteCharProps(sn, false);
    std::string supplied;
    const bool code = (f.Options & rpteoRTFCode) != 0;
    if (D->DoSaveItemToFile(std::string(), D, ItemNo, rpsfRTF, false, supplied))
        S += supplied;
    else if (it.IsUnicode())
        WriteRTFUnicodeText(S, *text, D->GetStyleCodePage(sn), (Opt & rprtfDuplicateUnicode) != 0, code);
    else
        AppendText(S, *text, code, D->GetStyleCodePage(sn));
    // A raised or lowered run ends here: some readers would otherwise carry
    // the shift over the next \plain or paragraph end and misplace the text.
    if (f.VShift != 0) S += "\\nosupersub";
}

void TRTFWrite::WriteBody(const TRPSaveRange& R, bool Selection) {
    if (Level == 0 && Selection && !R.StartPart) {
        const int p = D->GetFirstParaItem(R.StartItemNo);
        if (p < R.StartItemNo && D->GetItemStyle(p) == rpsnListMarker) {
            D->GetItem(p)->SaveRTF(S, D, p, D->GetItemText(p), Tpp, Level, T);
            FirstPara = false;
        }
    }
    const bool oneText = R.StartItemNo == R.EndItemNo && D->GetItemStyle(R.StartItemNo) >= 0;
    for (int i = R.StartItemNo; i <= R.EndItemNo; ++i) {
        const TCustomRPItemInfo& it = *D->GetItem(i);
        const std::string& text = D->GetItemText(i);
        if (!oneText && RangeLeavesOut(*D, R, i)) continue;
        if (!it.GetContinuesPrev()) {
            RPWriteLn(S, "");
            const bool fullLine = it.GetBoolValue(rpbivFullLine);
            if (fullLine && D->IsPageBreak(i)) S += "\\page";
            if (it.GetLineBreakBefore()) {
                S += "\\line";
            } else {
                // A table's last row ended its paragraph already.
                if (!FirstPara && !(i > 0 && D->GetItemStyle(i - 1) == rpsnTable)) {
                    if (i > 0 && D->GetItemStyle(D->GetFirstParaItem(i - 1)) == rpsnListMarker) S += "\\plain";
                    S += "\\par";
                }
                FirstPara = false;
                if (!fullLine && D->IsPageBreak(i)) S += "\\page";
                S += "\\pard";
                if (Opt & rprtfSaveStyleSheet) Num(S, "\\s", it.ParaNo);
                WriteParaProps(it.ParaNo, dynamic_cast<const TRPMarkerItemInfo*>(&it), false);
            }
        }
        if (it.Checkpoint) {
            WriteBookmark(*it.Checkpoint);
            ++CPCounter;
        }
        bool field = false;
        if (it.GetBoolValueEx(rpbivexJump, &Style)) {
            std::string target, extras;
            D->DoWriteHyperlink(D->GetFirstJumpNo() + it.JumpID, D, i, rpsfRTF, target, extras);
            if (!target.empty() || !extras.empty()) {
                // A place in the document is the word of its switch: HYPERLINK \l "mark".
                std::string lead;
                if (const size_t n = target.empty() ? 0 : LinkLocationSwitches(extras)) {
                    lead = RTFEscapeText(std::string_view(extras).substr(0, n), false) + " ";
                    extras.erase(0, std::min(extras.find_first_not_of(" \t", n), extras.size()));
                }
                // Quotes and backslashes of the target are escaped for the field first.
                std::string inField;
                for (char c : target) {
                    if (c == '"' || c == '\\') inField += '\\';
                    inField += c;
                }
                S += "{\\field{\\*\\fldinst HYPERLINK " + lead + "\"" + RTFEscapeText(inField, false) + "\"" +
                     (extras.empty() ? std::string() : std::string(" ") + RTFEscapeText(extras, false)) +
                     "}{\\fldrslt";
                field = true;
            }
        }
        const int sn = D->GetItemStyle(i);
        if (sn >= 0 && ((Style.TextStyles().GetItem(sn)->Options & rpteoRTFCode) ||
                        !(Style.TextStyles().GetItem(sn)->Options & rpteoHTMLCode))) {
            WriteText(i, R);
        } else {
            std::string supplied;
            if (D->DoSaveItemToFile(std::string(), D, i, rpsfRTF, false, supplied))
                S += supplied;
            else if (const TRPMultiDrawItemPart* part = R.PartOf(i))
                it.SaveRTFPart(S, D, i, text, Tpp, Level, T, *part);
            else
                it.SaveRTF(S, D, i, text, Tpp, Level, T);
        }
        if (field) S += "}}";
    }
    if (R.EndItemNo == D->GetItemCount() - 1 && D->NotAddedCP) WriteBookmark(*D->NotAddedCP);
    // An empty last line or paragraph shows only when something ends it. In a
    // cell the cell's end ends a paragraph, not a line.
    if (R.StartItemNo != R.EndItemNo && D->GetItemStyle(R.EndItemNo) >= 0 && D->GetItemText(R.EndItemNo).empty()) {
        if (Level == 0 && D->IsParaStart(R.EndItemNo))
            S += "\\par";
        else if (D->GetItem(R.EndItemNo)->GetLineBreakBefore() && !D->GetItem(R.EndItemNo)->GetContinuesPrev())
            S += "\\line";
    }
}

} // namespace

// ---------------------------------------------------------------------------

int RPTwips(int Pixels, double TwipsPerPixel) {
    // The widest sizes of a layout are more twips than an int holds: the
    // value stops at the largest one instead of wrapping round.
    return static_cast<int>(std::clamp<int64_t>(Round(Pixels * TwipsPerPixel), INT_MIN, INT_MAX));
}

int RPRTFColorNo(const TRPRTFTables& Tables, TColor Color) {
    const int i = Tables.ColorList.IndexOf(static_cast<int32_t>(Color));
    return i < 0 ? 0 : i;
}

bool TCustomRPData::SaveRTF(const std::string& FileName, bool SelectionOnly, TColor Color,
                            TRPBackground* Background) {
    std::string rtf;
    if (!SaveRTFToStream(rtf, SelectionOnly, 0, Color, Background, nullptr, 0)) return false;
    QFile f(QString::fromStdString(FileName));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(rtf.data(), static_cast<qint64>(rtf.size())) == static_cast<qint64>(rtf.size()) && f.flush();
}

bool TCustomRPData::SaveRTFToStream(std::string& Stream, bool SelectionOnly, int Level, TColor Color,
                                    TRPBackground* Background, TRPRTFTables* Tables, double TwipsPerPixel) {
    if (SelectionOnly)
        if (TCustomRPData* sub = GetActiveSubData(); sub && sub != this)
            return sub->SaveRTFToStream(Stream, true, Level, Color, Background, Tables, TwipsPerPixel);
    return SaveRTFRangeToStream(Stream, GetSaveRange(SelectionOnly), SelectionOnly, Level, Color, Tables,
                                TwipsPerPixel);
}

bool TCustomRPData::SaveRTFRangeToStream(std::string& Stream, const TRPSaveRange& Range, bool Selection,
                                         int Level, TColor Color, TRPRTFTables* Tables, double TwipsPerPixel) {
    const int n = GetItemCount();
    if (Range.StartItemNo < 0 || Range.StartItemNo > Range.EndItemNo || Range.EndItemNo >= n) return true;
    TRPStyle* style = GetRPStyle();
    if (!style) return false;
    std::unique_ptr<TRPRTFTables> own;
    if (Level == 0 || !Tables) {
        own = std::make_unique<TRPRTFTables>();
        Tables = own.get();
        TwipsPerPixel = ScreenTwipsPerPixel;
    }
    try {
        TRTFWrite w(this, Stream, *style, *Tables, TwipsPerPixel, Level);
        if (Level == 0) {
            w.BuildFontTable();
            w.BuildColorTable(Color);
            w.WriteHeader();
            Stream += (GetRTFOptions() & rprtfDuplicateUnicode) ? "\\uc1" : "\\uc0";
        }
        w.WriteBody(Range, Selection);
        if (Level == 0) Stream += "}";
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

void TCustomRPData::BuildRTFColorAndListTables(TRPColorList& ColorList, TRPIntegerList& ListOverrideCount) {
    // Every item, not only those written, so that the tables describe the whole document.
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetItem(i)->StyleNo < 0) GetItem(i)->FillRTFTables(ColorList, ListOverrideCount, this);
}
