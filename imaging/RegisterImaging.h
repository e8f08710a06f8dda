#pragma once
#include "platform/Forms.h"

// Makes the imaging library's picture classes known to TPicture and its two
// cursors known to the screen; called once at start-up.
void RegisterImagingFormats();

// The cursors of the resources "RX_HANDCUR" (a pointing hand) and
// "RX_DRAGCUR" (a grabbing hand), under the numbers they are registered as.
constexpr TCursor crRxHand = 14000, crRxDrag = 14001;

// The clipboard format under which icons travel.
unsigned IconClipboardFormat();
