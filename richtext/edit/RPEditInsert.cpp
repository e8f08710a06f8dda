// Deleting the selection, inserting items, text, RPF and RTF at the caret,
// and applying styles.
#include <QBuffer>
#include <QStringDecoder>
#include <algorithm>

#include "platform/CodePage.h"
#include "richtext/edit/RPEditData.h"
#include "richtext/edit/RPTable.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

namespace {

// The table whose selected cells take a style command instead of the document.
TRPTableItemInfo* CellSelectedTable(TCustomRPItemInfo* Item) {
    auto* table = dynamic_cast<TRPTableItemInfo*>(Item);
    return table && table->HasCellSelection() ? table : nullptr;
}

} // namespace

bool TRPEditRPData::InsertAllowedAtCaret() {
    if (PartialSelectedItem && PartialSelectedItem->HasCellSelection()) return false;
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0) return true;
    // Protected text takes nothing inside it; at its ends a new item takes the text.
    const bool atStart = offs <= GetFirstOffsetOfItem(item), atEnd = offs >= GetLastOffsetOfItem(item);
    if (IsTextItem(item) && IsProtected(item, rpprModifyProtect) && !atStart && !atEnd) return false;
    if (IsItemParaOptionSet(item, rppaoReadOnly)) return false;
    if (atStart && IsStickingProtected(item - 1, true)) return false;
    if (atEnd && IsStickingProtected(item, true)) return false;
    return true;
}

// ---------------------------------------------------------------------------
// Deleting the selection

bool TRPEditRPData::CanDeleteSelection() {
    if (!SelectionExists(false, false))
        return !PartialSelectedItem || !PartialSelectedItem->HasCellSelection() ||
               PartialSelectedItem->CanClearSelectedCells();
    int si, so, ei, eo;
    GetSelBounds(si, so, ei, eo, true);
    if (si < 0 || ei < 0) return true;
    for (int i = si + 1; i < ei; ++i)
        if (IsProtected(i, rpprDeleteProtect)) return false;
    // A kept checkpoint holds its paragraph together: a deletion that would
    // join its paragraph with another is refused. Inside one paragraph it
    // moves to the start of the selection (DeleteSelectionWithUndo).
    bool crossesPara = false;
    for (int i = si + 1; i <= ei; ++i)
        crossesPara |= IsParaStart(i);
    if (crossesPara) {
        for (int i = si; i <= ei; ++i)
            if (HasKeptCheckpoint(i)) return false;
        if (ParaHasKeptCheckpoint(ei)) return false;
    }
    const auto coveredOk = [&](int ItemNo, int From, int To) {
        if (!IsTextItem(ItemNo)) {
            auto* nt = dynamic_cast<TRPNonTextItemInfo*>(GetItem(ItemNo));
            return From >= To || !(nt && nt->DeleteProtect);
        }
        if (From >= To) return true;
        const bool whole = From <= GetFirstOffsetOfItem(ItemNo) && To >= GetLastOffsetOfItem(ItemNo);
        return !IsProtected(ItemNo, rpprDeleteProtect) && (whole || !IsProtected(ItemNo, rpprModifyProtect));
    };
    if (si == ei) {
        if (!coveredOk(si, so, eo)) return false;
    } else if (!coveredOk(si, so, GetLastOffsetOfItem(si)) || !coveredOk(ei, GetFirstOffsetOfItem(ei), eo)) {
        return false;
    }
    // Read-only paragraphs go only as whole paragraphs.
    const bool startsAtPara = so == GetFirstOffsetOfItem(si) && IsParaStart(si);
    const bool endsAtPara = eo == GetLastOffsetOfItem(ei) && (ei + 1 >= GetItemCount() || IsParaStart(ei + 1));
    if (IsParaReadOnly(si) && !(startsAtPara && (si != ei || endsAtPara))) return false;
    if (IsParaReadOnly(ei) && !endsAtPara) return false;
    return true;
}

void TRPEditRPData::KeepSelectedCheckpoint(int StartItemNo, int StartOffs, int EndItemNo, int EndOffs) {
    const bool startWhole = StartOffs <= GetFirstOffsetOfItem(StartItemNo) &&
                            (StartItemNo != EndItemNo || EndOffs >= GetLastOffsetOfItem(StartItemNo));
    int from = -1;
    if (startWhole && HasKeptCheckpoint(StartItemNo)) from = StartItemNo;
    for (int i = StartItemNo + 1; from < 0 && i < EndItemNo && !IsParaStart(i); ++i)
        if (HasKeptCheckpoint(i)) from = i;
    if (from < 0 && EndItemNo != StartItemNo && EndOffs >= GetLastOffsetOfItem(EndItemNo) &&
        HasKeptCheckpoint(EndItemNo))
        from = EndItemNo;
    if (from < 0) return;
    // A start item that goes and continues its line hands over to the item before it.
    const bool afterMarker = StartItemNo > 0 && GetItemStyle(StartItemNo - 1) == rpsnListMarker;
    const int to = startWhole && GetItem(StartItemNo)->GetContinuesPrev() && !afterMarker && StartItemNo > 0
                       ? StartItemNo - 1
                       : StartItemNo;
    if (to != from && !HasKeptCheckpoint(to)) MoveCheckpointWithUndo(from, to);
}

