#pragma once
// A stand-in in the work of the metafile store that throws std::bad_alloc at
// one step, as an allocation that fails inside a library or Qt would, on
// whatever thread does the step. It counts its throws, those on threads other
// than the application's apart.
//
//   TThrowingMetafileWork failing(TMetafileWork::Converting);
//   ... pictures loaded now fail their conversion with an exception ...
#include "platform/MetafileCache.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <new>

class TThrowingMetafileWork {
public:
    explicit TThrowingMetafileWork(TMetafileWork Step) {
        s_step = Step;
        s_throws = 0;
        s_offMainThread = 0;
        SetMetafileWorkStandIn(&Throw);
    }
    ~TThrowingMetafileWork() { SetMetafileWorkStandIn(nullptr); }
    TThrowingMetafileWork(const TThrowingMetafileWork&) = delete;
    TThrowingMetafileWork& operator=(const TThrowingMetafileWork&) = delete;

    int Throws() const { return s_throws; }
    int ThrowsOffMainThread() const { return s_offMainThread; }

private:
    static void Throw(TMetafileWork Step) {
        if (Step != s_step) return;
        ++s_throws;
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) ++s_offMainThread;
        throw std::bad_alloc();
    }
    static inline std::atomic<TMetafileWork> s_step{TMetafileWork::Converting};
    static inline std::atomic<int> s_throws{0};
    static inline std::atomic<int> s_offMainThread{0};
};
