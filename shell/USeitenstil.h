#pragma once
// The style component of the section pages and the log book (RPStyle1 and
// RPStyle2 of the section forms, which are alike).
#include <memory>

class TRPStyle;
class TRichPadEdit;

std::unique_ptr<TRPStyle> SeitenstilErzeugen();

// How the log book reads and keeps its text: RTF files with the styles they
// bring, in its own stream format with pictures, controls and styles.
void LogbuchEinstellen(TRichPadEdit& Log);
