// Tables in RPF: one record whose last line carries the table as a block of
// tagged properties, the cells with their spans, attributes and RPF content,
// and the rows' vertical alignments. Blocks come from files: every count,
// span and length is checked against caps, the grid and the bytes present.
#include <algorithm>
#include <cstring>

#include "platform/Pictures.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPTextHelpers.h"

namespace {

constexpr char kMagic[4] = {'R', 'P', 'T', '1'};
using L = TRPTableLimits;
constexpr int kEndOfCells = -1;
constexpr size_t kMaxClassName = 64;

// Table properties by tag, in the order they are written.
enum TTableTag : uint8_t {
    ttEnd,
    ttOptions,
    ttPrintOptions,
    ttBestWidth,
    ttColor,
    ttHeadingRowCount,
    ttTextRowSeparator,
    ttTextColSeparator,
    ttBorderWidth,
    ttBorderColor,
    ttBorderLightColor,
    ttBorderStyle,
    ttBorderVSpacing,
    ttBorderHSpacing,
    ttCellBorderWidth,
    ttCellBorderColor,
    ttCellBorderLightColor,
    ttCellPadding,
    ttCellBorderStyle,
    ttVRuleWidth,
    ttVRuleColor,
    ttHRuleWidth,
    ttHRuleColor,
    ttCellVSpacing,
    ttCellHSpacing,
    ttVOutermostRule,
    ttHOutermostRule,
    ttBackgroundStyle,
    ttBackgroundImg,
};

enum TCellTag : uint8_t {
    ctEnd,
    ctColor,
    ctBorderColor,
    ctBorderLightColor,
    ctBestWidth,
    ctBestHeight,
    ctVisibleBorders,
    ctVAlign,
    ctBackgroundStyle,
    ctBackgroundImageFileName,
    ctBackgroundImg,
};

class TBlockWriter {
public:
    std::string Data;
    void Byte(uint8_t b) { Data.push_back(static_cast<char>(b)); }
    void Int(int32_t v) { RPFWriteInt32(Data, v); }
    void Str(const std::string& s) {
        Int(static_cast<int32_t>(s.size()));
        Data += s;
    }
    void Prop(uint8_t Tag, int32_t Value) {
        Byte(Tag);
        Int(Value);
    }
    void StrProp(uint8_t Tag, const std::string& Value) {
        Byte(Tag);
        Str(Value);
    }
};

class TBlockReader {
public:
    explicit TBlockReader(const std::string& AData) : Data(AData) {}
    const std::string& Data;
    size_t Pos = 0;
    bool Ok = true;
    size_t Left() const { return Data.size() - Pos; }
    uint8_t Byte() {
        if (Left() < 1) return Fail(), 0;
        return static_cast<uint8_t>(Data[Pos++]);
    }
    int32_t Int() {
        if (Left() < 4) return Fail(), 0;
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<uint8_t>(Data[Pos + static_cast<size_t>(i)]);
        Pos += 4;
        return static_cast<int32_t>(v);
    }
    std::string Bytes() {
        const int32_t n = Int();
        if (!Ok || n < 0 || static_cast<size_t>(n) > Left()) return Fail(), std::string();
        std::string s = Data.substr(Pos, static_cast<size_t>(n));
        Pos += static_cast<size_t>(n);
        return s;
    }
    void Fail() { Ok = false; }
};

int Clamp(int v, int lo, int hi) {
    return std::clamp(v, lo, hi);
}

// A background picture: its class name, then its own stream data.
void WritePicture(TBlockWriter& w, uint8_t Tag, const TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    w.Byte(Tag);
    w.Str(Graphic->ClassName().toStdString());
    RPFSavePictureBinary(w.Data, *Graphic);
}

// The picture written by WritePicture; null (the block read on) for a class
// this program does not know or data the class cannot read. False when the
// block itself is damaged.
bool ReadPicture(TBlockReader& r, std::unique_ptr<TGraphic>& Graphic) {
    const std::string name = r.Bytes();
    if (!r.Ok || name.size() > kMaxClassName) return false;
    Graphic = RPCreateGraphicProc
                  ? RPCreateGraphicProc(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())))
                  : nullptr;
    if (!Graphic) {
        r.Bytes();
        return r.Ok;
    }
    const size_t at = r.Pos;
    const bool loaded = RPFLoadPictureBinary(r.Data, r.Pos, *Graphic);
    if (r.Pos == at) return false; // the block ends early
    if (!loaded || Graphic->Empty()) Graphic.reset();
    return true;
}

