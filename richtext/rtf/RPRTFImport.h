#pragma once
// State of one import (private to the importer's units).
#include "richtext/rtf/RPRTFReaderProperties.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
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
    size_t Hash() const;
};

// What the choice of a paragraph style depends on.
struct TRPRTFParaStyleKey {
    int Alignment = 0, LeftIndent = 0, RightIndent = 0, FirstIndent = 0, SpaceBefore = 0, SpaceAfter = 0;
    int LineSpacing = 0;
    bool LineSpacingMulti = false;
    TColor ShadingFill = 0;
    std::optional<TRPRTFParaBorder> Border;
    bool operator==(const TRPRTFParaStyleKey&) const = default;
    size_t Hash() const;
};

// Styles chosen so far for a kind of key. A search gives the same answer
// until a style is added, so the answers hold while the number of styles
// stays the same. Callers fill Key with Set, which notes whether anything
// changed since the last look-up: runs alike in a row cost no look-up at all.
template <class TKey> class TRPRTFStyleCache {
public:
    template <class TField, class TValue> void Set(TField& Field, const TValue& Value) {
        if (Field == Value) return;
        Field = Value;
        FChanged = true;
    }
    // The remembered style for Key among Count styles, or -1.
    int Find(int Count) {
        if (Count != FCount) {
            FStyles.clear();
            FCount = Count;
            FLast = -1;
        }
        if (!FChanged && FLast >= 0) return FLast;
        FChanged = false;
        auto f = FStyles.find(Key);
        FLast = f == FStyles.end() ? -1 : f->second;
        return FLast;
    }
    // Remembers the answer of a search that found StyleNo without adding a style.
    void Keep(int CountAfter, int StyleNo) {
        if (CountAfter != FCount) return;
        FStyles.emplace(Key, StyleNo);
        FLast = StyleNo;
    }
    // The key of the last look-up, kept so that a look-up allocates nothing.
    TKey Key;

private:
    struct THash {
        size_t operator()(const TKey& k) const { return k.Hash(); }
    };
    std::unordered_map<TKey, int, THash> FStyles;
    int FCount = -1;
    int FLast = -1;
    bool FChanged = true;
};

// What an import keeps about the styles of one style component: the styles
// chosen in it so far and the list styles it took for the lists of the RTF.
struct TRPRTFStyleContext {
    TRPStyle* Style = nullptr;
    TRPRTFStyleCache<TRPRTFTextStyleKey> TextStyles;
    TRPRTFStyleCache<TRPRTFParaStyleKey> ParaStyles;
    std::array<int, 11> OldLevels{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::vector<int> ListMap;
    bool ListsBuilt = false;
    int ListStylesBefore = 0;
    std::vector<std::pair<int, int>> RestartedLevels;
    int LeftTablePara = -1;
};

// A header or footer being read: where the import goes on after it.
struct TRPRTFHeaderFooterFrame {
    TCustomRPData* Return = nullptr;
    TCustomRPData* Doc = nullptr;
    size_t TableBase = 0;
};

struct TRPRTFReaderProperties::TImport {
    TImport();
    ~TImport();
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
    // The last marker item: its index in its document (-1 none).
    int LastMarker = -1;
    TCustomRPData* LastMarkerDoc = nullptr;
    bool LastMarkerW97 = false;
    // Override levels whose start value has been used: only their first marker restarts.
    std::vector<std::pair<int, int>> RestartedLevels;
    // First item of the paragraph being read, in ParaDoc; -1 when none.
    TCustomRPData* ParaDoc = nullptr;
    int ParaFirst = -1;
    // The charset that stands for the code page in force (cached).
    int CharsetCodePage = 0;
    int CodePageCharset = 1;
    TRPRTFStyleCache<TRPRTFTextStyleKey> TextStyles;
    TRPRTFStyleCache<TRPRTFParaStyleKey> ParaStyles;
    // Tables: one per open nesting level; the row and cell being read.
    std::vector<std::unique_ptr<TTableInfo>> Tables;
    // Levels the reader opened inside the deepest table that tables may nest.
    int FlatTables = 0;
    int TableRow = 0;
    int TableCell = 0;
    // The paragraph style of left-aligned tables, once chosen.
    int LeftTablePara = -1;
    // A paragraph end came after the last item: a cell ending now ends with an empty paragraph.
    bool ParaEndPending = false;
    // Headers and footers being read, innermost last; the document that takes
    // one nobody asked for; the contexts of the style components not in use.
    std::vector<TRPRTFHeaderFooterFrame> HeaderFooters;
    std::unique_ptr<TCustomRPData> Discard;
    std::vector<TRPRTFStyleContext> OtherStyles;

    // The document that takes a table of the outermost level.
    TCustomRPData* TopTarget() const { return HeaderFooters.empty() ? Main : HeaderFooters.back().Doc; }
    // Tables below this count belong to the text around the header or footer being read.
    size_t TableBase() const { return HeaderFooters.empty() ? 0 : HeaderFooters.back().TableBase; }
    void SwapStyleContext(TRPRTFStyleContext& C);
};
