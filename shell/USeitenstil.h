#pragma once
// The style component of the section pages and the log book (RPStyle1 and
// RPStyle2 of the section forms, which are alike).
#include <memory>

class TRPStyle;

std::unique_ptr<TRPStyle> SeitenstilErzeugen();
