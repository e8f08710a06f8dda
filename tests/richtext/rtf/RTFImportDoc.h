#pragma once
// A document that is its own root, with a style component and the RTF import,
// for importer tests.
#include "platform/CodePage.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QBuffer>
#include <string>
#include <vector>

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

    // The text of item i as UTF-8.
    std::string ItemUtf8(int i) const {
        const std::string& t = GetItemText(i);
        if (GetItem(i)->IsUnicode()) return QString::fromStdU16String(ItemTextToWideStr(t)).toStdString();
        const int style = GetItemStyle(i);
        const int cp = style >= 0 ? GetStyleCodePage(style) : 1252;
        return CodePage::ToUnicode(cp, t).toStdString();
    }

    // Paragraphs and lines as line ends, pictures as "[pic]", markers as "*".
    std::string PlainText() const {
        std::string out;
        for (int i = 0; i < GetItemCount(); ++i) {
            const TCustomRPItemInfo* it = GetItem(i);
            if (i > 0 && !it->GetContinuesPrev()) out += "\n";
            const int style = GetItemStyle(i);
            if (style >= 0)
                out += ItemUtf8(i);
            else if (style == rpsnPicture || style == rpsnHotPicture)
                out += "[pic]";
            else if (style == rpsnListMarker)
                out += "*";
        }
        return out;
    }
};
