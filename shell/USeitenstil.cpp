#include "shell/USeitenstil.h"

#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPStyle.h"
#include "richtext/rtf/RPRTFReaderProperties.h"

namespace {

TFontInfo* Textstil(TRPStyle& s, const char* Name, const char* Schrift, int Groesse, TRPFontStyleSet Stil,
                    TColor Farbe) {
    TFontInfo* f = s.TextStyles().Add();
    f->StyleName = Name;
    f->FontName = Schrift;
    f->Size = Groesse;
    f->Style = Stil;
    f->Color = Farbe;
    return f;
}

TParaInfo* Absatzstil(TRPStyle& s, const char* Name) {
    TParaInfo* p = s.ParaStyles().Add();
    p->StyleName = Name;
    return p;
}

} // namespace

std::unique_ptr<TRPStyle> SeitenstilErzeugen() {
    auto s = std::make_unique<TRPStyle>();
    s->TextStyles().Clear();
    Textstil(*s, "Normal", "Arial", 10, 0, clWindowText);
    Textstil(*s, "Heading", "Arial", 20, RPFontStyle::Bold, clBlue);
    Textstil(*s, "Subheading", "Arial", 14, RPFontStyle::Bold, clNavy);
    Textstil(*s, "Courier", "Courier New", 10, RPFontStyle::Italic, clMaroon);
    TFontInfo* f = Textstil(*s, "Jump Arial", "Arial", 10, RPFontStyle::Underline, clGreen);
    f->Jump = true;
    f = Textstil(*s, "Colored Jump Times", "Times New Roman", 12, RPFontStyle::Underline, clWhite);
    f->BackColor = static_cast<TColor>(8421440);
    f->HoverBackColor = clBlue;
    f->HoverColor = static_cast<TColor>(13565951);
    f->Jump = true;
    f = Textstil(*s, "Symbols", "Symbol", 10, RPFontStyle::Bold, static_cast<TColor>(16512));
    f->Protection = rpprModifyProtect;
    Textstil(*s, "Subscript", "Arial", 9, 0, clWindowText)->VShift = -50;
    Textstil(*s, "Superscript", "Arial", 9, 0, clWindowText)->VShift = 50;
    Textstil(*s, "Vector", "Arial", 12, RPFontStyle::Bold, clWindowText)->StyleEx = rpfsOverline;
    Textstil(*s, "Window Caption", "Arial", 10, RPFontStyle::Bold | RPFontStyle::Italic, clCaptionText);
    Textstil(*s, "Unicode", "Arial Unicode MS", 10, 0, clWindowText)->Unicode = true;

    s->ParaStyles().Clear();
    Absatzstil(*s, "Left");
    Absatzstil(*s, "Left Indent")->LeftIndent = 50;
    Absatzstil(*s, "Centered")->Alignment = rpaCenter;
    Absatzstil(*s, "Right")->Alignment = rpaRight;
    TParaInfo* p = Absatzstil(*s, "Justify");
    p->Alignment = rpaJustify;
    p->FirstIndent = 30;
    p = Absatzstil(*s, "Framed");
    p->LeftIndent = p->RightIndent = 20;
    p->SpaceBefore = p->SpaceAfter = 5;
    p->Alignment = rpaCenter;
    p->Border.Style = rpbSingle;
    p->Border.BorderOffsets.SetAll(5);
    Absatzstil(*s, "Window Caption");
    Absatzstil(*s, "Window Workspace");

    TRPListInfo* l = s->ListStyles().Add();
    l->StyleName = "Bullets";
    TRPListLevel* lv = l->Levels.Add();
    lv->ListType = rplstBullet;
    lv->Font()->Name = "Symbol";
    lv->LeftIndent = 24;

    s->HoverColor = clRed;
    s->CheckpointColor = clLime;
    s->DefUnicodeStyle = 11;
    return s;
}

void LogbuchEinstellen(TRichPadEdit& Log) {
    TRPRTFReaderProperties* rtf = Log.GetRTFReadProperties();
    rtf->UnicodeMode = rpruMixed;
    rtf->TextStyleMode = rprsAddIfNeeded;
    rtf->ParaStyleMode = rprsAddIfNeeded;
    Log.RPFOptions = rpfoSavePicturesBody | rpfoSaveControlsBody | rpfoSaveBinary | rpfoSaveTextStyles |
                     rpfoSaveParaStyles | rpfoSaveDocProperties | rpfoLoadDocProperties;
}
