// Visual order of the draw items of a line in a paragraph with a reading
// direction: embedding levels come from ICU's bidirectional algorithm over the
// line's characters, and the draw items are reordered by rule L2 (from the
// highest level down, every run at that level or above is reversed).
#include <unicode/ubidi.h>

#include <QString>
#include <algorithm>
#include <memory>

#include "richtext/model/RPCoords.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPStyle.h"
#include "richtext/view/RPFormatState.h"

namespace {

struct TBiDiCloser {
    void operator()(UBiDi* b) const { ubidi_close(b); }
};

} // namespace

void TCustomRPFormattedData::ReorderLineForBiDi(TLineBuilder& B, int First, int Last) {
    const TRPDrawLineInfo* firstD = DrawItems->GetPiece(First);
    const int paraNo = GetItemPara(firstD->ItemNo);
    const TRPBiDiMode paraMode = GetParaBiDiMode(paraNo);
    // A right-to-left first line keeps its first indent on the right.
    if (paraMode == rpbdRightToLeft && firstD->FromNewLine) {
        const TCustomRPItemInfo* item = GetItem(firstD->ItemNo);
        const bool itemStart = First == 0 || DrawItems->GetPiece(First - 1)->ItemNo != firstD->ItemNo;
        if (itemStart && !item->GetContinuesPrev()) {
            int dx = B.ScaleX(B.Style->ParaStyles().GetItem(paraNo)->FirstIndent);
            if (item->StyleNo == rpsnListMarker)
                dx = B.ScaleX(-static_cast<const TRPNonTextItemInfo*>(item)->GetLeftOverhang());
            for (int i = First; i <= Last; ++i)
                DrawItems->GetPiece(i)->Left -= dx;
        }
    }
    const int n = Last - First + 1;
    if (n < 2) return;

    // The line's characters; a non-text draw item is one neutral object.
    QString text;
    std::vector<int> start(static_cast<size_t>(n)), length(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        const TRPDrawLineInfo* d = DrawItems->GetPiece(First + k);
        start[static_cast<size_t>(k)] = static_cast<int>(text.size());
        if (GetItemStyle(d->ItemNo) >= 0 && d->Length > 0) {
            text += ItemDisplayText(d->ItemNo).mid(d->Offs - 1, d->Length);
        } else {
            text += QChar(0xFFFC);
        }
        length[static_cast<size_t>(k)] = static_cast<int>(text.size()) - start[static_cast<size_t>(k)];
    }
    UErrorCode err = U_ZERO_ERROR;
    std::unique_ptr<UBiDi, TBiDiCloser> bidi(ubidi_openSized(static_cast<int32_t>(text.size()), 0, &err));
    if (U_FAILURE(err) || !bidi) return;
    const UBiDiLevel paraLevel = paraMode == rpbdRightToLeft ? 1 : 0;
    ubidi_setPara(bidi.get(), reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()),
                  paraLevel, nullptr, &err);
    if (U_FAILURE(err)) return;
    const UBiDiLevel* levels = ubidi_getLevels(bidi.get(), &err);
    if (U_FAILURE(err) || !levels) return;
    // A draw item moves as one piece at the lowest level of its characters.
    std::vector<UBiDiLevel> pieceLevels(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        UBiDiLevel lv = UBIDI_MAX_EXPLICIT_LEVEL + 1;
        for (int c = 0; c < length[static_cast<size_t>(k)]; ++c)
            lv = std::min(lv, levels[start[static_cast<size_t>(k)] + c]);
        pieceLevels[static_cast<size_t>(k)] = length[static_cast<size_t>(k)] > 0 ? lv : paraLevel;
    }
    std::vector<int32_t> visualMap(static_cast<size_t>(n));
    ubidi_reorderVisual(pieceLevels.data(), n, visualMap.data());

    // A gap between logical neighbours (an item's offset) stays between them
    // when they stay neighbours, in either order.
    std::vector<int> gap(static_cast<size_t>(n), 0);
    for (int k = 1; k < n; ++k) {
        const TRPDrawLineInfo* d = DrawItems->GetPiece(First + k);
        const TRPDrawLineInfo* p = DrawItems->GetPiece(First + k - 1);
        gap[static_cast<size_t>(k)] = RPCoordSum(d->Left, -p->Left, -p->Width);
    }
    int x = firstD->Left;
    for (int v = 0; v < n; ++v) {
        const int k = visualMap[static_cast<size_t>(v)];
        TRPDrawLineInfo* d = DrawItems->GetPiece(First + k);
        if (v > 0) {
            const int pk = visualMap[static_cast<size_t>(v - 1)];
            if (pk == k - 1)
                x = RPCoordSum(x, gap[static_cast<size_t>(k)]);
            else if (pk == k + 1)
                x = RPCoordSum(x, gap[static_cast<size_t>(k + 1)]);
        }
        d->Left = x;
        x = RPCoordSum(x, d->Width);
    }
}
