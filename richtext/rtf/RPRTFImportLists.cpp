// Imported numbering (Word-97 lists and old-style numbering), pictures and hyperlinks.
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFImport.h"

#include <QString>
#include <algorithm>

namespace {

bool SameNameNoCase(const std::string& a, const std::string& b) {
    return QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size()))
               .compare(QString::fromLatin1(b.data(), static_cast<qsizetype>(b.size())),
                        Qt::CaseInsensitive) == 0;
}

TRPListType KindToListType(int kind) {
    switch (kind) {
    case 2:
        return rplstLowerAlpha;
    case 3:
        return rplstUpperAlpha;
    case 4:
        return rplstLowerRoman;
    case 5:
        return rplstUpperRoman;
    case 6:
        return rplstBullet;
    default:
        return rplstDecimal;
    }
}

// The characters of a level text that its count byte counts.
std::string_view LevelChars(const std::string& LevelText) {
    if (LevelText.empty()) return {};
    const size_t n =
        std::min(static_cast<size_t>(static_cast<unsigned char>(LevelText[0])), LevelText.size() - 1);
    return std::string_view(LevelText).substr(1, n);
}

// Whether a level text holds the place of a level's number.
bool HoldsPlaceholder(const std::string& LevelText) {
    const std::string_view t = LevelChars(LevelText);
    return std::any_of(t.begin(), t.end(), [](char c) { return static_cast<unsigned char>(c) < 10; });
}

std::string EscapePercent(const std::string& s) {
    std::string out;
    for (char c : s) {
        out.push_back(c);
        if (c == '%') out.push_back('%');
    }
    return out;
}

// A list-style level as the import wants it.
struct TWantedLevel {
    TRPListType ListType = rplstDecimal;
    std::string Format, FormatAlt;
    std::u16string FormatW;
    TRPMarkerAlignment Alignment = rpmaLeft;
    TRPMarkerFont Font;
    int LeftIndent = 0, FirstIndent = 0, MarkerIndent = 0;
    int StartFrom = 1;
    TRPListLevelOptions Options = rploContinuous | rploLevelReset;
    // A level without a size of its own takes the size of its first paragraph's
    // text, so the size cannot tell whether an existing style fits.
    bool SizeGiven = true;

    bool Matches(const TRPListLevel& l) const {
        if (l.ListType != ListType || l.StartFrom != StartFrom || l.MarkerAlignment != Alignment ||
            l.LeftIndent != LeftIndent || l.MarkerIndent != MarkerIndent || l.FirstIndent != FirstIndent ||
            (l.Options & (rploLevelReset | rploLegalStyleNumbering)) !=
                (Options & (rploLevelReset | rploLegalStyleNumbering)))
            return false;
        const TRPMarkerFont* f = l.FontIfAny();
        TRPMarkerFont def;
        if (!f) f = &def;
        if (f->Style != Font.Style || f->Color != Font.Color || (SizeGiven && f->Size != Font.Size) ||
            !SameNameNoCase(f->Name, Font.Name))
            return false;
        if (ListType == rplstUnicodeBullet) return l.FormatStringW == FormatW;
        return l.FormatString == Format || l.FormatString == FormatAlt;
    }

    // Indents as a level read from a file keeps them (the start and the font
    // size are kept in their ranges as they are read).
    void KeepInReadLimits() {
        for (int* v : {&LeftIndent, &FirstIndent, &MarkerIndent})
            *v = TRPReadLimits::Indent(*v);
    }

    void Fill(TRPListLevel& l) const {
        l.ListType = ListType;
        l.FormatString = Format;
        l.FormatStringW = FormatW;
        l.MarkerAlignment = Alignment;
        l.SetFont(&Font);
        l.LeftIndent = LeftIndent;
        l.FirstIndent = FirstIndent;
        l.MarkerIndent = MarkerIndent;
        l.StartFrom = StartFrom;
        l.Options = Options;
    }
};

} // namespace

