#pragma once
// What the RTF, HTML and plain-text writers share with the items that write
// themselves: the range of a write, the tables of one RTF write, the HTML
// options and the HTML picture cache.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "richtext/model/RPLists.h"

class TCustomImageList;
class TCustomRPData;
class TGraphic;
class TRPBackground;
class TRPMultiDrawItemPart;
struct TRPHTMLBulletInfo;

// A part of a document: from StartOffs in item StartItemNo to EndOffs in item
// EndItemNo (offsets as the document counts them: 1 .. length + 1 in text
// items, 0 and 1 around other items). StartItemNo -1 is an empty range.
// An item selected only in part (a table with some of its cells selected)
// carries its part: only that part of it is written.
struct TRPSaveRange {
    TRPSaveRange() = default;
    TRPSaveRange(int AStartItemNo, int AStartOffs, int AEndItemNo, int AEndOffs)
        : StartItemNo(AStartItemNo), StartOffs(AStartOffs), EndItemNo(AEndItemNo), EndOffs(AEndOffs) {}
    int StartItemNo = -1;
    int StartOffs = 0;
    int EndItemNo = -1;
    int EndOffs = 0;
    std::shared_ptr<const TRPMultiDrawItemPart> StartPart;
    std::shared_ptr<const TRPMultiDrawItemPart> EndPart;

    // The part of item ItemNo to write, null for all of it.
    const TRPMultiDrawItemPart* PartOf(int ItemNo) const {
        if (ItemNo == StartItemNo && StartPart) return StartPart.get();
        return ItemNo == EndItemNo ? EndPart.get() : nullptr;
    }
};

// Whether item ItemNo of D, at an end of the range, lies outside it: the range
// starts at or after its end, or ends at or before its start (a selection
// that ends before a picture). An empty text item there is an empty line of
// the range, and a list marker goes with its paragraph: neither lies outside.
bool RangeLeavesOut(const TCustomRPData& D, const TRPSaveRange& R, int ItemNo);

// The tables of one RTF write: made by the top-level write, shared by the
// nested writes of table cells.
struct TRPRTFTables {
    // Index 0 is clWindowText, the automatic colour; a colour's number is its index.
    TRPColorList ColorList;
    // Font-table index of each text style.
    TRPIntegerList StyleToFont;
    // Per list style: first the override counts, then the running override
    // numbers of restarting markers.
    TRPIntegerList ListOverrideOffsetsList1;
    // Per list style: the plain override number.
    TRPIntegerList ListOverrideOffsetsList2;
    // Per list style: the override and level of its last restarting marker
    // (override 0: none). The markers after a restart go on in its override,
    // down to the level it restarted, so that readers that take every
    // override as a list of its own count on from the restart.
    std::vector<std::pair<int, int>> RestartOverrides;
    TRPRTFFontTable FontTable;
};

// The source of the list and template ids the RTF writer draws; the
// program's random generator unless a test puts its own in place.
std::function<int32_t()>& RPRTFListIdSource();

// Options of the HTML writers.
constexpr uint16_t rphsoOverwriteImages = 1;
constexpr uint16_t rphsoHeadOnly = 2;
constexpr uint16_t rphsoBodyOnly = 4;
constexpr uint16_t rphsoEndOnly = 8;
constexpr uint16_t rphsoNoDefaultFont = 16;
constexpr uint16_t rphsoNoImageBorders = 32;
constexpr uint16_t rphsoImageSizes = 64;
constexpr uint16_t rphsoClassicCSS = 128;
constexpr uint16_t rphsoCheckpointNames = 256;
constexpr uint16_t rphsoMarkersAsText = 512;
constexpr uint16_t rphsoInlineCSS = 1024;
constexpr uint16_t rphsoStyle0Classes = 2048;
constexpr uint16_t rphsoImageFileNames = 4096;

// Save formats passed to the writers' hooks.
using TRPSaveFormat = int;
constexpr TRPSaveFormat rpsfText = 0;
constexpr TRPSaveFormat rpsfHTML = 1;
constexpr TRPSaveFormat rpsfRTF = 2;

// Where the text of the extra-HTML hook goes: 0 inside HEAD, 1 inside the
// BODY tag, 2 after it, 3 before the closing tags.
using TRPHTMLSaveArea = int;
// What the text of the extra-RTF hook belongs to: 0 a text style, 1 a
// paragraph style, 2 a table cell, 3 a table row, 4 the document's header.
using TRPRTFSaveArea = int;

// One picture file already written by an HTML export (image-list images and
// list pictures are written once per combination of list, index, graphic and
// background colour).
struct TRPHTMLBulletInfo {
    std::string FileName;
    TCustomImageList* ImageList = nullptr;
    int ImageIndex = -1;
    TColor BackColor = clNone;
    const TGraphic* Graphic = nullptr;
};

using TRPHTMLBulletList = TRPList<TRPHTMLBulletInfo>;

// The settings of one HTML write (the arguments of the two writers).
struct TRPHTMLParams {
    std::string Path;         // folder of the picture files, ending in a separator, or empty
    std::string Title;
    std::string ImagesPrefix; // may hold a subfolder before its last backslash
    std::string ExtraStyles;  // CSS writer: text added to the style sheet
    std::string ExternalCSS;  // CSS writer: a linked style sheet instead of the styles'
    std::string CPPrefix;     // CSS writer: prefix of checkpoint anchors
    uint16_t Options = 0;
    TColor Color = clNone;    // page colour
    int LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    TRPBackground* Background = nullptr;
    TRPHTMLBulletList* Bullets = nullptr; // the caller's picture cache, or none
};
