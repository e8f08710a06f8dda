// Animated cursor files and icon-list streams: damaged input must give a
// read error and nothing else; what was read is handed on as the program does.
#include "FuzzApp.h"
#include "imaging/AnimatedCursor.h"
#include "imaging/IconList.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzAnwendung();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TAnimatedCursorImage ani;
    try {
        ani.LoadFromStream(bytes);
        TIconList list;
        ani.AssignTo(list);
        TIconList back;
        back.LoadFromStream(list.SaveToStream());
        if (ani.IconFrames.size() <= 8 && ani.IconFrames[0]->Icon->Width() <= 64) {
            TBitmap strip;
            ani.AssignTo(strip);
        }
    } catch (const EReadError&) {
    }
    TIconList list;
    try {
        list.LoadFromStream(bytes);
    } catch (const EReadError&) {
    }
    return 0;
}
