#include "richtext/model/RPClipFormats.h"

const char* const RPClipboardFormatNames[4] = {"RichPad Format", "Rich Text Format", "UniformResourceLocator",
                                               "HTML Format"};

uint16_t RPClipboardFormatRPF = 0;
uint16_t RPClipboardFormatRTF = 0;
uint16_t RPClipboardFormatURL = 0;
uint16_t RPClipboardFormatHTML = 0;

const TRPThemeLibrary RPThemeLibrary{};

void RPRegisterClipboardFormats() {
    RPClipboardFormatRPF = 1;
    RPClipboardFormatRTF = 2;
    RPClipboardFormatURL = 3;
    RPClipboardFormatHTML = 4;
}

namespace {
// Registered at start-up, before any control exists.
const bool kRegistered = (RPRegisterClipboardFormats(), true);
} // namespace

QString RPClipboardMimeType(uint16_t Format) {
    switch (Format) {
    case 1:
        return QStringLiteral("application/x-richpad-format");
    case 2:
        return QStringLiteral("text/rtf");
    case 3:
        return QStringLiteral("text/uri-list");
    case 4:
        return QStringLiteral("text/html");
    default:
        return {};
    }
}