std::string TRPRTFReaderProperties::LevelTextToFormat(const std::string& LevelText, int LevelCount) {
    std::string out;
    bool numbered = false;
    for (const char ch : LevelChars(LevelText)) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 10) {
            // A placeholder of a level the list does not have shows nothing.
            if (static_cast<int>(c) >= LevelCount) continue;
            // "%s" takes the next text, so it stands for level 0 only before any numbered one.
            if (c == 0 && !numbered) {
                out += "%s";
            } else {
                out += '%';
                out += std::to_string(c);
                out += ":s";
                numbered = true;
            }
        } else if (c == '%') {
            out += "%%";
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

void TRPRTFReaderProperties::BuildW97Lists() {
    TImport& im = *FImport;
    if (im.ListsBuilt || !im.Style) return;
    im.ListsBuilt = true;
    const TRPRTFReader& r = *im.Reader;
    TRPListInfos& styles = im.Style->ListStyles();
    std::vector<bool> taken(static_cast<size_t>(styles.Count()), false);
    for (const TRPRTFList97& list : r.ListTable()) {
        std::vector<TWantedLevel> wanted;
        const int count = static_cast<int>(list.Levels.size());
        for (const TRPRTFListLevel97& lv : list.Levels) {
            TWantedLevel w;
            const TRPRTFFont* font =
                (lv.FontIndex >= 0 && static_cast<size_t>(lv.FontIndex) < r.Fonts().size())
                    ? &r.Fonts()[static_cast<size_t>(lv.FontIndex)]
                    : nullptr;
            w.ListType = KindToListType(lv.Kind);
            w.Format = LevelTextToFormat(lv.Text, count);
            w.FormatAlt = w.Format;
            if (w.FormatAlt.rfind("%s", 0) == 0) w.FormatAlt.replace(0, 2, "%0:s");
            if (w.ListType == rplstBullet && HoldsPlaceholder(lv.Text)) {
                // A bullet has no number to show: a level text with a place
                // for one (Mac word processors write a disc so) is the bullet.
                w.ListType = rplstUnicodeBullet;
                w.FormatW = u"\u2022";
            } else if (w.ListType == rplstBullet && lv.TextW.size() > 1) {
                w.ListType = rplstUnicodeBullet;
                w.FormatW = lv.TextW.substr(1);
                const char16_t ch = w.FormatW[0];
                const std::string fontName = font ? font->Name : std::string("Symbol");
                if (w.FormatW.size() == 1 &&
                    ((SameNameNoCase(fontName, "Symbol") && ch >= 0xF0A1 && ch <= 0xF0FE) ||
                     (SameNameNoCase(fontName, "Wingdings") && ch >= 0xF021 && ch <= 0xF0FF))) {
                    w.ListType = rplstBullet;
                    w.Format = w.FormatAlt = std::string(1, static_cast<char>(ch - 0xF000));
                    w.FormatW.clear();
                }
            }
            w.Alignment = static_cast<TRPMarkerAlignment>(std::clamp(lv.Alignment, 0, 2));
            if (font) {
                w.Font.Name = font->Name;
                w.Font.Charset = static_cast<uint8_t>(FontCharset(font));
            } else if (KindToListType(lv.Kind) == rplstBullet) {
                // A bullet without a font of its own is the Symbol bullet.
                w.Font.Name = "Symbol";
                w.Font.Charset = 2;
            } else {
                // Numbers and letters are text: in Symbol they would show as
                // Greek letters. They take the document's default font.
                const TRPRTFFont* def = r.DefaultFont();
                w.Font.Name = def                              ? def->Name
                              : im.Style->TextStyles().Count() ? im.Style->TextStyles().GetItem(0)->FontName
                                                               : std::string();
                w.Font.Charset = static_cast<uint8_t>(FontCharset(def));
            }
            w.Font.Style = lv.Style;
            w.Font.Color = lv.Color;
            w.Font.Size = lv.Size;
            w.SizeGiven = lv.SizeGiven;
            w.LeftIndent = Px(lv.LeftIndent);
            w.MarkerIndent = Px(lv.FirstIndent) + w.LeftIndent;
            w.FirstIndent = Px(lv.Tab) - w.LeftIndent;
            w.StartFrom = lv.Start;
            if (lv.NoRestart) w.Options &= static_cast<TRPListLevelOptions>(~rploLevelReset);
            if (lv.Legal) w.Options |= rploLegalStyleNumbering;
            w.KeepInReadLimits();
            wanted.push_back(std::move(w));
        }
        int found = -1;
        for (int i = 0; i < styles.Count() && found < 0; ++i) {
            const TRPListInfo* s = styles.Items(i);
            if (taken[static_cast<size_t>(i)] || s->Levels.Count() < count) continue;
            bool all = true;
            for (int k = 0; k < count && all; ++k)
                all = wanted[static_cast<size_t>(k)].Matches(*s->Levels.Items(k));
            if (all) found = i;
        }
        if (found < 0) {
            TRPListInfo* s = styles.Add();
            s->Standard = false;
            for (const TWantedLevel& w : wanted)
                w.Fill(*s->Levels.Add());
            found = styles.Count() - 1;
            taken.push_back(false);
        }
        // A list style serves one list of the import only.
        taken[static_cast<size_t>(found)] = true;
        im.ListMap.push_back(found);
    }
}

int TRPRTFReaderProperties::OldStyleList(const TRPRTFMarkerProperties& M) {
    TImport& im = *FImport;
    const TRPRTFReader& r = *im.Reader;
    if (!im.Style || M.Level < 1 || M.Level > 11 || M.FontIndex < 0 ||
        static_cast<size_t>(M.FontIndex) >= r.Fonts().size())
        return -1;
    int& known = im.OldLevels[static_cast<size_t>(M.Level - 1)];
    if (M.Level <= 10 && known >= 0) return known;
    const TRPRTFParaProperties& pp = r.State().ParaProps;
    const TRPRTFFont& font = r.Fonts()[static_cast<size_t>(M.FontIndex)];
    TWantedLevel w;
    const int L = Px(pp.LeftIndent), F = Px(pp.FirstIndent), I = Px(M.Indent), S = Px(M.Space);
    w.LeftIndent = L;
    w.MarkerIndent = L + F;
    w.FirstIndent = M.Hanging ? std::max(S, F + I) : std::max(0, std::max(I, S) + F);
    w.Alignment = M.Level == 11 ? rpmaLeft : static_cast<TRPMarkerAlignment>(std::clamp(M.Alignment, 0, 2));
    if (w.Alignment == rpmaRight)
        w.MarkerIndent = w.FirstIndent + w.LeftIndent;
    else if (w.Alignment == rpmaCenter)
        w.MarkerIndent = (w.FirstIndent + w.LeftIndent + w.MarkerIndent) / 2;
    w.Font.Name = font.Name;
    w.Font.Charset = static_cast<uint8_t>(FontCharset(&font));
    w.Font.Style = M.Style;
    w.Font.Color = M.Color;
    w.Font.Size = M.Size;
    if (M.Level == 11 || (M.Level == 10 && M.Kind == 0)) {
        w.ListType = rplstBullet;
        w.Format = w.FormatAlt = M.TextBefore;
    } else {
        w.ListType = KindToListType(M.Kind == 0 ? 1 : M.Kind);
        const std::string before = EscapePercent(M.TextBefore), after = EscapePercent(M.TextAfter);
        w.Format = w.FormatAlt = before;
        w.Format.append("%s").append(after);
        w.FormatAlt.append("%0:s").append(after);
    }
    w.StartFrom = M.Start;
    w.KeepInReadLimits();
    TRPListInfos& styles = im.Style->ListStyles();
    int found = -1;
    for (int i = 0; i < styles.Count() && found < 0; ++i) {
        const TRPListInfo* s = styles.Items(i);
        if (s->Levels.Count() < 1) continue;
        const TRPListLevel& l = *s->Levels.Items(0);
        const TRPMarkerFont* f = l.FontIfAny();
        TRPMarkerFont def;
        if (!f) f = &def;
        if (l.ListType == w.ListType && l.MarkerAlignment == w.Alignment && l.LeftIndent == w.LeftIndent &&
            l.FirstIndent == w.FirstIndent && l.MarkerIndent == w.MarkerIndent && f->Size == w.Font.Size &&
            f->Style == w.Font.Style && f->Color == w.Font.Color && SameNameNoCase(f->Name, w.Font.Name) &&
            (l.FormatString == w.Format || l.FormatString == w.FormatAlt))
            found = i;
    }
    if (found < 0) {
        TRPListInfo* s = styles.Add();
        s->Standard = false;
        w.Fill(*s->Levels.Add());
        found = styles.Count() - 1;
    }
    known = found;
    return found;
}

void TRPRTFReaderProperties::InsertMarker() {
    TImport& im = *FImport;
    const TRPRTFParaProperties& pp = im.Reader->State().ParaProps;
    // A paragraph that goes on in numbered ones keeps their numbering going.
    if (!pp.Marker || (pp.Marker->Level <= 0 && !pp.Marker->Continues)) im.OldLevels.fill(-1);
    if (ParaStyleMode != rprsAddIfNeeded || !im.Style) return;
    std::unique_ptr<TRPMarkerItemInfo> marker;
    bool w97 = false;
    if (pp.Marker && pp.Marker->Level > 0 && pp.Marker->Level <= 11) {
        const bool unknown = im.OldLevels[static_cast<size_t>(pp.Marker->Level - 1)] < 0;
        marker = TRPMarkerItemInfo::CreateEx(im.Target, -1, -1, pp.Marker->Start, unknown);
    } else if (pp.ListOverrideIndex >= 0) {
        const auto& overrides = im.Reader->ListOverrideTable();
        if (static_cast<size_t>(pp.ListOverrideIndex) >= overrides.size()) return;
        BuildW97Lists();
        const TRPRTFListOverride97& lo = overrides[static_cast<size_t>(pp.ListOverrideIndex)];
        // Numbering that names a missing list or level is left out.
        if (lo.ListIndex < 0 || static_cast<size_t>(lo.ListIndex) >= im.ListMap.size()) return;
        const int listNo = im.ListMap[static_cast<size_t>(lo.ListIndex)];
        const TRPListInfo* list = im.Style->ListStyles().Items(listNo);
        const int level = pp.ListLevel;
        if (!list || level < 0 || level >= list->Levels.Count()) return;
        int start = 1;
        bool reset = false;
        if (static_cast<size_t>(level) < lo.Levels.size()) {
            start = lo.Levels[static_cast<size_t>(level)].Start;
            reset = lo.Levels[static_cast<size_t>(level)].UseStart;
        }
        if (reset) {
            const std::pair<int, int> key{pp.ListOverrideIndex, level};
            if (std::find(im.RestartedLevels.begin(), im.RestartedLevels.end(), key) != im.RestartedLevels.end())
                reset = false;
            else
                im.RestartedLevels.push_back(key);
        }
        marker = TRPMarkerItemInfo::CreateEx(im.Target, listNo, level, start, reset);
        w97 = true;
    }
    if (!marker) return;
    marker->ParaNo = CachedParaStyle(rtfpNewPara);
    AddItem(std::string(), std::move(marker), rtfpNewPara);
    im.LastMarkerW97 = w97;
}

void TRPRTFReaderProperties::ReaderUpdateMarker() {
    TImport& im = *FImport;
    if (im.LastMarker < 0 || !im.LastMarkerDoc) return;
    const int idx = im.LastMarker;
    TCustomRPData* doc = im.LastMarkerDoc;
    im.LastMarker = -1;
    im.LastMarkerDoc = nullptr;
    if (idx >= doc->GetItemCount()) return;
    auto* marker = dynamic_cast<TRPMarkerItemInfo*>(doc->GetItem(idx));
    if (!marker || !im.Style) return;
    TRPRTFReader& r = *im.Reader;
    const TRPRTFParaProperties& pp = r.State().ParaProps;
    if (im.LastMarkerW97) {
        // A list's marker size follows the text of the first paragraph that uses the level.
        if (pp.ListOverrideIndex < 0 || marker->ListNo < im.ListStylesBefore) return;
        const auto& overrides = r.ListOverrideTable();
        if (static_cast<size_t>(pp.ListOverrideIndex) >= overrides.size()) return;
        const int li = overrides[static_cast<size_t>(pp.ListOverrideIndex)].ListIndex;
        if (li < 0 || static_cast<size_t>(li) >= r.ListTable().size()) return;
        auto& levels = r.MutableListTable()[static_cast<size_t>(li)].Levels;
        if (marker->Level < 0 || static_cast<size_t>(marker->Level) >= levels.size()) return;
        TRPRTFListLevel97& lv = levels[static_cast<size_t>(marker->Level)];
        if (lv.SizeGiven) return;
        TRPListInfo* list = im.Style->ListStyles().Items(marker->ListNo);
        if (TRPListLevel* level = list ? list->Levels.Items(marker->Level) : nullptr)
            level->Font()->Size = r.State().CharProps.Size;
        lv.Size = r.State().CharProps.Size;
        lv.SizeGiven = true;
        return;
    }
    if (!pp.Marker) return;
    const int list = OldStyleList(*pp.Marker);
    if (list >= 0) {
        marker->ListNo = list;
        marker->Level = 0;
        doc->UpdateMarkerCounters(idx, true);
    }
}

// ---------------------------------------------------------------------------
// Pictures

void TRPRTFReaderProperties::ReaderNewPicture(TRPRTFPicture* Picture, TRPRTFGraphicPtr& Graphic,
                                              TRPRTFPosition Position, bool& Inserted) {
    Inserted = false;
    TImport& im = *FImport;
    if (!Graphic) {
        // The alternative of a shape picture may still come.
        if (Picture && Picture->FromShpPict) return;
        TPicture* invalid = im.Style ? im.Style->GetInvalidPicture() : nullptr;
        if (invalid && invalid->Graphic())
            Graphic = RPRTF::CopyGraphic(*invalid->Graphic());
        else
            Graphic = std::make_unique<TBitmap>(20, 20);
    }
    const int ownW = Graphic->Width(), ownH = Graphic->Height();
    std::unique_ptr<TRPGraphicItemInfo> item;
    std::string target, extras, hint;
    TRPTag tag;
    if (HyperlinkTarget(target, extras, hint)) {
        std::string text;
        int sn = rpsnPicture;
        im.Target->DoReadHyperlink(target, extras, text, tag, sn, 2);
        std::unique_ptr<TCustomRPItemInfo> made = CreateItemByStyleNo(im.Target, sn);
        if (auto* g = dynamic_cast<TRPGraphicItemInfo*>(made.get())) {
            made.release();
            item.reset(g);
            item->Image = std::move(Graphic);
            item->StyleNo = sn;
        }
        if (item) item->Hint = hint;
    }
    if (!item) item = TRPGraphicItemInfo::CreateEx(im.Target, std::move(Graphic), 0);
    item->Tag = tag;
    if (Picture && (Picture->Kind == rtfpkEMF || Picture->Kind == rtfpkWMF || Picture->ScaleX != 100)) {
        const int w = Picture->WidthPx >= 1 ? Picture->WidthPx : ownW;
        const int h = Picture->HeightPx >= 1 ? Picture->HeightPx : ownH;
        item->ImageWidth = static_cast<int>(Round(w / 100.0 * Picture->ScaleX));
        item->ImageHeight = static_cast<int>(Round(h / 100.0 * Picture->ScaleY));
    }
    item->FitInReadLimits();
    item->ParaNo = CachedParaStyle(Position);
    AddItem(std::string(), std::move(item), Position);
    Inserted = true;
}

void TRPRTFReaderProperties::ReaderImportPicture(const QString& Location, TRPRTFGraphicPtr& Graphic) {
    // The application's graphic stays its own; the document gets a copy.
    if (TGraphic* g = FImport->Main->DoImportPicture(Location.toStdString()))
        Graphic = RPRTF::CopyGraphic(*g);
}