// The rows' vertical alignments: a flag, then one byte per row written, only
// when some row is not aligned at the top.
void WriteRowVAlign(TBlockWriter& w, const TRPTableRows& Rows, const std::vector<int>& Written) {
    bool aligned = false;
    for (int r : Written)
        aligned = aligned || Rows.GetRow(r)->VAlign != rpcTop;
    w.Byte(aligned ? 1 : 0);
    if (aligned)
        for (int r : Written)
            w.Byte(Rows.GetRow(r)->VAlign);
}

bool ReadRowVAlign(TBlockReader& r, TRPTableRows& Rows) {
    const uint8_t aligned = r.Byte();
    if (!r.Ok) return false;
    if (aligned)
        for (int row = 0; row < Rows.RowCount(); ++row) {
            const uint8_t v = r.Byte();
            if (!r.Ok) return false;
            Rows.GetRow(row)->VAlign = static_cast<TRPCellVAlign>(std::min<int>(v, rpcVDefault));
        }
    return true;
}

// While cells are written, their documents write no styles, layout or
// background of their own: the document that holds the table writes them once.
// They are written in binary form whatever the stream's: the block around them
// is written as text where the stream is, and text of text would double with
// every table nested in a cell.
class TCellRPFOptions {
public:
    explicit TCellRPFOptions(TCustomRPData* D) : FDoc(D), FOld(D ? D->GetRPFOptions() : 0) {
        if (FDoc)
            FDoc->SetRPFOptions(
                (FOld & static_cast<TRPFOptions>(~(rpfoSaveBack | rpfoSaveTextStyles | rpfoSaveParaStyles |
                                                   rpfoSaveLayout | rpfoSaveDocProperties))) |
                rpfoSaveBinary);
    }
    ~TCellRPFOptions() {
        if (FDoc) FDoc->SetRPFOptions(FOld);
    }

private:
    TCustomRPData* FDoc;
    TRPFOptions FOld;
};

} // namespace

// ---------------------------------------------------------------------------
// The block

