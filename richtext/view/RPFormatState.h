#pragma once
// State of one run of the line builder and the text measurements it keeps
// (private to the formatting units).
#include <QString>

#include <algorithm>

#include <vector>

#include "platform/Runtime.h"
#include "richtext/model/RPCoords.h"
#include "richtext/view/RPFormattedData.h"

struct TCustomRPFormattedData::TLineBuilder {
    TCanvas* Canvas = nullptr;
    TRPStyle* Style = nullptr;
    TRPResolution Res;
    bool Scaled = false; // the canvas is not at screen resolution
    int LeftPx = 0;      // margins in device pixels
    int RightPx = 0;
    uint32_t Flags = 0;

    int Y = 0; // baseline of the current line
    int PendingBelow = 0;
    int LineAscent = 0;
    int LineLeft = 0;
    int LineWidth = 0;
    int LineX = 0;
    int DrawCount = 0;
    int LineStart = 0;       // first draw item of the current line
    int LastLineSpacing = 0; // added when the next line starts
    bool SkipFinish = true;
    bool NoLeadingSkip = false; // a trailing space was just dropped at a wrap
    bool ForceNewLine = true;   // the next item starts a line (document start, after a full-line item)
    int AppliedStyle = -1;
    int VShiftPx = 0;
    int TmAscent = 0, TmDescent = 0, TmExtLeading = 0, TmHeight = 0;
    int ParaStartNo = -1;

    int ScaleX(int v) const { return Scaled ? RPCoordScale(v, Res.DeviceX, Res.ScreenX) : v; }
    int ScaleY(int v) const { return Scaled ? RPCoordScale(v, Res.DeviceY, Res.ScreenY) : v; }
    const TRPResolution* ResPtr() const { return Scaled ? &Res : nullptr; }
};

// The characters of item texts as they are measured and their prefix widths,
// measured once per item while one format runs (for the items Base onwards).
struct TCustomRPFormattedData::TMeasure {
    struct TEntry {
        bool Valid = false;
        QString Text;
        std::vector<int> Prefix; // Prefix[i]: width of characters 1 .. i + 1
    };
    int Base = 0;
    std::vector<TEntry> Entries;
    int Users = 0;
    TEntry* Find(int ItemNo) {
        const int k = ItemNo - Base;
        return k >= 0 && k < static_cast<int>(Entries.size()) ? &Entries[static_cast<size_t>(k)] : nullptr;
    }
};

// Keeps a measurement cache for the items First .. First + Count - 1 for the
// scope of a format; nested scopes share the outer one.
class TRPMeasureScope {
public:
    TRPMeasureScope(std::unique_ptr<TCustomRPFormattedData::TMeasure>& M, int First, int Count) : m_m(M) {
        if (!m_m) {
            m_m = std::make_unique<TCustomRPFormattedData::TMeasure>();
            m_m->Base = First;
            m_m->Entries.resize(static_cast<size_t>(std::max(0, Count)));
        }
        ++m_m->Users;
    }
    ~TRPMeasureScope() {
        if (--m_m->Users == 0) m_m.reset();
    }
    TRPMeasureScope(const TRPMeasureScope&) = delete;
    TRPMeasureScope& operator=(const TRPMeasureScope&) = delete;

private:
    std::unique_ptr<TCustomRPFormattedData::TMeasure>& m_m;
};

// While it lives, the minimum widths the document kept stand in for
// measuring its unchanged text items (when On).
class TRPKeptMinWidthsTrust {
public:
    TRPKeptMinWidthsTrust(TCustomRPFormattedData& D, bool On) : m_d(D), m_was(D.FTrustKeptMinWidths) {
        m_d.FTrustKeptMinWidths = On;
    }
    ~TRPKeptMinWidthsTrust() { m_d.FTrustKeptMinWidths = m_was; }
    TRPKeptMinWidthsTrust(const TRPKeptMinWidthsTrust&) = delete;
    TRPKeptMinWidthsTrust& operator=(const TRPKeptMinWidthsTrust&) = delete;

private:
    TCustomRPFormattedData& m_d;
    const bool m_was;
};
