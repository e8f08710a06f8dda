#include "richtext/rtf/RPRTFReaderProperties.h"

#include "platform/CodePage.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFImport.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

int LoadRTFFileProc(TRPRTFReaderProperties* props, const std::string& fileName, TCustomRPData* data) {
    return props ? props->ReadRTFFile(fileName, data) : rprtfeNoReader;
}

// The document model finds the import through this registration.
const bool kRegistered = [] {
    RegisterRTFFileReader(&LoadRTFFileProc);
    return true;
}();

// Ends a reading whose first item the document refused.
struct TImportAborted {};

// Takes a header or footer that the caller has no document for; its content
// and the styles made for it go with the import.
class TDiscardData : public TCustomRPData {
public:
    ~TDiscardData() override { Clear(); }
    TRPStyle* GetRPStyle() const override { return &FStyle; }

private:
    mutable TRPStyle FStyle;
};

} // namespace

TRPRTFReaderProperties::TRPRTFReaderProperties() {
    if (!GetRTFFileReader()) RegisterRTFFileReader(&LoadRTFFileProc);
}

TRPRTFReaderProperties::~TRPRTFReaderProperties() = default;

void TRPRTFReaderProperties::SetTextStyleNo(int Value) {
    if (Value < 0) throw ERichPadError("Value must not be negative");
    FTextStyleNo = Value;
}

void TRPRTFReaderProperties::SetParaStyleNo(int Value) {
    if (Value < 0) throw ERichPadError("Value must not be negative");
    FParaStyleNo = Value;
}

void TRPRTFReaderProperties::Assign(const TRPRTFReaderProperties& Source) {
    UnicodeMode = Source.UnicodeMode;
    TextStyleMode = Source.TextStyleMode;
    ParaStyleMode = Source.ParaStyleMode;
    IgnorePictures = Source.IgnorePictures;
    FParaStyleNo = Source.FParaStyleNo;
    FTextStyleNo = Source.FTextStyleNo;
    UseHypertextStyles = Source.UseHypertextStyles;
}

uint8_t TRPRTFReaderProperties::ReadRTFFile(const std::string& FileName, TCustomRPData* RPData) {
    if (!RPData) return rtfCannotOpen;
    const QString name = QString::fromStdString(FileName);
    return Run(
        RPData, RPData->GetItemCount(), false, [&](TRPRTFReader& r) { return r.ReadFromFile(name); },
        nullptr);
}

uint8_t TRPRTFReaderProperties::ReadRTFStream(QIODevice& Stream, TCustomRPData* RPData) {
    if (!RPData) return rtfCannotOpen;
    return Run(
        RPData, RPData->GetItemCount(), false, [&](TRPRTFReader& r) { return r.ReadFromStream(Stream); },
        nullptr);
}

uint8_t TRPRTFReaderProperties::InsertRTFFromStream(QIODevice& Stream, TCustomRPData* RPData, int& Index) {
    if (!RPData) return rtfCannotOpen;
    const int at = std::clamp(Index, 0, RPData->GetItemCount());
    return Run(
        RPData, at, true, [&](TRPRTFReader& r) { return r.ReadFromStream(Stream); }, &Index);
}

uint8_t TRPRTFReaderProperties::Run(TCustomRPData* RPData, int Index, bool InsertMode,
                                    const std::function<uint8_t(TRPRTFReader&)>& Read, int* LastIndex) {
    TRPRTFReader reader;
    auto imp = std::make_unique<TImport>();
    imp->Main = imp->Target = RPData;
    imp->Style = RPData->GetRPStyle();
    imp->Reader = &reader;
    imp->InsertIndex = Index;
    imp->InsertMode = InsertMode;
    imp->ListStylesBefore = imp->Style ? imp->Style->ListStyles().Count() : 0;
    FImport = std::move(imp);
    FHeaderYMM = FFooterYMM = -1;
    HookReaderEvents(reader);
    uint8_t result = Read(reader);
    EndImport();
    if (LastIndex) *LastIndex = FImport->LastInserted;
    FImport.reset();
    return result;
}

