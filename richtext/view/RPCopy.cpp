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
        if (o & rpoAutoCopyRPF) {
            const std::string block = GetSelRPFBlock(Color, Background);
            cb->SetAsMime(RPClipboardMimeType(RPClipboardFormatRPF),
                          QByteArray(block.data(), static_cast<qsizetype>(block.size())));
        }
        // Plain text travels once, as text every program reads; the ANSI and
        // the UTF-16 form are the same text here.
        if (o & (rpoAutoCopyText | rpoAutoCopyUnicodeText)) {
            QString text;
            ok = GetSelText(text);
            if (ok) cb->SetAsText(text);
        }
        if (ok && (o & rpoAutoCopyImage))
            if (TGraphic* g = GetSelectedImage()) cb->Assign(*g);
        if (ok && (o & rpoAutoCopyRTF)) {
            std::string rtf;
            ok = SaveRTFToStream(rtf, true, 0, Color, Background, nullptr, 0);
            // Exactly the writer's bytes, under both names programs look for.
            const QByteArray bytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
            if (ok) cb->SetAsMime(RPClipboardMimeType(RPClipboardFormatRTF), bytes);
            if (ok) cb->SetAsMime(QStringLiteral("application/rtf"), bytes);
        }
    } catch (...) {
        ok = false;
    }
    if (!ok) cb->Abandon();
    cb->Close();
    return ok;
}
