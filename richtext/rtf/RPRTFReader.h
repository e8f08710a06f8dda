#pragma once
// Table-driven RTF reader. It keeps no document: it reports runs of text,
// pictures, objects, table structure and list-marker updates through its
// events, and the importer builds a document from them.
#include "richtext/rtf/RPRTFReaderProps.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QIODevice;
namespace RPRTFKw {
struct Entry;
}
class TGraphic;
using TRPRTFGraphicPtr = std::unique_ptr<TGraphic>;

// Where a reported text, picture or object starts.
enum TRPRTFPosition { rtfpContinuePara = 0, rtfpNewLine = 1, rtfpNewPara = 2 };

enum TRPRTFTableEventKind { rtfteTableStart = 0, rtfteTableEnd = 1, rtfteRowEnd = 2, rtfteCellEnd = 3 };

enum TRPRTFHeaderFooterType { rtfhfHeader = 1, rtfhfFooter = 2 };

enum TRPRTFHighlightConvert { rtf_hl_Ignore, rtf_hl_FixedColors, rtf_hl_ColorTable };

// Result codes of a reading.
enum : uint8_t {
    rtfOK = 0,
    rtfStackUnderflow = 1,
    rtfStackOverflow = 2,
    rtfUnmatchedBrace = 3,
    rtfInvalidHex = 4,
    rtfBadTable = 5,
    rtfAssertion = 6,
    rtfEndOfFile = 7,
    rtfCannotOpen = 8,
    rtfException = 9,
    rtfPictureError = 10,
};

// Destinations: where characters go.
enum TRPRTFDestination : uint8_t {
    rdsNorm,
    rdsSkip,
    rdsFontTable,
    rdsStyleSheet,
    rdsColorTable,
    rdsStyleSheetEntry,
    rdsPict,
    rdsShpPict,
    rdsObject,
    rdsObjData,
    rdsField,
    rdsFldInst,
    rdsPN,
    rdsPNTextAfter,
    rdsPNTextBefore,
    rdsPNSecLvl,
    rdsListTable,
    rdsList,
    rdsListLevel,
    rdsListName,
    rdsLevelText,
    rdsLevelNumbers,
    rdsLOTable,
    rdsLO,
    rdsLOLevel,
    // Drawing shapes: only the pictures they show are read.
    rdsShpInst,
    rdsShpProp,
    rdsShpPropName,
    rdsShpPictValue,
    rdsShpText
};

// The properties of one group level; saved when a group opens, restored when it closes.
struct TRPRTFReaderState {
    int DefLanguage = 0;
    TRPRTFCharProperties CharProps;
    TRPRTFParaProperties ParaProps;
    TRPRTFSectionProperties SectProps;
    TRPRTFDocProperties DocProps;
    // Shared between saved states and copied on change, so deep nesting costs no copies.
    std::shared_ptr<TRPRTFRowProperties> RowProps;
    int BorderTarget = 0; // 0 paragraph, 1 row, 2 cell
    TRPRTFDestination Dest = rdsNorm;
    int InputMode = 0; // 0 normal, 1 binary, 2 hex
    int HFType = 0;
    // Characters to skip after \u; kept per group, so that a group's \uc ends with it.
    int UC = 1;
    // Set by the group that opens a header or footer: the table level and the
    // position of the next text around it, which its own content leaves alone.
    int HFOuterTableLevel = 0;
    TRPRTFPosition HFOuterPosition = rtfpNewPara;
};

class TRPRTFReader;

using TRPRTFNewTextEvent =
    std::function<void(TRPRTFReader* Sender, const std::string& Text, TRPRTFPosition Position)>;
using TRPRTFNewUnicodeTextEvent =
    std::function<void(TRPRTFReader* Sender, const std::u16string& Text, TRPRTFPosition Position)>;
// RTFPicture is null for a picture that a field brought in. Graphic is null when
// no graphic could be made (unknown format, damaged data); a handler that keeps
// the graphic moves it out.
using TRPRTFNewPictureEvent =
    std::function<void(TRPRTFReader* Sender, TRPRTFPicture* RTFPicture, TRPRTFGraphicPtr& Graphic,
                       TRPRTFPosition Position, bool& Inserted)>;
using TRPRTFNewObjectEvent = std::function<void(TRPRTFReader* Sender, TRPRTFObject* RTFObject,
                                                TRPRTFPosition Position, bool& Inserted)>;
using TRPRTFTableEvent = std::function<void(TRPRTFReader* Sender, TRPRTFTableEventKind WhatHappens)>;
using TRPRTFHeaderFooterEvent =
    std::function<void(TRPRTFReader* Sender, TRPRTFHeaderFooterType HFType, bool Starting)>;
using TRPRTFImportPictureEvent =
    std::function<void(TRPRTFReader* Sender, const QString& Location, TRPRTFGraphicPtr& Graphic)>;
using TRPRTFNotifyEvent = std::function<void(TRPRTFReader* Sender)>;