void TRPRTFReaderProperties::HookReaderEvents(TRPRTFReader& r) {
    TImport& im = *FImport;
    im.Factor = 96.0 / 1440.0;
    r.ConvertHighlight = static_cast<TRPRTFHighlightConvert>(ConvertHighlight);
    r.BasePath = QString::fromStdString(BasePath);
    r.DefCodePage = static_cast<unsigned>(std::max(0, im.Main->GetDefaultCodePage()));
    r.OnUpdateMarker = [this](TRPRTFReader*) { ReaderUpdateMarker(); };
    r.OnNewText = [this](TRPRTFReader*, const std::string& t, TRPRTFPosition p) { ReaderNewText(t, p); };
    r.OnRequiredPageBreak = [this](TRPRTFReader*) { ReaderRequiredPageBreak(); };
    r.OnParagraphEnd = [this](TRPRTFReader*) { ReaderParagraphEnd(); };
    r.OnTable = [this](TRPRTFReader*, TRPRTFTableEventKind k) { ReaderTable(k); };
    if (UnicodeMode == rpruMixed || UnicodeMode == rpruOnlyUnicode)
        r.OnNewUnicodeText = [this](TRPRTFReader*, const std::u16string& t, TRPRTFPosition p) {
            ReaderNewUnicodeText(t, p);
        };
    // The document being read into cannot hold its own header as well.
    const bool header = HeaderRPData && HeaderRPData != im.Main;
    const bool footer = FooterRPData && FooterRPData != im.Main;
    if (header || footer) {
        if (header) HeaderRPData->Clear();
        if (footer) FooterRPData->Clear();
        r.OnHeaderFooter = [this](TRPRTFReader*, TRPRTFHeaderFooterType t, bool starting) {
            ReaderHeaderFooter(t, starting);
        };
    }
    if (!IgnorePictures) {
        r.OnNewPicture = [this](TRPRTFReader*, TRPRTFPicture* pic, TRPRTFGraphicPtr& g, TRPRTFPosition p,
                                bool& ins) { ReaderNewPicture(pic, g, p, ins); };
        r.OnImportPicture = [this](TRPRTFReader*, const QString& loc, TRPRTFGraphicPtr& g) {
            ReaderImportPicture(loc, g);
        };
    }
}

void TRPRTFReaderProperties::EndImport() {
    if (!FImport) return;
    // The last marker takes its final form.
    ReaderUpdateMarker();
    FImport->ListMap.clear();
}

int TRPRTFReaderProperties::Px(int twips) const {
    return static_cast<int>(Round(static_cast<double>(twips) * FImport->Factor));
}