bool TRPEditRPData::DeleteSelectionWithUndo() {
    // Selected cells of a table go as one step of their own.
    if (PartialSelectedItem && PartialSelectedItem->HasCellSelection() && !SelectionExists(false, false)) {
        if (!PartialSelectedItem->CanClearSelectedCells()) {
            Beep();
            return false;
        }
        PartialSelectedItem->ClearSelectedCells();
        return true;
    }
    if (!SelectionExists(true, false)) return true;
    if (!CanDeleteSelection()) {
        Beep();
        return false;
    }
    int si, so, ei, eo;
    GetSelBounds(si, so, ei, eo, true);
    // An end at the very start of an item that continues the line is the end of the one before.
    if (ei > si && eo == GetFirstOffsetOfItem(ei) && GetItem(ei)->GetContinuesPrev()) {
        --ei;
        eo = GetLastOffsetOfItem(ei);
    }
    BeginUndoSequence(rpuaDelete, true);
    Deselect(nullptr, false);
    const int startPara = GetItemPara(GetFirstParaItem(si));
    int caretItem = si, caretOffs = so;
    bool crossesPara = false;
    for (int i = si + 1; i <= ei; ++i)
        crossesPara |= !GetItem(i)->GetContinuesPrev();
    KeepSelectedCheckpoint(si, so, ei, eo);
    bool endKept = true;
    if (si != ei) {
        // The end item loses its covered part.
        const int efirst = GetFirstOffsetOfItem(ei);
        if (eo > efirst) {
            if (IsTextItem(ei) && eo < GetLastOffsetOfItem(ei)) {
                DeleteSubstringWithUndo(ei, 1, eo - 1);
            } else {
                DeleteItemWithUndo(ei);
                endKept = false;
            }
        }
        DeleteItemsWithUndo(si + 1, ei - 1);
    }
    const int sfirst = GetFirstOffsetOfItem(si), slast = GetLastOffsetOfItem(si);
    const int sEnd = si == ei ? eo : slast;
    // The item that followed the selection now stands at si + 1.
    const bool hasAfter = si + 1 < GetItemCount();
    bool startTakenOver = false;
    if (so <= sfirst && sEnd >= slast) {
        TCustomRPItemInfo* it = GetItem(si);
        const bool afterMarker = si > 0 && GetItemStyle(si - 1) == rpsnListMarker;
        const bool paraStart = !it->GetContinuesPrev() || afterMarker;
        const bool nextStarts = hasAfter && !GetItem(si + 1)->GetContinuesPrev();
        // A list entry whose text goes before a full-line item keeps its
        // marker on an empty line: nothing after it can join that line.
        const bool reachedParaEnd = !hasAfter || (nextStarts && !(endKept && si != ei && crossesPara)) ||
                                    (afterMarker && nextStarts && IsFullLineItem(si + 1));
        if (paraStart && reachedParaEnd) {
            // An empty paragraph remains.
            auto fresh = CreateTextItem(CurTextStyleNo, it->ParaNo, it->StartsPara(),
                                        it->GetLineBreakBefore(), NewItemTag(CurTextStyleNo));
            if (it->GetContinuesPrev()) fresh->SetContinuesPrev(true);
            fresh->ItemOptions |= it->ItemOptions & rpioPageBreakBefore;
            if (HasKeptCheckpoint(si)) fresh->Checkpoint = it->Checkpoint->CreateCopy();
            DeleteItemWithUndo(si);
            InsertItemWithUndo(si, std::string(), std::move(fresh), false);
            caretOffs = 1;
        } else if (paraStart && hasAfter) {
            const bool br = it->GetLineBreakBefore(), pb = it->GetPageBreakBefore(), cont = it->GetContinuesPrev();
            const int para = it->ParaNo;
            KeepCheckpointOnDelete(si, false);
            DeleteItemWithUndo(si);
            if (!cont) {
                if (GetItem(si)->GetContinuesPrev()) SetSameLineWithUndo(si, false, para);
                SetLineBreakWithUndo(si, br);
                if (pb) SetPageBreakWithUndo(si, true);
            } else if (!GetItem(si)->GetContinuesPrev()) {
                // What is left of the next paragraph follows the list marker.
                SetSameLineWithUndo(si, true, -1);
            }
            caretOffs = GetFirstOffsetOfItem(si);
            startTakenOver = true;
        } else {
            DeleteItemWithUndo(si);
            caretItem = si - 1;
            caretOffs = GetLastOffsetOfItem(caretItem);
        }
    } else if (IsTextItem(si)) {
        DeleteSubstringWithUndo(si, so, sEnd - so);
    }
    // Across paragraphs, what is left after the selection continues the line before it.
    if (si != ei && crossesPara && endKept && !startTakenOver) {
        const int after = caretItem + 1;
        if (after < GetItemCount() && !GetItem(after)->GetContinuesPrev()) JoinLineWithUndo(after);
    }
    if (caretItem >= 0 && CanMerge(caretItem)) MergeTextItemsWithUndo(caretItem);
    // Where a table met what followed the selection, that starts a paragraph.
    SeparateFromFullLines(caretItem, caretItem + 2);
    if (caretItem < 0) {
        caretItem = 0;
        caretOffs = GetFirstOffsetOfItem(0);
    }
    if (GetItemCount() > 0) {
        const int first = GetFirstParaItem(std::min(caretItem, GetItemCount() - 1));
        SetParaRangeWithUndo(first, LastItemOfParaPart(first), startPara);
    }
    EndUndoSequence();
    ReformatAndPlaceCaret(caretItem, caretOffs);
    return true;
}