std::string TRPTableItemInfo::SaveToBlock(const TRPTableBlock& Block) const {
    const TRPTableSaving saving = StoreEditedCell();
    TBlockWriter w;
    w.Data.append(kMagic, sizeof kMagic);
    const TRPTableItemInfo def(static_cast<TCustomRPData*>(nullptr));
    const auto prop = [&](uint8_t tag, int32_t v, int32_t d) {
        if (v != d) w.Prop(tag, v);
    };
    prop(ttOptions, Options, def.Options);
    prop(ttPrintOptions, PrintOptions, def.PrintOptions);
    // A block of the table is a table of its own: a width in pixels was all
    // the columns', and its heading rows are those it starts with.
    const bool part = !Block.IsWhole();
    prop(ttBestWidth, part && BestWidth > 0 && Block.ColCount() < Rows->GetColCount() ? 0 : BestWidth,
         def.BestWidth);
    prop(ttColor, static_cast<int32_t>(Color), static_cast<int32_t>(def.Color));
    prop(ttHeadingRowCount, part ? Block.HeadingRows(HeadingRowCount) : HeadingRowCount, def.HeadingRowCount);
    if (TextRowSeparator != def.TextRowSeparator) w.StrProp(ttTextRowSeparator, TextRowSeparator);
    if (TextColSeparator != def.TextColSeparator) w.StrProp(ttTextColSeparator, TextColSeparator);
    prop(ttBorderWidth, BorderWidth, def.BorderWidth);
    prop(ttBorderColor, static_cast<int32_t>(BorderColor), static_cast<int32_t>(def.BorderColor));
    prop(ttBorderLightColor, static_cast<int32_t>(BorderLightColor),
         static_cast<int32_t>(def.BorderLightColor));
    prop(ttBorderStyle, BorderStyle, def.BorderStyle);
    prop(ttBorderVSpacing, BorderVSpacing, def.BorderVSpacing);
    prop(ttBorderHSpacing, BorderHSpacing, def.BorderHSpacing);
    prop(ttCellBorderWidth, CellBorderWidth, def.CellBorderWidth);
    prop(ttCellBorderColor, static_cast<int32_t>(CellBorderColor), static_cast<int32_t>(def.CellBorderColor));
    prop(ttCellBorderLightColor, static_cast<int32_t>(CellBorderLightColor),
         static_cast<int32_t>(def.CellBorderLightColor));
    prop(ttCellPadding, CellPadding, def.CellPadding);
    prop(ttCellBorderStyle, CellBorderStyle, def.CellBorderStyle);
    prop(ttVRuleWidth, VRuleWidth, def.VRuleWidth);
    prop(ttVRuleColor, static_cast<int32_t>(VRuleColor), static_cast<int32_t>(def.VRuleColor));
    prop(ttHRuleWidth, HRuleWidth, def.HRuleWidth);
    prop(ttHRuleColor, static_cast<int32_t>(HRuleColor), static_cast<int32_t>(def.HRuleColor));
    prop(ttCellVSpacing, CellVSpacing, def.CellVSpacing);
    prop(ttCellHSpacing, CellHSpacing, def.CellHSpacing);
    prop(ttVOutermostRule, VOutermostRule, def.VOutermostRule);
    prop(ttHOutermostRule, HOutermostRule, def.HOutermostRule);
    prop(ttBackgroundStyle, GetBackgroundStyle(), rpbsColor);
    WritePicture(w, ttBackgroundImg, GetBackgroundImage());
    w.Byte(ttEnd);

    // The cells of the block's rows; covered positions are not written.
    w.Int(Block.RowCount());
    if (Block.RowCount() > 0) {
        const int cols = Block.ColCount();
        w.Int(cols);
        TCellRPFOptions options(GetRPData());
        for (int r = 0; r < Block.RowCount(); ++r)
            for (int c = 0; c < cols; ++c) {
                TRPTableCellData* cell = Block.GetCell(r, c);
                if (!cell) continue;
                w.Int(Block.ColSpan(r, c));
                w.Int(Block.RowSpan(r, c));
                const auto cp = [&](uint8_t tag, int32_t v, int32_t d) {
                    if (v != d) w.Prop(tag, v);
                };
                cp(ctColor, static_cast<int32_t>(cell->Color), static_cast<int32_t>(clNone));
                cp(ctBorderColor, static_cast<int32_t>(cell->BorderColor), static_cast<int32_t>(clNone));
                cp(ctBorderLightColor, static_cast<int32_t>(cell->BorderLightColor),
                   static_cast<int32_t>(clNone));
                cp(ctBestWidth, Block.CellBestWidth(r, c), 0);
                cp(ctBestHeight, Block.CellBestHeight(r, c), 0);
                const TRPBooleanRect v = Block.VisibleBorders(r, c);
                cp(ctVisibleBorders,
                   (v.Left ? 1 : 0) | (v.Top ? 2 : 0) | (v.Right ? 4 : 0) | (v.Bottom ? 8 : 0), 15);
                cp(ctVAlign, cell->VAlign, rpcVDefault);
                cp(ctBackgroundStyle, cell->GetBackgroundStyle(), rpbsColor);
                if (!cell->BackgroundImageFileName.empty())
                    w.StrProp(ctBackgroundImageFileName, cell->BackgroundImageFileName);
                WritePicture(w, ctBackgroundImg, cell->GetBackgroundImage());
                w.Byte(ctEnd);
                if (cell->HasData(true))
                    cell->WriteRPFData(w.Data);
                else
                    w.Int(0);
            }
        w.Int(kEndOfCells);
    }
    WriteRowVAlign(w, *Rows, Block.SourceRows());
    return w.Data;
}

