#pragma once
// A document that is its own root, with a style component and the RTF import,
// for importer tests.
#include "platform/CodePage.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QBuffer>
#include <string>
#include <vector>

// How a text dump writes tables: CellEnd after each cell's text, a line end
// after each row (of nested tables too when NestedRowEnds).
struct TImportTableText {
    std::string CellEnd = "|";
    bool NestedRowEnds = true;
};

class TImportDoc : public TCustomRPData {
public:
    TImportDoc() = default;
    ~TImportDoc() override { Clear(); }

    mutable TRPStyle Style;
    TRPRTFReaderProperties Props;
    std::vector<std::string> Links;
    bool RefuseFirst = false;

    TRPStyle* GetRPStyle() const override { return &Style; }
    TRPRTFReaderProperties* GetRTFReadProperties() override { return &Props; }
    void DoReadHyperlink(const std::string& Target, const std::string& Extras, std::string& Text, TRPTag& Tag,
                         int& StyleNo, int DocFormat) override {
        (void)Extras, (void)Tag, (void)DocFormat;
        Links.push_back(Target + "|" + Text + "|" + std::to_string(StyleNo));
    }
    bool InsertReadItem(int Index, std::string& Text, std::unique_ptr<TCustomRPItemInfo>& Item, int& OutInt,
                        bool& OutFlag) override {
        if (RefuseFirst) return false;
        return TCustomRPData::InsertReadItem(Index, Text, Item, OutInt, OutFlag);
    }

    uint8_t Import(const std::string& rtf) {
        QByteArray data(rtf.data(), static_cast<qsizetype>(rtf.size()));
        QBuffer buf(&data);
        buf.open(QIODevice::ReadOnly);
        return Props.ReadRTFStream(buf, this);
    }

    // The text of item i of D as UTF-8.
    static std::string ItemUtf8(const TCustomRPData& D, int i) {
        const std::string& t = D.GetItemText(i);
        if (D.GetItem(i)->IsUnicode()) return QString::fromStdU16String(ItemTextToWideStr(t)).toStdString();
        const int style = D.GetItemStyle(i);
        return ItemTextToQString(t, 0, style >= 0 ? D.GetStyleCodePage(style) : 1252).toStdString();
    }
    std::string ItemUtf8(int i) const { return ItemUtf8(*this, i); }

    using TTableText = TImportTableText;

    // Paragraphs and lines as line ends, pictures as "[pic]", markers as "*",
    // tables row by row.
    std::string PlainText(const TTableText& Tables = TTableText()) const { return Text(*this, Tables, 0); }

    static std::string Text(const TCustomRPData& D, const TTableText& Tables, int Depth) {
        std::string out;
        for (int i = 0; i < D.GetItemCount(); ++i) {
            const TCustomRPItemInfo* it = D.GetItem(i);
            if (i > 0 && !it->GetContinuesPrev()) out += "\n";
            const int style = D.GetItemStyle(i);
            if (style >= 0)
                out += ItemUtf8(D, i);
            else if (style == rpsnPicture || style == rpsnHotPicture)
                out += "[pic]";
            else if (style == rpsnListMarker)
                out += "*";
            else if (const auto* t = dynamic_cast<const TRPTableItemInfo*>(it))
                for (int r = 0; r < t->Rows->RowCount(); ++r) {
                    for (int c = 0; c < t->Rows->GetColCount(); ++c)
                        if (const TRPTableCellData* cell = t->GetCell(r, c))
                            out += Text(*cell, Tables, Depth + 1) + Tables.CellEnd;
                    if (Depth == 0 || Tables.NestedRowEnds) out += "\n";
                }
        }
        return out;
    }
};
