// Copying the selection to the clipboard: the suite's own RPF, plain text,
// the selected picture and RTF, all put in one go.
#include <QByteArray>
#include <QString>
#include <QtEndian>

#include "platform/Clipboard.h"
#include "platform/Pictures.h"
#include "richtext/model/RPClipFormats.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/view/RPFormattedData.h"

bool TCustomRPFormattedData::GetSelText(QString& Text) {
    // The plain-text writer's UTF-16; a rule is 80 characters wide, as in a text file.
    std::string utf16;
    const bool ok = SaveTextToStream(std::string(), utf16, 80, true, false, true, false);
    Text = ok ? QString::fromUtf16(reinterpret_cast<const char16_t*>(utf16.data()),
                                   static_cast<qsizetype>(utf16.size() / 2))
              : QString();
    return ok;
}

QString TCustomRPFormattedData::GetSelText() {
    QString text;
    GetSelText(text);
    return text;
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
    const auto n = qFromLittleEndian<int32_t>(Block.data());
    if (n < 0 || static_cast<size_t>(n) > Block.size() - 4) return false;
    RPF.assign(Block, 4, static_cast<size_t>(n));
    return true;
}

bool TCustomRPFormattedData::CopyRPF(TColor Color, TRPBackground* Background) {
    if (!SelectionExists(true, true)) return true;
    const std::string block = GetSelRPFBlock(Color, Background);
    Clipboard()->SetAsMime(RPClipboardMimeType(RPClipboardFormatRPF),
                           QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    return true;
}

bool TCustomRPFormattedData::CopyRTF(TColor Color, TRPBackground* Background) {
    if (!SelectionExists(true, true)) return true;
    std::string rtf;
    if (!SaveRTFToStream(rtf, true, 0, Color, Background, nullptr, 0)) return false;
    // Exactly the writer's bytes, under both names programs look for.
    const QByteArray bytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
    TClipboard* cb = Clipboard();
    cb->Open();
    cb->SetAsMime(RPClipboardMimeType(RPClipboardFormatRTF), bytes);
    cb->SetAsMime(QStringLiteral("application/rtf"), bytes);
    cb->Close();
    return true;
}

// The clipboard holds one text here: readers of 8-bit text take it in the
// ANSI code page, so both forms put the whole text.
bool TCustomRPFormattedData::CopyText() {
    if (!SelectionExists(true, true)) return true;
    QString text;
    if (!GetSelText(text)) return false;
    Clipboard()->SetAsText(text);
    return true;
}

bool TCustomRPFormattedData::CopyTextW() {
    if (!SelectionExists(true, true)) return true;
    QString text;
    if (!GetSelText(text)) return false;
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    Clipboard()->SetAsHandle(CF_UNICODETEXT, utf16);
    return true;
}

bool TCustomRPFormattedData::CopyImage() {
    if (TGraphic* g = GetSelectedImage()) Clipboard()->Assign(*g);
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
    bool ok = true;
    try {
        cb->Clear();
        DoCopy();
        if (o & rpoAutoCopyRPF) ok = CopyRPF(Color, Background);
        // With the Unicode text the 8-bit text comes from it.
        if (ok && (o & rpoAutoCopyText) && !(o & rpoAutoCopyUnicodeText)) ok = CopyText();
        if (ok && (o & rpoAutoCopyImage)) ok = CopyImage();
        if (ok && (o & rpoAutoCopyUnicodeText)) ok = CopyTextW();
        if (ok && (o & rpoAutoCopyRTF)) ok = CopyRTF(Color, Background);
    } catch (...) {
        ok = false;
    }
    if (!ok) cb->Abandon();
    cb->Close();
    return ok;
}
