#include "ViewTestDoc.h"

#include <sstream>

#include "platform/Pictures.h"
#include "richtext/model/RPUnicode.h"

std::unique_ptr<TRPStyle> MakeLayoutStyle() {
    auto s = std::make_unique<TRPStyle>();
    TFontInfos& t = s->TextStyles();
    t.Clear();
    const auto add = [&](int size) {
        TFontInfo* f = t.Add();
        f->FontName = "Arial";
        f->Size = size;
        return f;
    };
    add(15);
    add(30);
    TFontInfo* link = add(15);
    link->Jump = true;
    link->Style = RPFontStyle::Underline;
    link->Color = clBlue;
    link->HoverColor = clRed;
    add(9);
    add(15)->Unicode = true;
    TParaInfos& p = s->ParaStyles();
    p.Clear();
    p.Add();
    p.Add()->Alignment = rpaCenter;
    p.Add()->Alignment = rpaRight;
    p.Add()->Alignment = rpaJustify;
    TParaInfo* ind = p.Add();
    ind->LeftIndent = 20;
    ind->FirstIndent = 10;
    ind->RightIndent = 30;
    p.Add()->LineSpacing = 150;
    TParaInfo* exact = p.Add();
    exact->LineSpacingType = rplsSpaceBetween;
    exact->LineSpacing = 8;
    TParaInfo* space = p.Add();
    space->SpaceBefore = 6;
    space->SpaceAfter = 4;
    TParaInfo* framed = p.Add();
    framed->Background.Color = clYellow;
    framed->Border.Style = rpbSingle;
    framed->Border.Color = clBlack;
    p.Add()->Options = rppaoNoWrap;
    p.Add()->BiDiMode = rpbdRightToLeft;
    TRPListInfo* list = s->ListStyles().Add();
    TRPListLevel* lv = list->Levels.Add();
    lv->ListType = rplstBullet;
    lv->MarkerIndent = 0;
    lv->LeftIndent = 30;
    lv->FirstIndent = 0;
    lv->Font()->Size = 15;
    return s;
}

void TTestFormatDoc::Wide(const QString& s, int StyleNo, int ParaNo) {
    AddText(QStringToItemText(s, rpioUnicode, 0), StyleNo, ParaNo);
    GetItem(GetItemCount() - 1)->ItemOptions |= rpioUnicode;
}

std::string DumpDrawItems(const TCustomRPFormattedData& D) {
    std::ostringstream out;
    for (int i = 0; i < D.DrawItemCount(); ++i) {
        const TRPDrawLineInfo* d = D.DrawItem(i);
        if (i > 0) out << (d->FromNewLine ? " / " : " | ");
        out << d->Left << ' ' << d->Top << ' ' << d->Width << ' ' << d->Height << ' ' << d->ItemNo << ':' << d->Offs
            << '+' << d->Length;
        if (d->JustifySpace) out << " j" << d->JustifySpace;
        if (d->SpaceBelow) out << " s" << d->SpaceBelow;
    }
    return out.str();
}

std::unique_ptr<TGraphic> SolidPicture(int W, int H, TColor Color) {
    QImage img(W, H, QImage::Format_RGB32);
    img.fill(ToQColor(ColorToRGB(Color)));
    return std::make_unique<TBitmap>(img);
}

QImage PaintFirstScreen(TTestFormatDoc& D) {
    QImage page(D.Width, D.Height, QImage::Format_RGB32);
    page.fill(Qt::white);
    TCanvas c(&page);
    D.PaintDocument(c, Rect(0, 0, D.Width, D.Height));
    c.Release();
    return page;
}

std::string WithoutListIds(const std::string& RTF) {
    std::string out;
    for (size_t i = 0; i < RTF.size();) {
        size_t skip = 0;
        for (const char* word : {"\\listtemplateid", "\\listid"})
            if (RTF.compare(i, std::char_traits<char>::length(word), word) == 0)
                skip = std::char_traits<char>::length(word);
        if (skip == 0) {
            out += RTF[i++];
            continue;
        }
        out.append(RTF, i, skip);
        i += skip;
        if (i < RTF.size() && RTF[i] == '-') ++i;
        while (i < RTF.size() && RTF[i] >= '0' && RTF[i] <= '9') ++i;
    }
    return out;
}
