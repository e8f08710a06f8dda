#pragma once
// State of one import (private to the importer's units).
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

// What the choice of a text style depends on: the character properties, the
// font they name (or the default style's font without one), the code page in
// force and the kind of run.
struct TRPRTFTextStyleKey {
    TRPRTFCharProperties CharProps;
    bool HasFont = false;
    bool FontTableEmpty = true;
    std::string FontName;
    int Charset = 0;
    int CodePage = 0;
    bool Unicode = false;
    bool Jump = false;
    bool operator==(const TRPRTFTextStyleKey&) const = default;
};

struct TRPRTFTextStyleKeyHash {
    size_t operator()(const TRPRTFTextStyleKey& k) const;
};

struct TRPRTFReaderProperties::TImport {
    TCustomRPData* Main = nullptr;
    TCustomRPData* Target = nullptr;
    TRPStyle* Style = nullptr;
    TRPRTFReader* Reader = nullptr;
    double Factor = 96.0 / 1440.0; // pixels per twip
    int InsertIndex = 0;
    bool FirstItem = true;
    bool InsertMode = false;
    int LastInserted = -1;
    int Added = 0;
    bool PageBreakPending = false;
    TCustomRPData* PageBreakDoc = nullptr;
    bool Aborted = false;
    // Lists: old-style levels 1..11 to list styles, Word-97 lists to list styles.
    std::array<int, 11> OldLevels{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::vector<int> ListMap;
    bool ListsBuilt = false;
    int ListStylesBefore = 0;
    int LastMarker = -1;
    bool LastMarkerW97 = false;
    // First item of the paragraph being read, in ParaDoc; -1 when none.
    TCustomRPData* ParaDoc = nullptr;
    int ParaFirst = -1;
    // The charset that stands for the code page in force (cached).
    int CharsetCodePage = 0;
    int CodePageCharset = 1;
    // Text styles chosen so far, valid while the number of text styles stays
    // the same: a search gives the same answer until a style is added.
    std::unordered_map<TRPRTFTextStyleKey, int, TRPRTFTextStyleKeyHash> TextStyleCache;
    int TextStyleCacheCount = -1;
    TRPRTFTextStyleKey TextStyleKey; // reused, so that a look-up allocates nothing
};