// ---------------------------------------------------------------------------
// Inserting one item at the caret

bool TRPEditRPData::InsertItemAtCaret(std::string Text, std::unique_ptr<TCustomRPItemInfo> Item, bool CaretBefore,
                                      bool TakeTag) {
    // Tables nest no deeper than a table block reads back.
    if (const int tables = RPTablesIn(*Item);
        tables > 0 && RPTablesAround(this) + tables > TRPTableLimits::MaxDepth) {
        Beep();
        return false;
    }
    MakeSureEmpty();
    // An item bringing a kept checkpoint is a paragraph of its own and keeps its style.
    const bool keptCP = Item->Checkpoint && Item->Checkpoint->Persistent;
    if (Item->StyleNo != rpsnBreak && !keptCP) Item->ParaNo = CurParaStyleNo;
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0) {
        item = GetItemCount() - 1;
        offs = GetLastOffsetOfItem(item);
    }
    const bool fullWidth = Item->GetBoolValue(rpbivFullLine);
    const bool marker = Item->StyleNo == rpsnListMarker;
    if (fullWidth || marker || keptCP) {
        Item->ItemOptions &= ~(rpioContinuesPrev | rpioLineBreakBefore);
    } else {
        Item->ItemOptions &= ~rpioLineBreakBefore;
        Item->SetContinuesPrev(true);
        Item->ParaNo = GetItemPara(item);
        if (IsParaOptionSet(Item->ParaNo, rppaoReadOnly)) {
            Beep();
            return false;
        }
    }
    int idx = item;
    bool takeOver = false;
    if (!IsTextItem(item)) {
        if (marker) return false;
        if (offs >= 1) {
            idx = item + 1;
        } else {
            idx = item;
            takeOver = !fullWidth && !GetItem(item)->GetContinuesPrev();
            // After a list marker the line goes on with text: an empty one comes first.
            if (!fullWidth && !takeOver && item > 0 && GetItemStyle(item - 1) == rpsnListMarker &&
                !HasKeptCheckpoint(item)) {
                auto empty = CreateTextItem(CurTextStyleNo, GetItemPara(item), false, false, TRPTag{});
                empty->SetContinuesPrev(true);
                InsertItemWithUndo(item, std::string(), std::move(empty), false);
                idx = item + 1;
            }
        }
    } else {
        const int first = GetFirstOffsetOfItem(item), last = GetLastOffsetOfItem(item);
        if (offs <= first) {
            idx = item;
            takeOver = !fullWidth && !GetItem(item)->GetContinuesPrev();
        } else if (offs >= last) {
            idx = item + 1;
        } else {
            if (IsProtected(item, rpprModifyProtect)) {
                Beep();
                return false;
            }
            const std::string tail = ItemTextCopy(GetItemText(item), offs, INT_MAX / 2, GetItemOptions(item));
            DeleteSubstringWithUndo(item, offs, -1);
            InsertItemWithUndo(item + 1, tail, CreateTextItemCopy(item), false);
            idx = item + 1;
        }
    }
    if (!fullWidth && !takeOver && idx > 0 && IsFullLineItem(idx - 1)) {
        // Nothing joins the line of a table or break: the item starts a paragraph.
        Item->SetContinuesPrev(false);
        Item->ParaNo = CurParaStyleNo;
    }
    if (takeOver) {
        // The new item takes over the paragraph start of the one it goes before.
        const TCustomRPItemInfo* old = GetItem(idx);
        Item->SetContinuesPrev(false);
        Item->ItemOptions |= old->ItemOptions & (rpioLineBreakBefore | rpioPageBreakBefore);
        Item->ParaNo = old->ParaNo;
    }
    if (TakeTag && Item->StyleNo >= 0 && Item->Tag.IsZero()) {
        const bool pchars = (GetOptions() & rpoTagsArePChars) != 0;
        for (int n : {idx - 1, idx})
            if (IsTextItem(n) && GetItem(n)->StyleNo == Item->StyleNo) {
                Item->Tag = CopyTag(GetItem(n)->Tag, pchars);
                break;
            }
    }
    if (Item->StyleNo == rpsnBreak) Item->ParaNo = 0;
    TCustomRPItemInfo* raw = Item.get();
    InsertItemWithUndo(idx, std::move(Text), std::move(Item), false);
    if (takeOver && idx + 1 < GetItemCount()) {
        SetPageBreakWithUndo(idx + 1, false);
        SetSameLineWithUndo(idx + 1, true, -1);
    }
    // A full-width item stands alone on its line.
    if (fullWidth && idx + 1 < GetItemCount() && GetItem(idx + 1)->GetContinuesPrev())
        SetSameLineWithUndo(idx + 1, false, GetItemPara(idx + 1));
    // The paragraph that the item joins keeps one style.
    if (!raw->StartsPara()) {
        const int first = GetFirstParaItem(idx);
        SetParaRangeWithUndo(first, LastItemOfParaPart(first), GetItemPara(first));
    }
    // A kept checkpoint after the item holds a paragraph of its own.
    if (idx + 1 < GetItemCount() && GetItem(idx + 1)->GetContinuesPrev() && HasKeptCheckpoint(idx + 1))
        SetSameLineWithUndo(idx + 1, false, GetItemPara(idx + 1));
    LastInsertedItemNo = idx;
    ReformatAndPlaceCaret(idx, CaretBefore ? GetFirstOffsetOfItem(idx) : GetLastOffsetOfItem(idx));
    return true;
}

