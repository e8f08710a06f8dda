// libFuzzer target: any bytes given to the RTF reader alone end with a result
// code, never a crash, a hang or runaway memory. fuzz/rtf_import.cpp takes the
// same seeds through the import into a document.
#include "RTFFuzz.h"
#include "richtext/rtf/RPRTFReader.h"

#include <cstdint>

namespace {

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RTFFuzzSetup();
    ReadOnly(data, RTFFuzzCap(size));
    return 0;
}