bool TRPRTFReaderProperties::HyperlinkTarget(std::string& Target, std::string& Extras,
                                             std::string& Hint) const {
    const std::string& inst = FImport->Reader->FieldInstruction();
    if (inst.size() < 9) return false;
    const std::string& s = inst;
    size_t b = 0;
    while (b < s.size() && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    if (b < s.size() && s[b] == '\\') ++b;
    std::string head = s.substr(b, 9);
    for (char& c : head)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (head != "HYPERLINK") return false;
    Target = RPRTF::FieldArgument(inst);
    Extras = RPRTF::FieldRest(inst);
    Hint = RPRTF::FieldHint(inst);
    // A place in the document is no file beside it.
    if (!BasePath.empty() && Target.find(':') == std::string::npos && !LinkLocationSwitches(Extras))
        Target = BasePath + Target;
    return true;
}

// ---------------------------------------------------------------------------
// Text

void TRPRTFReaderProperties::ReaderNewText(const std::string& Text, TRPRTFPosition Position) {
    AddTextItem(Text, false, Position);
}

void TRPRTFReaderProperties::ReaderNewUnicodeText(const std::u16string& Text, TRPRTFPosition Position) {
    AddTextItem(WideStrToItemText(Text), true, Position);
}

void TRPRTFReaderProperties::AddTextItem(std::string Text, bool IsUnicodeText, TRPRTFPosition Position) {
    TImport& im = *FImport;
    TRPRTFReader& r = *im.Reader;
    if (SkipHiddenText && r.State().CharProps.Hidden) return;
    const bool jump = r.FieldInstruction().find("HYPERLINK") != std::string::npos;
    const bool unicodeStyle = IsUnicodeText || UnicodeMode == rpruOnlyUnicode;
    int styleNo = CachedTextStyle(unicodeStyle, jump);
    const int paraNo = CachedParaStyle(Position);
    const bool styleIsUnicode = im.Style && im.Style->TextStyles().GetItem(styleNo)->Unicode;
    // The item text in the form of its style.
    if (!IsUnicodeText && styleIsUnicode) {
        const TRPRTFFont* font = r.CurrentFont();
        const int cp = font ? CharsetToCodePage(font->Charset) : r.CodePage();
        Text = AnsiToUnicodeText(cp == 0 ? r.CodePage() : cp, Text);
    } else if (IsUnicodeText && !styleIsUnicode) {
        std::u16string wide = ItemTextToWideStr(Text);
        // No code page has the non-breaking hyphen: it stays a hyphen.
        std::replace(wide.begin(), wide.end(), u'\u2011', u'-');
        Text = r.UnicodeToAnsi(wide);
    }
    TCustomRPData* target = im.Target;
    auto item = CurrentTextItemClass()->Create(target);
    if (styleIsUnicode) item->ItemOptions |= rpioUnicode;
    // Most runs hold no tab and move into their item as they are.
    if (Text.find('\t') != std::string::npos) {
        std::string expanded;
        target->ExpandTabs(Text, styleNo, expanded, styleIsUnicode);
        Text = std::move(expanded);
    }
    std::string target_, extras, hint;
    TRPTag tag;
    if (HyperlinkTarget(target_, extras, hint)) {
        int sn = styleNo;
        target->DoReadHyperlink(target_, extras, Text, tag, sn, 2);
        if (sn >= 0) styleNo = sn;
        item->Hint = hint;
    }
    item->StyleNo = styleNo;
    item->ParaNo = paraNo;
    item->Tag = tag;
    AddItem(std::move(Text), std::move(item), Position);
}

void TRPRTFReaderProperties::ReaderRequiredPageBreak() {
    FImport->PageBreakPending = true;
    FImport->PageBreakDoc = FImport->Target;
}

void TRPRTFReaderProperties::ReaderHeaderFooter(TRPRTFHeaderFooterType HFType, bool Starting) {
    TImport& im = *FImport;
    if (!Starting) {
        if (im.HeaderFooters.empty()) return;
        const TRPRTFHeaderFooterFrame frame = im.HeaderFooters.back();
        im.HeaderFooters.pop_back();
        SwitchTarget(frame.Return);
        return;
    }
    TCustomRPData* doc = HFType == rtfhfHeader ? HeaderRPData : FooterRPData;
    if (doc == im.Main) doc = nullptr;
    if (doc) {
        doc->Clear();
        const TRPRTFSectionProperties& sp = im.Reader->State().SectProps;
        const int twips = HFType == rtfhfHeader ? sp.HeaderY : sp.FooterY;
        (HFType == rtfhfHeader ? FHeaderYMM : FFooterYMM) =
            static_cast<int>(Round(static_cast<double>(twips) * 127.0 / 7200.0));
    } else {
        if (!im.Discard) im.Discard = std::make_unique<TDiscardData>();
        im.Discard->Clear();
        doc = im.Discard.get();
    }
    im.HeaderFooters.push_back({im.Target, doc, im.Tables.size()});
    SwitchTarget(doc);
}

void TRPRTFReaderProperties::TImport::SwapStyleContext(TRPRTFStyleContext& C) {
    std::swap(Style, C.Style);
    std::swap(TextStyles, C.TextStyles);
    std::swap(ParaStyles, C.ParaStyles);
    std::swap(OldLevels, C.OldLevels);
    std::swap(ListMap, C.ListMap);
    std::swap(ListsBuilt, C.ListsBuilt);
    std::swap(ListStylesBefore, C.ListStylesBefore);
    std::swap(RestartedLevels, C.RestartedLevels);
    std::swap(LeftTablePara, C.LeftTablePara);
}

void TRPRTFReaderProperties::SwitchTarget(TCustomRPData* Doc) {
    TImport& im = *FImport;
    im.Target = Doc;
    TRPStyle* style = Doc->GetRPStyle();
    if (style == im.Style) return;
    // Style numbers chosen for one style component mean nothing in another.
    TRPRTFStyleContext left;
    im.SwapStyleContext(left);
    auto known = std::find_if(im.OtherStyles.begin(), im.OtherStyles.end(),
                              [&](const TRPRTFStyleContext& c) { return c.Style == style; });
    if (known != im.OtherStyles.end()) {
        im.SwapStyleContext(*known);
        im.OtherStyles.erase(known);
    } else {
        im.Style = style;
        im.ListStylesBefore = style ? style->ListStyles().Count() : 0;
    }
    im.OtherStyles.push_back(std::move(left));
}

// Properties given after a paragraph's text but before its \par are the
// paragraph's as well: its items take the style chosen now when that differs.
void TRPRTFReaderProperties::ReaderParagraphEnd() {
    TImport& im = *FImport;
    im.ParaEndPending = true;
    const int first = im.ParaFirst;
    im.ParaFirst = -1;
    TCustomRPData* doc = im.Target;
    if (first < 0 || im.ParaDoc != doc || im.Aborted) return;
    const int last = doc == im.Main ? im.InsertIndex - 1 : doc->GetItemCount() - 1;
    if (first > last) return;
    const int paraNo = CachedParaStyle(rtfpNewPara);
    if (paraNo == doc->GetItem(first)->ParaNo) return;
    for (int i = first; i <= last; ++i) {
        if (i > first && doc->IsParaStart(i)) break;
        doc->GetItem(i)->ParaNo = paraNo;
    }
}

// ---------------------------------------------------------------------------
// Placing items

int TRPRTFReaderProperties::PrevParaNo() const {
    const TImport& im = *FImport;
    if (im.Target == im.Main) {
        if (im.InsertIndex > 0 && im.InsertIndex <= im.Main->GetItemCount())
            return im.Main->GetItem(im.InsertIndex - 1)->ParaNo;
        return 0;
    }
    const int n = im.Target->GetItemCount();
    return n > 0 ? im.Target->GetItem(n - 1)->ParaNo : 0;
}

void TRPRTFReaderProperties::AddItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item,
                                     TRPRTFPosition Position, bool Markers) {
    TImport& im = *FImport;
    if (im.Aborted) return;
    im.ParaEndPending = false;
    TCustomRPItemInfo* it = Item.get();
    const int kind = it->StyleNo;
    const bool isMarker = kind == rpsnListMarker;
    const bool isTable = kind == rpsnTable;
    if (Position == rtfpNewLine && LineBreaksAsParagraphs) Position = rtfpNewPara;
    // The item that opens a paragraph of the file, for its end (ReaderParagraphEnd).
    bool opensPara = Position == rtfpNewPara && !isTable && Markers;
    if (Position == rtfpNewPara && !ParagraphSwitch) Position = rtfpNewLine;
    if (Position == rtfpNewPara && !isMarker && !isTable && Markers) {
        TCustomRPData* target = im.Target;
        const int before = target->GetItemCount();
        InsertMarker();
        if (target->GetItemCount() != before) {
            // The marker opened the paragraph.
            opensPara = false;
            Position = rtfpContinuePara;
            it->ParaNo = target->GetItem(target == im.Main ? im.InsertIndex - 1 : target->GetItemCount() - 1)->ParaNo;
        }
    }
    it->ItemOptions &=
        static_cast<TRPItemOptions>(~(rpioContinuesPrev | rpioLineBreakBefore | rpioPageBreakBefore));
    if (Position == rtfpContinuePara)
        it->ItemOptions |= rpioContinuesPrev;
    else if (Position == rtfpNewLine)
        it->ItemOptions |= rpioLineBreakBefore;
    TCustomRPData* doc = im.Target;
    const bool main = doc == im.Main;
    const int index = main ? im.InsertIndex : doc->GetItemCount();
    TCustomRPItemInfo* prev = index > 0 ? doc->GetItem(index - 1) : nullptr;
    // A first item, and an item after a full-line item, start a paragraph.
    const bool checkStart = !(main && im.InsertMode && im.FirstItem);
    if (it->GetBoolValue(rpbivFullLine) || (checkStart && (!prev || prev->GetBoolValue(rpbivFullLine))))
        it->ItemOptions &= static_cast<TRPItemOptions>(~(rpioContinuesPrev | rpioLineBreakBefore));
    if (im.PageBreakPending && im.PageBreakDoc == doc) {
        // An item after a page break starts its paragraph.
        it->SetPageBreakBefore(true);
        im.PageBreakPending = false;
    }
    if (main && im.FirstItem) {
        int outInt = 0;
        bool outFlag = false;
        if (!doc->InsertReadItem(index, Text, Item, outInt, outFlag)) {
            im.Aborted = true;
            throw TImportAborted{};
        }
        im.FirstItem = false;
    } else {
        it->Inserting(doc, Text, false);
        doc->Items->InsertObject(index, std::move(Text), std::move(Item));
        it->Inserted(doc, index);
        if (isMarker) doc->AddMarkerInList(index);
    }
    it->AfterLoading(2);
    if (opensPara) {
        im.ParaDoc = doc;
        im.ParaFirst = index;
    }
    if (isMarker) {
        im.LastMarker = index;
        im.LastMarkerDoc = doc;
    }
    if (main) {
        ++im.InsertIndex;
        ++im.Added;
        im.LastInserted = index;
    }
}