// ---------------------------------------------------------------------------
// Text

namespace {

// Pieces of inserted text and how each one after the first begins.
enum TPieceStart { psFirst, psPara, psLine, psPageBreak };

} // namespace

int TRPEditRPData::SpacesInTab() const {
    TRPStyle* style = GetRPStyle();
    return style ? style->SpacesInTab : 8;
}

void TRPEditRPData::InsertTextA(const std::string& Text, bool CaretAtStart) {
    if (Text.empty()) {
        InvalidateView();
        return;
    }
    const int sn = GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo);
    const bool unicode = IsUnicodeStyle(sn);
    const int tabs = SpacesInTab();
    std::vector<std::pair<std::string, int>> pieces;
    std::string line;
    const auto flush = [&](int start) {
        std::string s = ExpandTabsAnsi(line, tabs);
        if (unicode) s = QStringToItemText(ItemTextToQString(s, 0, GetStyleCodePage(sn)), rpioUnicode, 0);
        pieces.emplace_back(std::move(s), start);
        line.clear();
    };
    int start = psFirst;
    for (size_t i = 0; i < Text.size(); ++i) {
        const char c = Text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
            flush(start);
            start = psPara;
        } else {
            line += c;
        }
    }
    flush(start);
    InsertTextPieces(pieces, CaretAtStart);
}

void TRPEditRPData::InsertTextWide(const std::string& Text, bool CaretAtStart) {
    RPCheckUnicodeLength(Text.size());
    if (Text.empty()) {
        InvalidateView();
        return;
    }
    const int sn = GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo);
    const bool unicode = IsUnicodeStyle(sn);
    const int tabs = SpacesInTab();
    const QString all = ItemTextToQString(Text, rpioUnicode, 0);
    std::vector<std::pair<std::string, int>> pieces;
    QString piece;
    int start = psFirst;
    const auto flush = [&](int next) {
        std::string s = QStringToItemText(piece, rpioUnicode, 0);
        s = ExpandTabsUnicode(s, tabs);
        if (!unicode) s = QStringToItemText(ItemTextToQString(s, rpioUnicode, 0), 0, GetStyleCodePage(sn));
        pieces.emplace_back(std::move(s), start);
        piece.clear();
        start = next;
    };
    for (int i = 0; i < all.size(); ++i) {
        const char16_t c = all[i].unicode();
        if (c == 13 || c == 10) {
            if (i + 1 < all.size() && (all[i + 1].unicode() == 13 || all[i + 1].unicode() == 10) && all[i + 1] != all[i]) ++i;
            flush(psPara);
        } else if (c == 0x2029) {
            flush(psPara);
        } else if (c == 0x2028 || c == 11 || c == 0) {
            flush(psLine);
        } else if (c == 12) {
            // A form feed at the start of a piece ends no empty piece.
            if (piece.isEmpty() && start != psFirst)
                start = psPageBreak;
            else
                flush(psPageBreak);
        } else {
            piece += QChar(c);
        }
    }
    flush(psPara);
    InsertTextPieces(pieces, CaretAtStart);
}

void TRPEditRPData::InsertTextFile(const std::string& Bytes, bool OEM, bool CaretAtStart) {
    // The file's lines: UTF-8 when its bytes read so (plain ASCII reads alike
    // either way), else 8-bit text in the code page of the current style.
    std::string_view bytes(Bytes);
    QString text;
    if (OEM) {
        text = CodePage::ToUnicode(850, bytes);
    } else {
        const bool bom = bytes.substr(0, 3) == "\xEF\xBB\xBF";
        if (bom) bytes.remove_prefix(3);
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        if (utf8.hasError())
            text = CodePage::ToUnicode(GetStyleCodePage(GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo)),
                                       bytes);
    }
    text.replace(QChar(0), QLatin1Char('?'));
    text.replace(QLatin1Char('\t'), QString(std::max(0, SpacesInTab()), QLatin1Char(' ')));
    // A line end at the end of the file ends its last line; it starts none.
    if (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) {
        text.chop(text.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    }
    if (text.isEmpty()) return;
    SwitchToUnicodeStyleFor(text);
    std::vector<std::pair<std::string, int>> pieces;
    QString piece;
    int start = psFirst;
    const auto flush = [&](int Next) {
        pieces.emplace_back(TextForCurrentStyle(piece), start);
        piece.clear();
        start = Next;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
            flush(psPara);
        } else if (c == QLatin1Char('\f')) {
            // A form feed at the start of a line starts that line on a new page.
            if (piece.isEmpty() && start != psFirst)
                start = psPageBreak;
            else
                flush(psPageBreak);
        } else {
            piece += c;
        }
    }
    flush(psPara);
    InsertTextPieces(pieces, CaretAtStart);
}