// Makes a graphic from picture data; null when the data cannot be shown here.
using TRPRTFGraphicMaker = std::function<TRPRTFGraphicPtr(const TRPRTFPicture& Picture)>;
// Loads a picture file for INCLUDEPICTURE and IMPORT fields.
using TRPRTFPictureFileLoader = std::function<TRPRTFGraphicPtr(const QString& Path)>;

// The built-in ones use the platform's picture classes; tests may replace them
// (an empty function restores the built-in one).
void RPRTFSetGraphicMaker(TRPRTFGraphicMaker maker);
void RPRTFSetPictureFileLoader(TRPRTFPictureFileLoader loader);
TRPRTFGraphicPtr RPRTFMakeGraphic(const TRPRTFPicture& Picture);
TRPRTFGraphicPtr RPRTFLoadPictureFile(const QString& Path);

class TRPRTFReader {
public:
    TRPRTFReader();
    ~TRPRTFReader();
    TRPRTFReader(const TRPRTFReader&) = delete;
    TRPRTFReader& operator=(const TRPRTFReader&) = delete;

    TRPRTFNewTextEvent OnNewText;
    TRPRTFNewUnicodeTextEvent OnNewUnicodeText;
    TRPRTFNewPictureEvent OnNewPicture;
    TRPRTFNewObjectEvent OnNewObject;
    TRPRTFNotifyEvent OnUpdateMarker;
    TRPRTFTableEvent OnTable;
    TRPRTFNotifyEvent OnRequiredPageBreak;
    TRPRTFHeaderFooterEvent OnHeaderFooter;
    TRPRTFImportPictureEvent OnImportPicture;
    // A paragraph ends (\par): the paragraph properties in force now are the
    // paragraph's, also those given after its text.
    TRPRTFNotifyEvent OnParagraphEnd;
    unsigned DefCodePage = 0;
    TRPRTFHighlightConvert ConvertHighlight = rtf_hl_FixedColors;
    // Put in front of INCLUDEPICTURE and IMPORT file names.
    QString BasePath;

    uint8_t ReadFromFile(const QString& FileName);
    uint8_t ReadFromStream(QIODevice& Stream);
    uint8_t ReadFromBuffer(const char* Data, size_t Size);

    // What event handlers may look at.
    const TRPRTFReaderState& State() const { return *fState; }
    const TRPRTFRowProperties* RowProps() const { return fState->RowProps.get(); }
    const TRPRTFFontList& Fonts() const { return fFonts; }
    const TRPRTFColorList& Colors() const { return fColors; }
    const TRPRTFStyleSheet& StyleSheet() const { return fStyleSheet; }
    const TRPRTFListTable97& ListTable() const { return fLists; }
    // The importer records there which level sizes it has settled.
    TRPRTFListTable97& MutableListTable() { return fLists; }
    const TRPRTFListOverrideTable97& ListOverrideTable() const { return fOverrides; }
    const std::string& FieldInstruction() const { return fFieldInst; }
    int CodePage() const { return fCodePage; }
    int Depth() const { return fDepth; }
    int TableLevel() const { return fTableLevel; }
    // Index of the font with number N (see the lookup rules of \f).
    int FindFont(int N) const;
    const TRPRTFSectionNumbering* SectionNumbering() const { return fSectNumbering.get(); }
    const TRPRTFFont* CurrentFont() const;
    // The document's default font (\deff), null while the font table is empty.
    const TRPRTFFont* DefaultFont() const;

    // Conversions with the code page in force (system page when it fails).
    std::u16string AnsiToUnicode(const std::string& s) const;
    std::string UnicodeToAnsi(const std::u16string& s) const;

    // Limits that keep hostile input from exhausting memory or stack.
    static constexpr int MaxDepth = 8192;
    static constexpr int MaxTableLevel = 32;
    static constexpr int MaxCells = 256;
    static constexpr int MaxTableEntries = 65536;

private:
    // input
    QIODevice* fStream = nullptr;
    const char* fBuf = nullptr;
    size_t fBufLen = 0, fBufPos = 0;
    std::string fChunk;
    bool fStreamDone = true;
    int fPushBack = -1;

    std::string fText;
    std::u16string fTextW;

    TRPRTFStyleSheet fStyleSheet;
    TRPRTFFontList fFonts;
    TRPRTFColorList fColors;
    bool fTrailingAutoColor = false;
    TRPRTFListTable97 fLists;
    TRPRTFListOverrideTable97 fOverrides;

    std::unique_ptr<TRPRTFReaderState> fState;
    std::vector<std::unique_ptr<TRPRTFReaderState>> fStack;
    int fDepth = 0;
    bool fWholeDocument = true; // the input opens with {\rtf: stop where its group closes

    // not saved with groups
    std::string fFieldInst;
    bool fFieldPicture = false;
    int fDefFontNumber = 0;
    int fDefFontIndex = -1;

