#pragma once
// The RTF import of the rich-text suite: settings kept by a control, and the
// import that runs the reader and turns its events into items, text and
// paragraph styles, list markers, pictures and hyperlinks of a document.
#include "richtext/rtf/RPRTFReader.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TCustomRPData;
class TCustomRPItemInfo;
class TRPStyle;
class TRPBorder;
class TRPTableCellData;
class QIODevice;

enum TRPReaderUnicode { rpruMixed, rpruNoUnicode, rpruOnlyUnicode };
enum TRPReaderStyleMode { rprsUseSpecified, rprsUseClosest, rprsAddIfNeeded };
enum TRPRTFHighlight { rtfhlIgnore, rtfhlFixedColors, rtfhlColorTable };

class TRPRTFReaderProperties {
public:
    TRPRTFReaderProperties();
    virtual ~TRPRTFReaderProperties();
    TRPRTFReaderProperties(const TRPRTFReaderProperties&) = delete;
    TRPRTFReaderProperties& operator=(const TRPRTFReaderProperties&) = delete;

    // Mixed by default: every caller (pages and log books alike) gets \u characters back.
    TRPReaderUnicode UnicodeMode = rpruMixed;
    TRPReaderStyleMode TextStyleMode = rprsUseClosest;
    TRPReaderStyleMode ParaStyleMode = rprsUseClosest;
    bool IgnorePictures = false;
    bool UseHypertextStyles = false;
    bool SkipHiddenText = true;
    bool AutoHideTableGridLines = false;
    bool LineBreaksAsParagraphs = false;
    TRPRTFHighlight ConvertHighlight = rtfhlColorTable;

    int TextStyleNo() const { return FTextStyleNo; }
    int ParaStyleNo() const { return FParaStyleNo; }
    // A negative value raises ERichPadError and keeps the old one.
    void SetTextStyleNo(int Value);
    void SetParaStyleNo(int Value);

    // Not published: paragraph starts make paragraphs (off: line breaks); the
    // table switches act when tables are finished.
    bool ParagraphSwitch = true;
    bool BorderSwitch = true;
    bool GridWidthSwitch = false;
    // Put in front of picture-field file names and of hyperlink targets without ":".
    std::string BasePath;
    // Documents that take the page header and the page footer of the RTF; an
    // import clears them first. Without them headers and footers are skipped.
    TCustomRPData* HeaderRPData = nullptr;
    TCustomRPData* FooterRPData = nullptr;
    // The header's and footer's distance from the page edge in millimetres, as
    // the last import into those documents read them; -1 when it read none.
    int HeaderYMM() const { return FHeaderYMM; }
    int FooterYMM() const { return FFooterYMM; }

    void Assign(const TRPRTFReaderProperties& Source);

    // Appends the file's content after the document's items: 0 success, 8 cannot open.
    uint8_t ReadRTFFile(const std::string& FileName, TCustomRPData* RPData);
    // Appends from a stream (reading starts at its position).
    uint8_t ReadRTFStream(QIODevice& Stream, TCustomRPData* RPData);
    // Inserts at Index; Index then holds the last inserted item (-1 none).
    uint8_t InsertRTFFromStream(QIODevice& Stream, TCustomRPData* RPData, int& Index);

    // The format strings of a list level text (length byte first); '%' is
    // doubled and placeholders of levels beyond LevelCount are dropped.
    static std::string LevelTextToFormat(const std::string& LevelText, int LevelCount);

private:
    struct TImport;
    struct TTableInfo;
    int FTextStyleNo = 0;
    int FParaStyleNo = 0;
    int FHeaderYMM = -1;
    int FFooterYMM = -1;
    std::unique_ptr<TImport> FImport;

    uint8_t Run(TCustomRPData* RPData, int Index, bool InsertMode,
                const std::function<uint8_t(TRPRTFReader&)>& Read, int* LastIndex);
    void HookReaderEvents(TRPRTFReader& Reader);
    void EndImport();