void TRPEditRPData::InsertTextPieces(const std::vector<std::pair<std::string, int>>& Pieces, bool CaretAtStart) {
    if (Pieces.empty()) return;
    const int sn = GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo);
    if (!InsertItemAtCaret(Pieces[0].first, CreateTextItem(sn, CurParaStyleNo, false, false, NewItemTag(sn)),
                           false, false)) {
        Beep();
        return;
    }
    const int first = LastInsertedItemNo;
    int k = first;
    for (size_t i = 1; i < Pieces.size(); ++i) {
        const int kind = Pieces[i].second;
        // A new paragraph in a list entry is the list's next entry.
        const bool entry = kind != psLine && InsertListMarkerCopy(first, k + 1);
        if (entry) ++k;
        auto item = CreateTextItem(sn, CurParaStyleNo, kind != psLine && !entry, kind == psLine, TRPTag{});
        if (kind == psLine || entry) item->ParaNo = GetItemPara(k);
        InsertItemWithUndo(k + 1, Pieces[i].first, std::move(item), false);
        ++k;
        if (kind == psPageBreak) SetPageBreakWithUndo(k, true);
    }
    FinishTextInsertion(first, k, CaretAtStart);
}

void TRPEditRPData::FinishTextInsertion(int FirstItemNo, int LastItemNo, bool CaretAtStart) {
    int caretItem = LastItemNo;
    int caretOffs = GetLastOffsetOfItem(LastItemNo);
    int startItem = FirstItemNo, startOffs = GetFirstOffsetOfItem(FirstItemNo);
    if (CanMerge(LastItemNo)) MergeTextItemsWithUndo(LastItemNo);
    if (FirstItemNo > 0 && CanMerge(FirstItemNo - 1)) {
        const bool emptyBefore = GetItemText(FirstItemNo - 1).empty();
        const int len = ItemTextLength(GetItemText(FirstItemNo - 1), GetItemOptions(FirstItemNo - 1));
        MergeTextItemsWithUndo(FirstItemNo - 1);
        startItem = FirstItemNo - 1;
        startOffs = len + 1;
        if (emptyBefore) startOffs = 1;
        --caretItem;
        if (caretItem == startItem) caretOffs += emptyBefore ? 0 : len;
    }
    caretItem = std::clamp(caretItem, 0, GetItemCount() - 1);
    ReformatAfterEdit();
    if (CaretAtStart)
        SetCaretItemPos(startItem, startOffs);
    else
        SetCaretItemPos(caretItem, caretOffs);
}

// ---------------------------------------------------------------------------
// RPF and RTF

bool TRPEditRPData::RPFInsertable(const std::string& Stream) {
    int items = 0;
    return CheckRPFInsertion(Stream, items) && items > 0;
}

bool TRPEditRPData::InsertRPF(const std::string& Stream, bool Checked) {
    // A damaged block changes nothing: it is read whole before anything is
    // split or recorded. One that holds no item changes nothing either.
    if (!Checked && !RPFInsertable(Stream)) {
        Beep();
        return false;
    }
    return InsertStream(Stream, false);
}

bool TRPEditRPData::InsertRTF(const std::string& Stream) {
    if (Stream.empty()) return true;
    return InsertStream(Stream, true);
}

bool TRPEditRPData::InsertReadItem(int Index, std::string& Text, std::unique_ptr<TCustomRPItemInfo>& Item,
                                   int& OutInt, bool& OutFlag) {
    auto* marker = dynamic_cast<TRPMarkerItemInfo*>(Item.get());
    const int first =
        FReadingRPF && marker && Index > 0 ? GetFirstParaItem(std::min(Index, GetItemCount()) - 1) : -1;
    const auto* entry = first >= 0 ? dynamic_cast<const TRPMarkerItemInfo*>(GetItem(first)) : nullptr;
    if (entry && entry->ListNo >= 0) marker->ListNo = entry->ListNo;
    if (!TRichPadRPData::InsertReadItem(Index, Text, Item, OutInt, OutFlag)) return false;
    if (entry && entry->ListNo >= 0) {
        OutInt = entry->ListNo;
        OutFlag = true;
    }
    return true;
}

void TRPEditRPData::RepairListMarkers(int First, int Last, int& CaretItem) {
    First = std::max(First, 0);
    // A marker starts its paragraph ...
    for (int i = First; i <= Last && i < GetItemCount(); ++i)
        if (GetItemStyle(i) == rpsnListMarker && GetItem(i)->GetContinuesPrev())
            SetSameLineWithUndo(i, false, GetItemPara(i));
    // ... and something stands behind it.
    for (int i = First; i <= Last && i < GetItemCount(); ++i) {
        if (GetItemStyle(i) != rpsnListMarker) continue;
        if (i + 1 < GetItemCount() && GetItem(i + 1)->GetContinuesPrev()) continue;
        const int textStyle = IsProtectedStyle(CurTextStyleNo, rpprModifyProtect) ? 0 : CurTextStyleNo;
        auto fresh = CreateTextItem(textStyle, GetItemPara(i), false, false, TRPTag{});
        fresh->SetContinuesPrev(true);
        InsertItemWithUndo(i + 1, std::string(), std::move(fresh), false);
        if (CaretItem > i) ++CaretItem;
        ++Last;
    }
}

