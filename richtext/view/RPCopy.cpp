// Copying the selection to the clipboard: the suite's own RPF, plain text,
// the selected picture and RTF, all put in one go.
#include <QByteArray>
#include <QString>

#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/Pictures.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/view/RPFormattedData.h"

QString TCustomRPFormattedData::GetSelText() {
    QString out;
    if (!SelectionExists(false, false)) return out;
    int si, so, ei, eo;
    GetSelBounds(si, so, ei, eo, true);
    for (int i = si; i <= ei; ++i) {
        if (i > si && IsFromNewLine(i)) out += QStringLiteral("\r\n");
        const std::string& text = GetItemText(i);
        const int sn = GetItemStyle(i);
        if (sn >= 0) {
            const int from = i == si ? so : 1;
            const int to = i == ei ? eo : GetLastOffsetOfItem(i);
            if (to > from)
                out += ItemTextToQString(ItemTextCopy(text, from, to - from, GetItemOptions(i)), GetItemOptions(i),
                                         GetStyleCodePage(sn));
        } else if (!(i == si && so >= 1) && !(i == ei && eo <= 0)) {
            out += ItemTextToQString(GetItem(i)->GetPlainText(80, this, false, true, std::string(), text), 0,
                                     GetDefaultCodePage());
        }
    }
    return out;
}

std::string TCustomRPFormattedData::GetSelRPFBlock(TColor Color, TRPBackground* Background) {
    std::string block(4, '\0');
    SaveRPFToStream(block, true, Color, Background, nullptr);
    std::string length;
    RPFWriteInt32(length, static_cast<int32_t>(block.size() - 4));
    block.replace(0, 4, length);
    return block;
}

bool TCustomRPFormattedData::RPFFromBlock(const std::string& Block, std::string& RPF) {
    RPF.clear();
    if (Block.size() < 4) return false;
    const auto byte = [&](size_t i) { return static_cast<uint32_t>(static_cast<uint8_t>(Block[i])); };
    const int32_t n = static_cast<int32_t>(byte(0) | (byte(1) << 8) | (byte(2) << 16) | (byte(3) << 24));
    if (n < 0 || static_cast<size_t>(n) > Block.size() - 4) return false;
    RPF.assign(Block, 4, static_cast<size_t>(n));
    return true;
}

bool TCustomRPFormattedData::CopyToClipboard(TColor Color, TRPBackground* Background) {
    const TRPOptions o = GetOptions();
    const bool any = (o & (rpoAutoCopyText | rpoAutoCopyRPF | rpoAutoCopyUnicodeText | rpoAutoCopyRTF |
                           rpoAutoCopyImage)) != 0 ||
                     IsAssigned(TRPEvent::Copy);
    if (!any) return false;
    if (!SelectionExists(true, true)) return true;
    // Every format is made before the clipboard changes; a failure on the way
    // leaves the clipboard as it was.
    TClipboard* cb = Clipboard();
    cb->Open();
    try {
        cb->Clear();
        DoCopy();
        if (o & rpoAutoCopyRPF) {
            const std::string block = GetSelRPFBlock(Color, Background);
            cb->SetAsMime(RPClipboardMimeType(RPClipboardFormatRPF),
                          QByteArray(block.data(), static_cast<qsizetype>(block.size())));
        }
        // Plain text travels once, as UTF-8 text that every program reads;
        // the ANSI and the UTF-16 form are the same text here.
        if (o & (rpoAutoCopyText | rpoAutoCopyUnicodeText)) cb->SetAsText(GetSelText());
        if (o & rpoAutoCopyImage)
            if (TGraphic* g = GetSelectedImage()) cb->Assign(*g);
        // RTF ("text/rtf" and "application/rtf") is added here once the
        // document model writes RTF.
    } catch (...) {
        cb->Abandon();
        cb->Close();
        return false;
    }
    cb->Close();
    return true;
}
