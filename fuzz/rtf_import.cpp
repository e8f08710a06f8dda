// libFuzzer target: any bytes imported into a document as the section pages
// are end with a result code, never a crash, a hang or runaway memory. Its
// seeds are those of fuzz/rtf_reader.cpp (scripts/fuzz gives them to both).
#include "RTFFuzz.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <QBuffer>
#include <cstdint>

namespace {

class TFuzzDoc : public TCustomRPData {
public:
    ~TFuzzDoc() override { Clear(); }
    mutable TRPStyle Style;
    TRPStyle* GetRPStyle() const override { return &Style; }
};

void Import(const uint8_t* data, size_t size, TRPReaderStyleMode mode) {
    TFuzzDoc doc, header;
    TRPRTFReaderProperties props;
    props.UnicodeMode = rpruMixed;
    props.TextStyleMode = mode;
    props.ParaStyleMode = mode;
    // Headers then go to a document of their own styles, footers are read and left out.
    if (mode == rprsAddIfNeeded) props.HeaderRPData = &header;
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    if (props.ReadRTFStream(buf, &doc) > 10) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RTFFuzzSetup();
    size = RTFFuzzCap(size);
    // Both style modes: a new style for each new look, or the closest existing one.
    Import(data, size, size % 2 ? rprsUseClosest : rprsAddIfNeeded);
    return 0;
}