int TRPEditRPData::JoinInsertedRuns(int First, int Last) {
    // The joins of MergeTextItemsWithUndo, without records: the runs are new.
    // The runs that took text from the right are told so once, with all of it.
    std::vector<TCustomRPItemInfo*> grown;
    const int gone = JoinRuns(
        First, Last, [&](TCustomRPItemInfo& Left, bool LeftEmpty, TCustomRPItemInfo& Right, bool RightEmpty) {
            if (!CanJoinItems(&Left, LeftEmpty, &Right, RightEmpty, false)) return TRPJoin::None;
            if (Left.IsUnicode() != Right.IsUnicode() && !RightEmpty) {
                // An empty run that starts a line hands the line to the next
                // one with records, among the joins with the runs around.
                if (!Left.GetContinuesPrev()) return TRPJoin::None;
                MoveCheckpoint(Left, Right);
                return TRPJoin::Right;
            }
            if (LeftEmpty) {
                Left.Tag = Right.Tag;
                ApplyStyleNo(Left, Right.StyleNo);
            }
            MoveCheckpoint(Right, Left);
            // Right goes: what it had taken, Left has now.
            if (!grown.empty() && grown.back() == &Right) grown.pop_back();
            grown.push_back(&Left);
            return TRPJoin::Left;
        });
    for (TCustomRPItemInfo* item : grown)
        if (const int i = GetItemNo(item); i >= 0) DoItemAction(rpiaInserted, item, Items->Text(i), this);
    return gone;
}

bool TRPEditRPData::InsertStream(const std::string& Stream, bool IsRTF) {
    MakeSureEmpty();
    int item = -1, offs = -1;
    GetCaretItemPos(item, offs);
    if (item < 0) item = 0, offs = 0;
    // Should the stream bring nothing, the split below is taken back.
    TRPUndoInfos* group = GetUndoList() ? GetUndoList()->Last() : nullptr;
    const size_t mark = group ? group->Infos.size() : 0;
    // Into the caret's item: split a text item first.
    int index = item;
    bool split = false;
    if (IsTextItem(item)) {
        const int first = GetFirstOffsetOfItem(item), last = GetLastOffsetOfItem(item);
        if (offs >= last) {
            index = item + 1;
        } else if (offs > first) {
            const std::string tail = ItemTextCopy(GetItemText(item), offs, INT_MAX / 2, GetItemOptions(item));
            DeleteSubstringWithUndo(item, offs, -1);
            InsertItemWithUndo(item + 1, tail, CreateTextItemCopy(item), false);
            index = item + 1;
            split = true;
        }
    } else if (offs >= 1) {
        index = item + 1;
    }
    // At a paragraph start the inserted text begins its own paragraph; inside
    // one it continues the line before it.
    const bool atParaStart = index >= GetItemCount() ? false : IsParaStart(index) && index == item && offs <= GetFirstOffsetOfItem(item);
    const bool midLine = index > 0 && !atParaStart;
    const int before = GetItemCount();
    MarkChanged(index, index - 1);
    bool ok = false;
    if (IsRTF) {
        TRPRTFReaderProperties* props = GetRTFReadProperties();
        if (props) {
            QByteArray bytes(Stream.data(), static_cast<qsizetype>(Stream.size()));
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            int at = index;
            ok = props->InsertRTFFromStream(buffer, this, at) == 0;
        }
    } else {
        int at = index, itemsAdded = 0, outInt = 0;
        bool outFlag = false, aborted = false;
        TColor color = clNone;
        FReadingRPF = true;
        ok = InsertRPFFromStream(Stream, at, -1, true, false, false, color, nullptr, nullptr, itemsAdded, outInt,
                                 outFlag, aborted);
        FReadingRPF = false;
    }
    // The runs that came in join among themselves before the step records
    // them; only their joins with the runs around them are recorded.
    const int added = GetItemCount() - before - JoinInsertedRuns(index, GetItemCount() - before + index - 1);
    RecordInsertedItems(index, added);
    if (added == 0) {
        // Nothing came in: the word stays whole and the step records nothing.
        if (group && GetUndoList() && GetUndoList()->Last() == group)
            group->RevertFrom(*this, mark);
        else if (split)
            MergeTextItemsWithUndo(item);
        ReformatAndPlaceCaret(item, offs);
        if (!ok) Beep();
        return ok;
    }
    const int last = index + added - 1;
    if (midLine && !GetItem(index)->GetContinuesPrev() && !GetItem(index)->GetBoolValue(rpbivFullLine))
        JoinLineWithUndo(index);
    int caretItem = last;
    int caretOffs = GetLastOffsetOfItem(last);
    if (CanMerge(last))
        MergeTextItemsWithUndo(last);
    else if (last + 1 < GetItemCount() && GetItem(last)->GetBoolValue(rpbivFullLine) &&
             GetItem(last + 1)->GetContinuesPrev())
        SetSameLineWithUndo(last + 1, false, GetItemPara(last + 1));
    for (int i = last - 1; i >= index; --i)
        if (CanMerge(i)) {
            if (caretItem > i) {
                if (caretItem == i + 1) caretOffs += ItemTextLength(GetItemText(i), GetItemOptions(i));
                --caretItem;
            }
            MergeTextItemsWithUndo(i);
        }
    int firstItem = index;
    if (index > 0 && CanMerge(index - 1)) {
        const int len = ItemTextLength(GetItemText(index - 1), GetItemOptions(index - 1));
        if (caretItem == index) caretOffs += len;
        --caretItem;
        --firstItem;
        MergeTextItemsWithUndo(index - 1);
    }
    RepairListMarkers(index - 1, index + GetItemCount() - before, caretItem);
    // Every paragraph keeps one style: the one the insertion ends in, and the
    // one it began in, whose lines after a line break came with the stream's.
    for (const int at : {caretItem, firstItem}) {
        const int first = GetFirstParaItem(std::clamp(at, 0, GetItemCount() - 1));
        SetParaRangeWithUndo(first, LastItemOfParaPart(first), GetItemPara(first));
    }
    caretItem = std::clamp(caretItem, 0, GetItemCount() - 1);
    ReformatAndPlaceCaret(caretItem, caretOffs);
    return ok;
}

