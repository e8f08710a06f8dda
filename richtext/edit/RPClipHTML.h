#pragma once
// The "HTML Format" clipboard block: a header of "Name:value" lines
// (Version, StartHTML, EndHTML, StartFragment, EndFragment, SourceURL), then
// the HTML. Offsets count bytes from the start of the block.
#include <string>

struct TRPClipboardHTML {
    std::string Fragment;  // the HTML between StartFragment and EndFragment
    std::string SourceURL; // empty when the header names none
};

// False when the block holds no HTML. Offsets outside the block, reversed
// or unreadable are not trusted: the HTML after the header is taken instead.
bool ParseClipboardHTML(const std::string& Block, TRPClipboardHTML& Out);

// The folder of a SourceURL, for the relative links and pictures of what was
// copied with it: "file://" addresses as a local folder, web addresses as a
// web folder, both ending in "/"; empty when there is none.
std::string ClipboardBasePath(const std::string& SourceURL);
