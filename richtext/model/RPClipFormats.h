#pragma once
// Clipboard formats the view and the editor exchange, and the theme binding
// used for themed control borders.
#include <QString>
#include <cstdint>

// The format names, registered once; a format's id is its index + 1.
extern const char* const RPClipboardFormatNames[4];
extern uint16_t RPClipboardFormatRPF;  // "RichPad Format"
extern uint16_t RPClipboardFormatRTF;  // "Rich Text Format"
extern uint16_t RPClipboardFormatURL;  // "UniformResourceLocator"
extern uint16_t RPClipboardFormatHTML; // "HTML Format"
// Registers the four formats (idempotent).
void RPRegisterClipboardFormats();
// The MIME type under which a registered format travels on this platform.
QString RPClipboardMimeType(uint16_t Format);

// There is no theme library here: themed drawing is always skipped.
struct TRPThemeLibrary {
    bool Loaded = false;
};
extern const TRPThemeLibrary RPThemeLibrary;