// ---------------------------------------------------------------------------
// Styles

void TRPEditRPData::ApplyParaStyleEx(int Value, bool ConvertMode) {
    if (TRPTableItemInfo* table = CellSelectedTable(PartialSelectedItem)) {
        table->ApplyToSelectedCells(ConvertMode ? 2 : 1, Value);
        return;
    }
    int si, so, ei, eo;
    GetSelectionOrCaretBounds(si, so, ei, eo);
    if (si < 0) return;
    const bool hadSel = SelectionExists(false, false);
    const int first = GetFirstParaItem(si);
    const int last = LastItemOfParaPart(GetFirstParaItem(ei));
    std::vector<int> list;
    TCustomRichPadEdit* e = Editor();
    int para = Value;
    for (int i = first; i <= last; ++i) {
        if (IsParaStart(i) || i == first) {
            para = Value;
            if (ConvertMode && e && e->OnParaStyleConversion)
                e->OnParaStyleConversion(e, GetItemPara(i), Value, false, para);
        }
        list.push_back(para);
    }
    // Protected styles stay as they are.
    for (int i = first; i <= last; ++i)
        if (IsItemParaOptionSet(i, rppaoStyleProtect)) list[static_cast<size_t>(i - first)] = GetItemPara(i);
    bool changes = false;
    for (int i = first; i <= last; ++i)
        changes |= list[static_cast<size_t>(i - first)] != GetItemPara(i);
    if (changes) SetParasFromListWithUndo(first, list);
    EndUndoSequence();
    ReformatAfterEdit();
    if (hadSel) {
        SetSelectionBounds(si, so, ei, eo);
    } else {
        SetCaretItemPos(si, so);
    }
    SetCurParaStyle(GetItemPara(std::clamp(ei, 0, GetItemCount() - 1)));
}

std::string TRPEditRPData::TextForStyle(const std::string& Text, TRPItemOptions Options, int OldStyle,
                                        int NewStyle) const {
    const bool oldU = (Options & rpioUnicode) != 0, newU = IsUnicodeStyle(NewStyle);
    if (oldU == newU) return Text;
    const QString q = ItemTextToQString(Text, Options, GetStyleCodePage(OldStyle));
    return newU ? QStringToItemText(q, rpioUnicode, 0) : QStringToItemText(q, 0, GetStyleCodePage(NewStyle));
}

void TRPEditRPData::ConvertItemStyle(int ItemNo, int NewStyle) {
    TCustomRichPadEdit* e = Editor();
    if (e && (e->EditorOptions & rpoClearTagOnStyleApp)) SetTagWithUndo(ItemNo, TRPTag{});
    const std::string converted =
        TextForStyle(GetItemText(ItemNo), GetItemOptions(ItemNo), GetItem(ItemNo)->StyleNo, NewStyle);
    SetStyleNoWithUndo(ItemNo, NewStyle);
    if (converted != GetItemText(ItemNo)) ChangeTextWithUndo(ItemNo, converted);
}

void TRPEditRPData::ConvertItemRange(int ItemNo, int From, int To, int NewStyle) {
    // Characters From .. To - 1 of text item ItemNo take NewStyle.
    const TRPItemOptions opts = GetItemOptions(ItemNo);
    const int first = GetFirstOffsetOfItem(ItemNo), last = GetLastOffsetOfItem(ItemNo);
    TCustomRichPadEdit* e = Editor();
    const bool clearTag = e && (e->EditorOptions & rpoClearTagOnStyleApp);
    const int oldStyle = GetItem(ItemNo)->StyleNo;
    if (From <= first && To >= last) {
        ConvertItemStyle(ItemNo, NewStyle);
        return;
    }
    // Split off the tail, then the part, so that only the part changes style.
    if (To < last) {
        const std::string tail = ItemTextCopy(GetItemText(ItemNo), To, INT_MAX / 2, opts);
        DeleteSubstringWithUndo(ItemNo, To, -1);
        InsertItemWithUndo(ItemNo + 1, tail, CreateTextItemCopy(ItemNo), false);
    }
    if (From > first) {
        const std::string part = ItemTextCopy(GetItemText(ItemNo), From, To - From, opts);
        DeleteSubstringWithUndo(ItemNo, From, -1);
        auto item = CreateTextItem(NewStyle, GetItemPara(ItemNo), false, false, clearTag ? TRPTag{} : GetItem(ItemNo)->Tag);
        InsertItemWithUndo(ItemNo + 1, TextForStyle(part, opts, oldStyle, NewStyle), std::move(item), false);
    } else {
        ConvertItemRange(ItemNo, first, GetLastOffsetOfItem(ItemNo), NewStyle);
    }
}