    std::unique_ptr<TRPRTFPicture> fPicture;
    std::unique_ptr<TRPRTFObject> fObject;
    std::unique_ptr<TRPRTFMarkerProperties> fPN;

    int fCodePage = 1252;
    int fSkipCount = 0;
    int fTableLevel = 0;
    TRPRTFPosition fPosition = rtfpNewPara;
    int64_t fBinCount = 0;
    int fHexValue = 0;
    bool fHexHigh = true; // next hex digit of picture data is the high one
    bool fSkipDestIfUnknown = false;
    bool fShpPictInserted = false;
    bool fObjectInserted = false;
    bool fHiddenStarts = false;
    int fPNSecLvl = 0;
    bool fPNTextForSection = false;
    std::unique_ptr<TRPRTFSectionNumbering> fSectNumbering;

    // A drawing shape (or shape group) being read, innermost last. Its pictures
    // are held until its instructions end and then stand at the shape's place.
    enum TShapePictureKind { spkProperty, spkText, spkChild };
    struct TShapePicture {
        std::unique_ptr<TRPRTFPicture> Picture;
        TRPRTFGraphicPtr Graphic;
        TShapePictureKind Kind;
    };
    struct TShape {
        int Depth = 0;       // of the group that \shp opened
        int InstDepth = 0;   // of its \shpinst group; 0 before, -1 after
        bool Nested = false; // the shape belongs to the shape around it
        bool InText = false; // ... and stands in its text box
        bool Inserted = false;
        std::string PropName;
        std::vector<TShapePicture> Pictures;
    };
    std::vector<TShape> fShapes;
    int fPictureShapeKind = -1; // TShapePictureKind of the picture being read, -1 outside shapes

    void Reset();
    uint8_t Run();
    uint8_t MainLoop();
    bool InputStartsDocument();
    uint8_t Finish();
    bool ReadByte(int& c);
    void AppendPlainRun();
    void UnreadByte(int c) { fPushBack = c; }
    bool FillBuffer();
    uint8_t ParseKeyword();
    uint8_t Dispatch(const RPRTFKw::Entry* kw, bool hasParam, int param);
    uint8_t PushState();
    uint8_t PopState();
    uint8_t EndDestination(TRPRTFDestination closing);
    uint8_t ChangeDest(int destWord, bool ignorable);
    bool ChangeShapeDest(int destWord);
    void EndShapeGroup(int depth);
    void EndShapeInstructions();
    void ReportPicture(TRPRTFPicture* pic, TRPRTFGraphicPtr& graphic, bool& inserted);
    uint8_t RouteChar(unsigned char ch);
    uint8_t ParseSpecial(int which, int param, bool hasParam);
    void AddChar(unsigned char ch);
    void AddUnicodeChar(char16_t ch);
    enum FlushKind { fkPlain, fkParagraph, fkLine };
    void Flush(FlushKind kind);
    void UpdateMarker();
    void UpdateTableNesting();
    void TableEvent(TRPRTFTableEventKind kind);
    uint8_t ApplyProperty(int prop, int param);
    void ApplyUnicode(int code);
    void DoCell();
    void DoRow();
    void DoPage();
    void DoHidden(bool on);
    uint8_t CompletePicture();
    void CompleteObject();
    void ExamineFieldInstruction();
    void ImportPictureField(const std::string& fileName);
    void SymbolField(const std::string& inst);
    void TrimTrailingColor();
    void CleanFontNames();
    TRPRTFRowProperties& Row();
    TRPRTFBorderSide* BorderSideForTarget();
    TRPRTFMarkerProperties* PNTarget();
    TRPRTFMarkerProperties* PNTextTarget();
    uint8_t ApplyCharacter(int prop, int p);
    uint8_t ApplyParagraph(int prop, int p);
    uint8_t ApplyTable(int prop, int p);
    void ApplyPicture(int prop, int p);
    void ApplyNumbering(int prop, int p);
    void ApplyList(int prop, int p);
    TColor ColorAt(int index, TColor fallback) const;
};

// Parsing helpers shared with the importer.
namespace RPRTF {
// The file name of an INCLUDEPICTURE-like instruction: the first word after the
// field name that is not a switch; quotes removed, doubled backslashes halved.
std::string FieldArgument(const std::string& inst);
// The switches of the instruction without that word, trimmed: those before
// it (HYPERLINK \l "mark") ahead of those after it. The extras of a
// hyperlink, in the form the RTF writer takes them back.
std::string FieldRest(const std::string& inst);
// The text of the \o switch of a HYPERLINK instruction.
std::string FieldHint(const std::string& inst);
// Whether a picture file named by a field may be loaded (relative, regular, not too large).
bool IsSafePictureLocation(const QString& basePath, const std::string& fileName, QString* fullPath);
// A copy of a graphic, made through the suite's replaceable graphic factory.
TRPRTFGraphicPtr CopyGraphic(const TGraphic& Source);
} // namespace RPRTF
