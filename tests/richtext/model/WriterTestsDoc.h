#pragma once
// A document that is its own root, as the view's document is: a style
// component, the view's RTF options, string tags that hold link targets, and
// the RTF import for reading written files back.
#include <QBuffer>
#include <string>

#include "platform/CodePage.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

class TWriterDoc : public TCustomRPData {
public:
    TWriterDoc() = default;
    ~TWriterDoc() override { Clear(); }

    mutable TRPStyle Style;
    TRPRTFReaderProperties Props;
    TRPRTFOptions RTFOpts = rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg;
    TRPFOptions RPFOpts = 0;
    TRPFReaderStyleMode TextMode = rpf_sIgnore, ParaMode = rpf_sIgnore;
    int Sel[4] = {-1, 0, -1, 0};

    TRPStyle* GetRPStyle() const override { return &Style; }
    TRPOptions GetOptions() const override { return rpoTagsArePChars; }
    TRPRTFOptions GetRTFOptions() const override { return RTFOpts; }
    uint32_t GetFlags() const override { return rpflMainDocument; }
    TRPFOptions GetRPFOptions() const override { return RPFOpts; }
    TRPFReaderStyleMode GetRPFTextStylesReadMode() const override { return TextMode; }
    TRPFReaderStyleMode GetRPFParaStylesReadMode() const override { return ParaMode; }
    TRPRTFReaderProperties* GetRTFReadProperties() override { return &Props; }
    void GetSelectionBounds(int& s, int& so, int& e, int& eo, std::shared_ptr<const TRPMultiDrawItemPart>& p1,
                            std::shared_ptr<const TRPMultiDrawItemPart>& p2) override {
        s = Sel[0], so = Sel[1], e = Sel[2], eo = Sel[3];
        p1.reset();
        p2.reset();
    }
    // Link targets travel in the items' tags.
    void DoReadHyperlink(const std::string& Target, const std::string&, std::string&, TRPTag& Tag, int&,
                         int) override {
        Tag = TRPTag::FromText(Target);
    }
    void DoWriteHyperlink(int, TCustomRPData* RPData, int ItemNo, int, std::string& Target,
                          std::string& Extras) override {
        Extras.clear();
        const TRPTag& t = RPData->GetItemTag(ItemNo);
        Target = t.Text ? *t.Text : std::string();
    }

    std::string RTF(bool SelectionOnly = false) {
        std::string s;
        SaveRTFToStream(s, SelectionOnly, 0, clWindow, nullptr, nullptr, 0);
        return s;
    }
    std::string Text(bool Unicode = false) {
        std::string s;
        SaveTextToStream(std::string(), s, 80, false, false, Unicode, false);
        return s;
    }
    std::string HTML(bool CSS, TRPHTMLSaveOptions Options = 0) {
        std::string s;
        int n = 0;
        TColor cur = clNone;
        if (CSS)
            SaveHTMLWithCSSToStream(s, std::string(), "T", "img", "", "", "", Options, clNone, cur, n, 0, 0, 0, 0,
                                    nullptr, nullptr);
        else
            SaveHTMLToStream(s, std::string(), "T", "img", Options, clNone, n, 0, 0, 0, 0, nullptr, nullptr);
        return s;
    }
    // The import adds the text and paragraph styles it does not find.
    void AddStylesOnImport() {
        Props.TextStyleMode = rprsAddIfNeeded;
        Props.ParaStyleMode = rprsAddIfNeeded;
    }
    uint8_t ImportRTF(const std::string& rtf) {
        QByteArray data(rtf.data(), static_cast<qsizetype>(rtf.size()));
        QBuffer buf(&data);
        buf.open(QIODevice::ReadOnly);
        return Props.ReadRTFStream(buf, this);
    }
};
