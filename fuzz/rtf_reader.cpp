// libFuzzer target: any bytes given to the RTF reader, and imported into a
// document as the section pages are, end with a result code, never a crash,
// a hang or runaway memory.
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QBuffer>
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

namespace {

class TFuzzDoc : public TCustomRPData {
public:
    ~TFuzzDoc() override { Clear(); }
    mutable TRPStyle Style;
    TRPStyle* GetRPStyle() const override { return &Style; }
};

void ReadOnly(const uint8_t* data, size_t size) {
    size_t events = 0;
    TRPRTFReader r;
    r.OnNewText = [&](TRPRTFReader* s, const std::string& t, TRPRTFPosition) {
        events += t.size();
        (void)s->AnsiToUnicode(t);
    };
    r.OnNewUnicodeText = [&](TRPRTFReader* s, const std::u16string& t, TRPRTFPosition) {
        events += t.size();
        (void)s->UnicodeToAnsi(t);
    };
    r.OnNewPicture = [&](TRPRTFReader*, TRPRTFPicture* p, TRPRTFGraphicPtr& g, TRPRTFPosition,
                         bool& inserted) { inserted = g != nullptr || (p && !p->FromShpPict); };
    r.OnNewObject = [&](TRPRTFReader*, TRPRTFObject* o, TRPRTFPosition, bool& inserted) {
        inserted = o->Data.size() % 2 == 0;
    };
    r.OnTable = [&](TRPRTFReader* s, TRPRTFTableEventKind) {
        if (const TRPRTFRowProperties* row = s->RowProps()) events += row->Cells.size();
    };
    r.OnUpdateMarker = [&](TRPRTFReader* s) { events += s->State().ParaProps.Marker ? 1 : 0; };
    r.OnRequiredPageBreak = [&](TRPRTFReader*) { ++events; };
    r.OnHeaderFooter = [&](TRPRTFReader*, TRPRTFHeaderFooterType, bool) { ++events; };
    if (r.ReadFromBuffer(reinterpret_cast<const char*>(data), size) > 10) __builtin_trap();
}

void Import(const uint8_t* data, size_t size, TRPReaderStyleMode mode) {
    TFuzzDoc doc;
    TRPRTFReaderProperties props;
    props.UnicodeMode = rpruMixed;
    props.TextStyleMode = mode;
    props.ParaStyleMode = mode;
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    if (props.ReadRTFStream(buf, &doc) > 10) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    ReadOnly(data, size);
    Import(data, size, rprsAddIfNeeded);
    if (size % 2) Import(data, size, rprsUseClosest);
    return 0;
}