    void ReaderNewText(const std::string& Text, TRPRTFPosition Position);
    void ReaderNewUnicodeText(const std::u16string& Text, TRPRTFPosition Position);
    void AddTextItem(std::string Text, bool Unicode, TRPRTFPosition Position);
    void ReaderNewPicture(TRPRTFPicture* Picture, TRPRTFGraphicPtr& Graphic, TRPRTFPosition Position,
                          bool& Inserted);
    void ReaderImportPicture(const QString& Location, TRPRTFGraphicPtr& Graphic);
    void ReaderUpdateMarker();
    void ReaderRequiredPageBreak();
    void ReaderParagraphEnd();
    void ReaderHeaderFooter(TRPRTFHeaderFooterType HFType, bool Starting);
    // The import goes on in Doc, with the styles of Doc's style component.
    void SwitchTarget(TCustomRPData* Doc);

    // Tables (RPRTFImportTables.cpp).
    void ReaderTable(int WhatHappens);
    // A table starts; it takes Buffer as its row buffer when one is given.
    void TableStart(std::unique_ptr<TCustomRPItemInfo> Buffer = nullptr);
    void TableEnd();
    // The table at the innermost level ends before the row in its buffer,
    // which starts a new table.
    void SplitTable();
    void TableRowEnd();
    void TableCellEnd();
    void BuildTableRow(TTableInfo& Info, const TRPRTFRowProperties& Row);
    // A row of cells on the table's columns.
    static TRPRTFRowProperties GridRow(const TTableInfo& Info);
    // Whether the row in Info's buffer, as Row gives its cells, leaves the
    // table's rows and positions in their limits.
    bool RowFits(const TTableInfo& Info, const TRPRTFRowProperties& Row) const;
    // Whether cells after the last row end hold text.
    static bool HasTrailingCells(const TTableInfo& Info);
    // The grid index of boundary Twips, at MinIndex or right of it; a new
    // boundary adds a column to the table's RowsDone rows.
    int AddBound(TTableInfo& Info, int Twips, int MinIndex, int RowsDone);
    void MakeFiller(TTableInfo& Info, int Row, int Col, int ColSpan);
    void UpdateTableSums(TTableInfo& Info, const TRPRTFRowProperties& Row, bool FirstRow);
    void ApplyCellProps(TTableInfo& Info, TRPTableCellData& Cell, const TRPRTFCellProperties& P, int Left,
                        int Right, const TRPRTFRowProperties& Row);
    void FinishTable(TTableInfo& Info);
    // The paragraph style of a table's own paragraph (Indent in pixels).
    int TableParaStyle(int Alignment, int Indent = 0);

    // Adds an item at the reader's position. Without Markers a paragraph start
    // gets no list marker of the paragraph being read (the item has its own).
    void AddItem(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, TRPRTFPosition Position,
                 bool Markers = true);
    void InsertMarker();
    int ChooseTextStyle(bool Unicode, bool Jump);
    // ChooseTextStyle and ChooseParaStyle, remembered for runs and paragraphs that look alike.
    int CachedTextStyle(bool Unicode, bool Jump);
    int CachedParaStyle(TRPRTFPosition Position);
    int ChooseParaStyle(TRPRTFPosition Position);
    int FontCharset(const TRPRTFFont* Font);
    int PrevParaNo() const;
    void BuildW97Lists();
    int OldStyleList(const TRPRTFMarkerProperties& M);
    // Whether the field being read is a hyperlink; its target, the switches
    // after the target (the extras the document is told) and the \o text.
    bool HyperlinkTarget(std::string& Target, std::string& Extras, std::string& Hint) const;
    int Px(int twips) const;
};

// The border of a paragraph or cell for an RTF border type and width (twips);
// RightOrBottom tells the sides whose thick line lies inside.
void RPRTFConvertBorder(int Type, int WidthTwips, bool RightOrBottom, double Factor, TRPBorder& Border);
