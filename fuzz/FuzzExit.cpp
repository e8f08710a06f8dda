// Linked into every fuzz target, for libFuzzer and for the seed runner: the
// metafile pictures still converting on threads of their own are stopped
// before the process ends, however it ends (libFuzzer's exit after the
// inputs it replayed or after its time, the seed runner's return from main).
// Left running, they would go on drawing while exit tears down the statics
// of Qt and of the program. Nothing tears the fuzz application down, whose
// end would stop them otherwise.
//
// The stop runs in the destructor of an object of the main thread's thread
// storage: exit() destroys those before any object of static storage.
#include "platform/MetafileCache.h"

namespace {

struct TStopConversionsAtExit {
    TStopConversionsAtExit() = default;
    TStopConversionsAtExit(const TStopConversionsAtExit&) = delete;
    TStopConversionsAtExit& operator=(const TStopConversionsAtExit&) = delete;
    ~TStopConversionsAtExit() { StopMetafileConversions(); }
};

// Made on the main thread while the program starts, before any input runs.
[[maybe_unused]] const bool g_stopsAtExit = [] {
    thread_local TStopConversionsAtExit stop;
    (void)stop;
    return true;
}();

} // namespace