bool TRPTableItemInfo::LoadFromBlock(const std::string& Block) {
    if (Block.size() < sizeof kMagic || std::memcmp(Block.data(), kMagic, sizeof kMagic) != 0) return false;
    // No table stands deeper than tables may nest. The tables in its cells are
    // read inside it and count it, so this bounds the reading's recursion too.
    if (RPTablesAround(GetRPData()) >= L::MaxDepth) return false;
    TBlockReader r(Block);
    r.Pos = sizeof kMagic;
    FormattingInfo.Clear();
    FormattingInfo.Width = 0;
    for (uint8_t tag = r.Byte(); r.Ok && tag != ttEnd; tag = r.Byte()) {
        if (tag == ttTextRowSeparator || tag == ttTextColSeparator) {
            std::string s = r.Bytes();
            if (s.size() > 64) s.resize(64);
            (tag == ttTextRowSeparator ? TextRowSeparator : TextColSeparator) = s;
            continue;
        }
        if (tag == ttBackgroundImg) {
            std::unique_ptr<TGraphic> g;
            if (!ReadPicture(r, g)) return false;
            if (g) SetBackgroundImage(g.release(), false);
            continue;
        }
        const int32_t v = r.Int();
        switch (tag) {
        case ttOptions:
            Options = static_cast<TRPTableOptions>(v & 0x3FF);
            break;
        case ttPrintOptions:
            PrintOptions = static_cast<TRPTablePrintOptions>(v & 7);
            break;
        case ttBestWidth:
            BestWidth = L::BestWidth(v);
            break;
        case ttColor:
            Color = static_cast<TColor>(v);
            break;
        case ttHeadingRowCount:
            HeadingRowCount = L::HeadingRows(v);
            break;
        case ttBorderWidth:
            BorderWidth = L::BorderWidth(v);
            break;
        case ttBorderColor:
            BorderColor = static_cast<TColor>(v);
            break;
        case ttBorderLightColor:
            BorderLightColor = static_cast<TColor>(v);
            break;
        case ttBorderStyle:
            BorderStyle = static_cast<TRPTableBorderStyle>(Clamp(v, 0, rptbLoweredColor));
            break;
        case ttBorderVSpacing:
            BorderVSpacing = L::Spacing(v);
            break;
        case ttBorderHSpacing:
            BorderHSpacing = L::Spacing(v);
            break;
        case ttCellBorderWidth:
            CellBorderWidth = L::BorderWidth(v);
            break;
        case ttCellBorderColor:
            CellBorderColor = static_cast<TColor>(v);
            break;
        case ttCellBorderLightColor:
            CellBorderLightColor = static_cast<TColor>(v);
            break;
        case ttCellPadding:
            CellPadding = L::Padding(v);
            break;
        case ttCellBorderStyle:
            CellBorderStyle = static_cast<TRPTableBorderStyle>(Clamp(v, 0, rptbLoweredColor));
            break;
        case ttVRuleWidth:
            VRuleWidth = L::BorderWidth(v);
            break;
        case ttVRuleColor:
            VRuleColor = static_cast<TColor>(v);
            break;
        case ttHRuleWidth:
            HRuleWidth = L::BorderWidth(v);
            break;
        case ttHRuleColor:
            HRuleColor = static_cast<TColor>(v);
            break;
        case ttCellVSpacing:
            CellVSpacing = L::Spacing(v);
            break;
        case ttCellHSpacing:
            CellHSpacing = L::Spacing(v);
            break;
        case ttVOutermostRule:
            VOutermostRule = v != 0;
            break;
        case ttHOutermostRule:
            HOutermostRule = v != 0;
            break;
        case ttBackgroundStyle:
            SetBackgroundStyle(static_cast<TRPItemBackgroundStyle>(Clamp(v, 0, rpbsCentered)));
            break;
        default:
            return false; // a property this program never writes
        }
    }
    if (!r.Ok) return false;

    const int32_t rowCount = r.Int();
    if (!r.Ok || rowCount < 0 || rowCount > L::MaxRows) return false;
    if (rowCount == 0) {
        Rows->Reset(0, 0);
    } else {
        const int32_t colCount = r.Int();
        if (!r.Ok || colCount < 1 || colCount > L::MaxCols) return false;
        if (!L::GridFits(rowCount, colCount)) return false;
        const int64_t positions = static_cast<int64_t>(rowCount) * colCount;
        // The positions start empty and a cell is made only as the list gives
        // one, so that a grid costs memory as its bytes do, however much of it
        // merged cells cover.
        Rows->Reset(rowCount, 0);
        for (int row = 0; row < rowCount; ++row)
            for (int col = 0; col < colCount; ++col)
                Rows->GetRow(row)->InsertEmpty(col);
        std::vector<bool> taken(static_cast<size_t>(positions), false);
        const auto at = [&](int Row, int Col) {
            return static_cast<size_t>(Row) * static_cast<size_t>(colCount) + static_cast<size_t>(Col);
        };
        for (int row = 0; row < rowCount; ++row)
            for (int col = 0; col < colCount; ++col) {
                if (taken[at(row, col)]) continue; // covered by a cell read before
                const int32_t colSpan = r.Int();
                const int32_t rowSpan = r.Int();
                if (!r.Ok || colSpan == kEndOfCells) return false; // the list ended early
                // A cell covers at least its own position and no more than the
                // grid has left right of and below it (compared, not added: the
                // spans are any int), and no position a cell read before covers.
                // Written blocks hold whole cells that do not overlap.
                if (colSpan < 1 || colSpan > colCount - col || rowSpan < 1 || rowSpan > rowCount - row)
                    return false;
                for (int y = row; y < row + rowSpan; ++y)
                    for (int x = col; x < col + colSpan; ++x) {
                        if (taken[at(y, x)]) return false;
                        taken[at(y, x)] = true;
                    }
                Rows->GetRow(row)->PutCell(col, Rows->NewCell(Rows->GetRow(row)));
                TRPTableCellData* cell = Rows->GetCell(row, col);
                cell->ColSpan = colSpan;
                cell->RowSpan = rowSpan;
                for (uint8_t tag = r.Byte(); r.Ok && tag != ctEnd; tag = r.Byte()) {
                    if (tag == ctBackgroundImageFileName) {
                        cell->BackgroundImageFileName = r.Bytes();
                        continue;
                    }
                    if (tag == ctBackgroundImg) {
                        std::unique_ptr<TGraphic> g;
                        if (!ReadPicture(r, g)) return false;
                        if (g) cell->SetBackgroundImage(g.release(), false);
                        continue;
                    }
                    const int32_t v = r.Int();
                    switch (tag) {
                    case ctColor:
                        cell->Color = static_cast<TColor>(v);
                        break;
                    case ctBorderColor:
                        cell->BorderColor = static_cast<TColor>(v);
                        break;
                    case ctBorderLightColor:
                        cell->BorderLightColor = static_cast<TColor>(v);
                        break;
                    case ctBestWidth:
                        cell->BestWidth = L::BestWidth(v);
                        break;
                    case ctBestHeight:
                        cell->BestHeight = L::BestHeight(v);
                        break;
                    case ctVisibleBorders:
                        cell->VisibleBorders.SetValues((v & 1) != 0, (v & 2) != 0, (v & 4) != 0,
                                                       (v & 8) != 0);
                        break;
                    case ctVAlign:
                        cell->VAlign = static_cast<TRPCellVAlign>(Clamp(v, 0, rpcVDefault));
                        break;
                    case ctBackgroundStyle:
                        cell->SetBackgroundStyle(
                            static_cast<TRPItemBackgroundStyle>(Clamp(v, 0, rpbsCentered)));
                        break;
                    default:
                        return false;
                    }
                }
                if (r.Left() < 4) return false;
                if (RPFReadInt32(r.Data, r.Pos) == 0) {
                    r.Pos += 4; // an empty cell keeps the paragraph it was made with
                } else {
                    // The cell's read starts its warnings afresh; the
                    // stream's reading keeps what it had found.
                    TCustomRPData* holder = GetRPData();
                    const uint8_t warnings = holder ? holder->GetRPFWarnings() : 0;
                    const bool ok = cell->ReadRPFData(r.Data, r.Pos);
                    if (holder)
                        holder->SetRPFWarnings(static_cast<uint8_t>(warnings | holder->GetRPFWarnings()));
                    if (!ok) return false;
                }
            }
        if (r.Int() != kEndOfCells || !r.Ok) return false; // more cells than the grid holds
        if (!Rows->IsConsistent()) Rows->Repair();
    }
    if (!ReadRowVAlign(r, *Rows)) return false;
    Changed();
    return true;
}

