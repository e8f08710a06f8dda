// Writing documents as plain text: 8-bit text in the code pages of the text
// styles, or UTF-16; paragraphs and line breaks as CR LF.
#include <QFile>

#include "richtext/model/RPData.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

std::string TCustomRPData::GetPlainItemText(const std::string& Path, int ItemNo, int From, int To, bool Unicode,
                                            bool& Supplied) {
    std::string s;
    Supplied = DoSaveItemToFile(Path, this, ItemNo, rpsfText, Unicode, s);
    if (Supplied) return s;
    const std::string& text = GetItemText(ItemNo);
    if (From <= 1 && To >= GetLastOffsetOfItem(ItemNo)) return text;
    return ItemTextCopy(text, From, To - From, GetItemOptions(ItemNo));
}

std::string TCustomRPData::GetPlainNonTextItem(const std::string& Path, int ItemNo, int StartOffs,
                                               int EndOffs, int LineWidth, bool TextOnly, bool Unicode,
                                               bool& Supplied, const TRPMultiDrawItemPart* Part) {
    Supplied = false;
    TCustomRPItemInfo* it = GetItem(ItemNo);
    if (TextOnly && !it->GetBoolValue(6)) return std::string();
    if (StartOffs >= EndOffs) return std::string();
    std::string s;
    Supplied = DoSaveItemToFile(Path, this, ItemNo, rpsfText, Unicode, s);
    if (Supplied) return s;
    const bool wide = Unicode && it->GetBoolValue(rpbivNonTextUnicode);
    if (Part) return it->GetPlainTextPart(LineWidth, this, wide, TextOnly, Path, GetItemText(ItemNo), *Part);
    return it->GetPlainText(LineWidth, this, wide, TextOnly, Path, GetItemText(ItemNo));
}

std::string TCustomRPData::ConvertPlainText(const std::string& Text, int ItemNo, bool Unicode) const {
    const int sn = ItemNo >= 0 ? GetItemStyle(ItemNo) : -1;
    if (sn >= 0) {
        const bool wide = GetItem(ItemNo)->IsUnicode();
        // Plain text has no fonts: a symbol font's codes become the characters they stand for.
        std::string symbols;
        if (const TRPStyle* style = GetRPStyle();
            style && SymbolFontTextToUnicodeText(style->TextStyles().GetItem(sn)->FontName, Text,
                                                 GetItem(ItemNo)->ItemOptions, GetStyleCodePage(sn), symbols))
            return Unicode ? symbols : SymbolFontTextToAnsi(GetDefaultCodePage(), symbols, wide ? "" : Text, 0);
        if (wide)
            return Unicode ? ReplaceLoneSurrogates(Text) : UnicodeTextToAnsi(GetDefaultCodePage(), Text);
        if (Unicode) return AnsiToUnicodeText(GetStyleCodePage(sn), Text);
        return Text;
    }
    // Line breaks and non-text items: 8-bit text in the default code page,
    // unless the item gave UTF-16 already.
    if (Unicode && !(ItemNo >= 0 && GetItem(ItemNo)->GetBoolValue(rpbivNonTextUnicode)))
        return AnsiToUnicodeText(GetDefaultCodePage(), Text);
    return Text;
}

bool TCustomRPData::SaveTextToStream(const std::string& Path, std::string& Stream, int LineWidth,
                                     bool SelectionOnly, bool TextOnly, bool Unicode, bool UnicodeWriteSignature) {
    return SaveTextRangeToStream(Path, Stream, LineWidth, GetSaveRange(SelectionOnly), SelectionOnly, TextOnly,
                                 Unicode, UnicodeWriteSignature);
}

bool TCustomRPData::SaveTextRangeToStream(const std::string& Path, std::string& Stream, int LineWidth,
                                          const TRPSaveRange& R, bool Selection, bool TextOnly, bool Unicode,
                                          bool UnicodeWriteSignature) {
    if (R.StartItemNo < 0 || R.StartItemNo > R.EndItemNo || R.EndItemNo >= GetItemCount()) return true;
    try {
        if (Unicode && UnicodeWriteSignature) Stream += "\xFF\xFE";
        // One piece: an item from one offset to another.
        auto piece = [&](int i, int from, int to) {
            bool supplied = false;
            std::string s = GetItemStyle(i) >= 0 ? GetPlainItemText(Path, i, from, to, Unicode, supplied)
                                                 : GetPlainNonTextItem(Path, i, from, to, LineWidth, TextOnly,
                                                                       Unicode, supplied, R.PartOf(i));
            Stream += supplied ? s : ConvertPlainText(s, i, Unicode);
        };
        if (Selection && !R.StartPart) {
            // A selection inside a list paragraph starts with the list's marker.
            const int first = GetFirstParaSectionItem(R.StartItemNo);
            if (first < R.StartItemNo && GetItemStyle(first) == rpsnListMarker) piece(first, 0, 1);
        }
        const std::string lineEnd = ConvertPlainText("\r\n", -1, Unicode);
        if (R.StartItemNo == R.EndItemNo) {
            piece(R.StartItemNo, R.StartOffs, R.EndOffs);
            return true;
        }
        piece(R.StartItemNo, R.StartOffs, GetLastOffsetOfItem(R.StartItemNo));
        for (int i = R.StartItemNo + 1; i < R.EndItemNo; ++i) {
            if (IsFromNewLine(i)) Stream += lineEnd;
            piece(i, GetFirstOffsetOfItem(i), GetLastOffsetOfItem(i));
        }
        if (IsFromNewLine(R.EndItemNo)) Stream += lineEnd;
        piece(R.EndItemNo, GetFirstOffsetOfItem(R.EndItemNo), R.EndOffs);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

bool TCustomRPData::SaveText(const std::string& FileName, int LineWidth, bool Unicode) {
    std::string text;
    if (!SaveTextToStream(std::string(), text, LineWidth, false, false, Unicode, Unicode)) return false;
    QFile f(QString::fromStdString(FileName));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) && f.flush();
}
