// libFuzzer target: any bytes read as a document stream end with True or
// False, never a crash, a hang or runaway memory; a stream that was read is
// written again and reads back to the same stream; a stream that the editor's
// check lets in is inserted whole.
#include "platform/Pictures.h"
#include "richtext/edit/RPTable.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleInfos.h"

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

namespace {

class TFuzzDoc : public TCustomRPData {
public:
    explicit TFuzzDoc(TRPStyle* AStyle, TRPOptions AOpts, TRPFOptions ARPF)
        : Style(AStyle), Opts(AOpts), RPFOpts(ARPF) {}
    ~TFuzzDoc() override { Clear(); }
    TRPStyle* Style;
    TRPOptions Opts;
    TRPFOptions RPFOpts;
    uint8_t Warnings = 0;
    std::vector<std::string> Props;
    TRPStyle* GetRPStyle() const override { return Style; }
    TRPOptions GetOptions() const override { return Opts; }
    TRPFOptions GetRPFOptions() const override { return RPFOpts; }
    void SetRPFOptions(TRPFOptions v) override { RPFOpts = v; }
    uint8_t GetRPFWarnings() const override { return Warnings; }
    void SetRPFWarnings(uint8_t v) override { Warnings = v; }
    uint32_t GetFlags() const override { return rpflMainDocument; }
    std::vector<std::string>* GetDocProperties() override { return &Props; }
};

void Run(const std::string& data, TRPOptions opts, TRPFOptions rpf) {
    TRPStyle style;
    style.TextStyles().Add()->Unicode = true;
    style.ListStyles().Add()->Levels.Add();
    // What the editor's insertion accepts after its check, it reads whole.
    {
        TFuzzDoc into(&style, opts, rpf);
        into.AddText("vor nach", 0, 0);
        int items = 0;
        if (into.CheckRPFInsertion(data, items)) {
            int index = 1, added = 0, outInt = 0;
            bool outFlag = false, aborted = false;
            TColor c = clNone;
            if (!into.InsertRPFFromStream(data, index, -1, true, false, false, c, nullptr, nullptr, added, outInt,
                                          outFlag, aborted))
                __builtin_trap();
        }
    }
    TFuzzDoc doc(&style, opts, rpf);
    TRPLayoutInfo layout;
    TRPBackground back(false);
    TColor color = clNone;
    if (!doc.LoadRPFFromStream(data, color, &back, &layout)) return;
    std::string once;
    doc.SaveRPFToStream(once, false, color, nullptr, nullptr);
    TFuzzDoc again(&style, opts, rpf);
    if (!again.LoadRPFFromStream(once, color, nullptr, nullptr)) __builtin_trap();
    std::string twice;
    again.SaveRPFToStream(twice, false, color, nullptr, nullptr);
    if (twice != once) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    // Tables come with their unit; this target reaches them through the item factory.
    static const bool tables = (RPRegisterTableItem(), true);
    (void)tables;
    const std::string s(reinterpret_cast<const char*>(data), size);
    const TRPFOptions loadAll = rpfoLoadBack | rpfoLoadLayout | rpfoLoadDocProperties | rpfoSavePicturesBody |
                                rpfoIgnoreUnknownPicFmt | rpfoSaveDocProperties;
    Run(s, 0, loadAll);
    Run(s, rpoTagsArePChars,
        loadAll | rpfoSaveBinary | rpfoConvUnknownStylesToZero | rpfoConvLargeImageIdxToZero);
    return 0;
}
