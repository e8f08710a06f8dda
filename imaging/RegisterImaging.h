#pragma once
// Makes the imaging library's picture classes known to TPicture; called once
// at start-up.
void RegisterImagingFormats();

// The clipboard format under which icons travel.
unsigned IconClipboardFormat();