void TRPEditRPData::ApplyStyleConversion(int UserData) {
    TCustomRichPadEdit* e = Editor();
    if (!e || !e->OnStyleConversion) return;
    if (TRPTableItemInfo* table = CellSelectedTable(PartialSelectedItem)) {
        table->ApplyStyleConversion(UserData);
        return;
    }
    // The style last taken from the text comes back first, unless the
    // present one was chosen to stay.
    if (!IsProtectedStyle(GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo), rpprDoNotAutoSwitch))
        CurTextStyleNo = RememberedTextStyle;
    const auto convert = [&](int StyleNo, bool ToText) {
        int n = StyleNo;
        e->OnStyleConversion(e, StyleNo, UserData, ToText, n);
        return n;
    };
    const int newCur = convert(GetActualStyleOfPara(CurTextStyleNo, CurParaStyleNo), false);
    if (!SelectionExists(false, false)) {
        int item = -1, offs = -1;
        GetCaretItemPos(item, offs);
        if (IsTextItem(item) && GetItemText(item).empty()) {
            BeginUndoSequence(rpuaTextStyle, true);
            const int n = convert(GetItem(item)->StyleNo, true);
            if (n != GetItem(item)->StyleNo) ConvertItemStyle(item, n);
            EndUndoSequence();
            ReformatAndPlaceCaret(item, 1);
            SetCurTextStyle(newCur);
            EndEdit(true);
        }
        SetCurTextStyle(newCur);
        return;
    }
    int si, so, ei, eo;
    GetSelBounds(si, so, ei, eo, true);
    BeginUndoSequence(rpuaTextStyle, true);
    // Tables in the selection join this step.
    SetUndoGroupMode(true);
    Deselect(nullptr, false);
    // From the last item back, so that splitting keeps the numbers before it.
    int selEndItem = ei, selEndOffs = eo, selStartItem = si, selStartOffs = so;
    for (int i = ei; i >= si; --i) {
        const int from = i == si ? so : GetFirstOffsetOfItem(i);
        const int to = i == ei ? eo : GetLastOffsetOfItem(i);
        if (from >= to) continue;
        if (auto* table = dynamic_cast<TRPTableItemInfo*>(GetItem(i))) table->ConvertAllCells(UserData);
        if (!IsTextItem(i)) continue;
        const int n = convert(GetItem(i)->StyleNo, true);
        if (n == GetItem(i)->StyleNo) continue;
        const int before = GetItemCount();
        ConvertItemRange(i, from, to, n);
        const int grown = GetItemCount() - before;
        // The selection follows the characters.
        if (i == si && from > GetFirstOffsetOfItem(i) && grown > 0) {
            selStartItem = si + 1;
            selStartOffs = 1;
            selEndItem += grown;
            if (ei == si) {
                selEndItem = si + 1;
                selEndOffs = to - from + 1;
            }
        } else if (i == ei && grown > 0 && ei != si) {
            selEndOffs = to;
        } else if (grown > 0) {
            selEndItem += grown;
        }
    }
    // Neighbours of one style become one item again; the selection keeps its characters.
    for (int i = std::min(selEndItem, GetItemCount() - 2); i >= std::max(selStartItem - 1, 0); --i) {
        if (!CanMerge(i)) continue;
        const int length = GetLastOffsetOfItem(i) - GetFirstOffsetOfItem(i);
        const auto follow = [&](int& ItemNo, int& Offs) {
            if (ItemNo == i + 1) {
                ItemNo = i;
                Offs += length;
            } else if (ItemNo > i + 1) {
                --ItemNo;
            }
        };
        MergeTextItemsWithUndo(i);
        follow(selStartItem, selStartOffs);
        follow(selEndItem, selEndOffs);
    }
    SetUndoGroupMode(false);
    EndUndoSequence();
    ReformatAfterEdit();
    SetSelectionBounds(selStartItem, selStartOffs, std::min(selEndItem, GetItemCount() - 1), selEndOffs);
    SetCurTextStyle(newCur);
    EndEdit(true);
}

void TRPEditRPData::ResizeControlItem(int ItemNo, int Width, int Height, bool Reformat) {
    auto* item =
        ItemNo >= 0 && ItemNo < GetItemCount() ? dynamic_cast<TRPControlItemInfo*>(GetItem(ItemNo)) : nullptr;
    if (!item || !item->Control) return;
    TControl* control = item->Control.get();
    if (control->Width() == Width && control->Height() == Height) return;
    control->SetBounds(control->Left(), control->Top(), Width, Height);
    if (!Reformat) return;
    MarkChanged(ItemNo, ItemNo);
    ReformatAfterEdit();
}

bool TRPEditRPData::ApplyResize(int ItemNo, int Width, int Height) {
    if (ItemNo < 0 || ItemNo >= GetItemCount()) return false;
    auto* rect = dynamic_cast<TRPRectItemInfo*>(GetItem(ItemNo));
    TCustomRichPadEdit* e = Editor();
    if (!rect || !e || !e->BeforeChange(false)) return false;
    Width = std::max(1, Width - 2 * rect->Spacing);
    Height = std::max(1, Height - 2 * rect->Spacing);
    // The item stays selected, with its handles.
    int si = -1, so = 0, ei = -1, eo = 0;
    const bool selected = SelectionExists(false, false);
    if (selected) GetSelBounds(si, so, ei, eo, true);
    BeginUndoSequence(rpuaModifyItem, true);
    SetUndoGroupMode(true);
    bool ok = ResizeWithUndo(ItemNo, Width, Height);
    if (!ok)
        ok = SetExtraIntPropertyWithUndo(ItemNo, rpeipImageHeight, Height) &&
             SetExtraIntPropertyWithUndo(ItemNo, rpeipImageWidth, Width);
    SetUndoGroupMode(false);
    EndUndoSequence();
    ReformatAfterEdit();
    if (selected) SetSelectionBounds(si, so, ei, eo);
    EndEdit(true);
    InvalidateView();
    return ok;
}