// ---------------------------------------------------------------------------
// The record

int TRPTableItemInfo::GetRPFExtraPropertyCount() const {
    return TRPFullLineItemInfo::GetRPFExtraPropertyCount() + (BackgroundImageFileName.empty() ? 0 : 1);
}

void TRPTableItemInfo::SaveRPFExtraProperties(std::string& Stream) const {
    TRPFullLineItemInfo::SaveRPFExtraProperties(Stream);
    if (!BackgroundImageFileName.empty())
        RPFWriteStrItemProperty(Stream, rpespImageFileName, BackgroundImageFileName);
}

bool TRPTableItemInfo::SetExtraStrProperty(int Prop, const std::string& Value) {
    if (Prop == rpespImageFileName) {
        BackgroundImageFileName = Value;
        return true;
    }
    return TRPFullLineItemInfo::SetExtraStrProperty(Prop, Value);
}

bool TRPTableItemInfo::GetExtraStrProperty(int Prop, std::string& Value) const {
    if (Prop == rpespImageFileName) {
        Value = BackgroundImageFileName;
        return true;
    }
    return TRPFullLineItemInfo::GetExtraStrProperty(Prop, Value);
}

void TRPTableItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                               const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo;
    const bool binary = RPData && (RPData->GetRPFOptions() & rpfoSaveBinary);
    RPFWriteNonTextHeader(Stream, RPData, *this, GetRPFExtraPropertyCount() + 3, ParaNo, binary ? 2 : 0,
                          ForceContinue);
    RPFWriteLine(Stream, RPFLineText(Name));
    SaveRPFExtraProperties(Stream);
    RPFWriteLine(Stream, "1");
    // A printed part or the selected cells, else the whole table.
    const std::string block = SaveToBlock(GetBlock(static_cast<const TRPMultiDrawItemPart*>(Part)));
    RPFWriteBody(Stream, block, binary);
}

bool TRPTableItemInfo::ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) {
    (void)RPData;
    const int left = Line.LineCount - Line.LineNo;
    if (Line.LineNo == 0) {
        Line.Name = s; // the item's text
    } else if (left == 1) {
        std::string block;
        return RPFReadBody(s, Line.ReadType, block) && LoadFromBlock(block);
    } else if (left != 2) {
        ReadRPFProperty(s);
    }
    // The line before the block ("1") announces a binary block in binary records.
    if (left == 2 && Line.ReadType == 2) Line.NextLineBinary = true;
    return true;
}
