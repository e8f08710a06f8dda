#pragma once
// State of one import (private to the importer's units).
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <array>
#include <vector>

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
};
