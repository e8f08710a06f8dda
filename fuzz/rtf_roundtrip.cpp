// libFuzzer target, differential: whatever the RTF reader makes of any bytes
// is written as RTF and read again, and both documents hold the same text.
// Writing never crashes, hangs or runs away, and what it writes reads cleanly.
#include "FuzzApp.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

namespace {

class TFuzzDoc : public TCustomRPData {
public:
    ~TFuzzDoc() override { Clear(); }
    mutable TRPStyle Style;
    TRPRTFReaderProperties Props;
    TRPRTFOptions RTFOpts = rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg;
    TRPStyle* GetRPStyle() const override { return &Style; }
    TRPOptions GetOptions() const override { return rpoTagsArePChars; }
    TRPRTFOptions GetRTFOptions() const override { return RTFOpts; }
    void DoReadHyperlink(const std::string& Target, const std::string&, std::string&, TRPTag& Tag, int&,
                         int) override {
        Tag = TRPTag::FromText(Target);
    }
    void DoWriteHyperlink(int, TCustomRPData* RPData, int ItemNo, int, std::string& Target,
                          std::string& Extras) override {
        Extras.clear();
        Target = RPData->GetItemTag(ItemNo).Text.value_or("");
    }

    uint8_t Read(const char* data, size_t size) {
        Props.UnicodeMode = rpruMixed;
        Props.TextStyleMode = rprsAddIfNeeded;
        Props.ParaStyleMode = rprsAddIfNeeded;
        Props.UseHypertextStyles = true;
        QByteArray bytes(data, static_cast<qsizetype>(size));
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        return Props.ReadRTFStream(buf, this);
    }

    // The characters of all text runs, in UTF-16, as the writer promises to
    // give them back: a surrogate without its other half in its run becomes
    // U+FFFD. Control characters have no form of their own in RTF (readers
    // drop \'00 or \'0a), so they are left out.
    std::u16string Text() const {
        std::u16string s;
        for (int i = 0; i < GetItemCount(); ++i) {
            const int style = GetItemStyle(i);
            if (style < 0) continue;
            const std::string& t = GetItemText(i);
            std::u16string w = GetItem(i)->IsUnicode()
                                   ? ItemTextToWideStr(t)
                                   : ItemTextToWideStr(AnsiToUnicodeText(GetStyleCodePage(style), t));
            ReplaceLoneSurrogates(w);
            for (char16_t c : w)
                if (c >= 0x20) s += c;
        }
        return s;
    }
};

void RoundTrip(const uint8_t* data, size_t size, TRPRTFOptions options) {
    TFuzzDoc first;
    first.RTFOpts = options;
    first.Read(reinterpret_cast<const char*>(data), size);
    std::string rtf;
    if (!first.SaveRTFToStream(rtf, false, 0, clWindow, nullptr, nullptr, 0)) __builtin_trap();
    if (first.GetItemCount() == 0) return;
    TFuzzDoc second;
    if (second.Read(rtf.data(), rtf.size()) != 0) __builtin_trap();
    if (first.Text() != second.Text()) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Pictures are drawn and text is measured while a document is written:
    // the application the program runs in, with its fonts.
    FuzzAnwendung();
    RoundTrip(data, size, rprtfDuplicateUnicode | rprtfSaveEMFAsWMF | rprtfSaveJpegAsJpeg);
    RoundTrip(data, size, rprtfSaveStyleSheet);
    return 0;
}
