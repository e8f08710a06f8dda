// The HTML of the non-text items and list levels, and the picture files that
// image-list images and list pictures are written to.
#include <QDir>

#include "platform/Graphics.h"
#include "platform/ImageList.h"
#include "platform/Pictures.h"
#include "richtext/model/RPHTMLWriter.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

std::string Slashes(const std::string& s) {
    return BackslashesToSlashes(s);
}

// A title attribute for a hint, followed by a blank.
std::string HintAttr(const std::string& Hint) {
    const std::string t = MakeHintAttribute(1, Hint);
    return t.empty() ? t : t + " ";
}

TFont MarkerFontAsFont(const TRPMarkerFont& M) {
    TFont f;
    f.SetName(QString::fromStdString(M.Name));
    f.SetSize(M.Size);
    f.SetColor(M.Color);
    f.SetCharset(M.Charset);
    TFontStyles s = 0;
    if (M.Style & RPFontStyle::Bold) s |= fsBold;
    if (M.Style & RPFontStyle::Italic) s |= fsItalic;
    if (M.Style & RPFontStyle::Underline) s |= fsUnderline;
    if (M.Style & RPFontStyle::StrikeOut) s |= fsStrikeOut;
    f.SetStyle(s);
    return f;
}

// A picture's file name relative to the folder the page goes to.
std::string RelativeFileName(const std::string& FileName, const std::string& Path) {
    if (Path.empty()) return FileName;
    return QDir(QString::fromStdString(Path)).relativeFilePath(QString::fromStdString(FileName)).toStdString();
}

} // namespace

std::string RPHTMLBackgroundPicture(TCustomRPData* RPData, const TGraphic& Graphic,
                                    const std::string& FileName, const std::string& Path,
                                    const std::string& ImagesPrefix, int& ImageSaveNo,
                                    TRPHTMLSaveOptions Options, TColor BackColor) {
    if ((Options & rphsoImageFileNames) && !FileName.empty())
        return Slashes(RelativeFileName(FileName, Path));
    return Slashes(RPData->SaveImageForHTML(rpsfHTML, ImagesPrefix, Path, ImageSaveNo,
                                            (Options & rphsoOverwriteImages) != 0, BackColor, &Graphic));
}

std::string RPHTMLImageAttributes(TRPHTMLSaveOptions Options, int Width, int Height, bool Force) {
    std::string r = (Options & rphsoNoImageBorders) ? " border=0 " : " ";
    if (Force || (Options & rphsoImageSizes))
        r += "width=" + std::to_string(Width) + " height=" + std::to_string(Height) + " ";
    return r;
}

std::string RPHTMLSaveCachedImage(TCustomRPData* RPData, TRPHTMLBulletList& Bullets, TCustomImageList* ImageList,
                                  int ImageIndex, const TGraphic* Graphic, TColor BackColor,
                                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                  TRPHTMLSaveOptions Options) {
    for (int i = 0; i < Bullets.Count(); ++i) {
        const TRPHTMLBulletInfo& b = *Bullets.Get(i);
        if (b.ImageList == ImageList && b.ImageIndex == ImageIndex && b.Graphic == Graphic &&
            b.BackColor == BackColor)
            return b.FileName;
    }
    const int w = ImageList ? ImageList->Width() : Graphic ? Graphic->Width() : 0;
    const int h = ImageList ? ImageList->Height() : Graphic ? Graphic->Height() : 0;
    if (w <= 0 || h <= 0) return std::string();
    TBitmap bmp(w, h);
    TCanvas* c = bmp.Canvas();
    const TColor fill = BackColor == clNone ? clWhite : BackColor;
    c->Brush()->SetColor(fill);
    c->Pen()->SetColor(fill);
    c->FillRect(Rect(0, 0, w, h));
    if (ImageList)
        ImageList->Draw(c, 0, 0, ImageIndex, true);
    else
        c->Draw(0, 0, *Graphic);
    auto info = std::make_unique<TRPHTMLBulletInfo>();
    info->FileName = Slashes(RPData->SaveImageForHTML(rpsfHTML, ImagesPrefix, Path, ImageSaveNo,
                                                      (Options & rphsoOverwriteImages) != 0, BackColor, &bmp));
    info->ImageList = ImageList;
    info->ImageIndex = ImageIndex;
    info->BackColor = BackColor;
    info->Graphic = Graphic;
    const std::string name = info->FileName;
    Bullets.Add(std::move(info));
    return name;
}

// ---------------------------------------------------------------------------
// List levels

std::string RPHTMLListOpenTag(const TRPListLevel& Lv, bool UseCSS) {
    std::string style;
    if (UseCSS) {
        const bool outside = Lv.LeftIndent > Lv.MarkerIndent;
        style = " style=\"text-indent: " + std::to_string(outside ? Lv.FirstIndent : Lv.MarkerIndent - Lv.LeftIndent) +
                "px; margin-left: " + std::to_string(Lv.LeftIndent) + "px; list-style:" +
                (outside ? "outside" : "inside") + ";\"";
    }
    if (!Lv.HasNumbering()) return "<UL" + style + ">";
    const char* type = "";
    switch (Lv.ListType) {
    case rplstLowerAlpha:
        type = " type=a";
        break;
    case rplstUpperAlpha:
        type = " type=A";
        break;
    case rplstLowerRoman:
        type = " type=i";
        break;
    case rplstUpperRoman:
        type = " type=I";
        break;
    default:
        break;
    }
    return std::string("<OL") + type + style + ">";
}

std::string RPHTMLListCloseTag(const TRPListLevel& Lv) {
    return Lv.HasNumbering() ? "</OL>" : "</UL>";
}

std::string RPHTMLMarkerParaCSS(const TRPListLevel& Lv) {
    return "text-indent: " + std::to_string(Lv.MarkerIndent - Lv.LeftIndent) +
           "px; margin-left: " + std::to_string(Lv.LeftIndent) + "px;";
}

// The picture of a picture or image-list marker, through the application's
// hook or written through the picture cache.
static std::string MarkerPicture(TCustomRPData* RPData, int ItemNo, const TRPMarkerItemInfo& M, TRPListLevel& Lv,
                                 const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                 TColor BackColor, TRPHTMLSaveOptions Options, TRPHTMLBulletList& Bullets) {
    std::string location;
    bool doDefault = true;
    RPData->DoHTMLSaveImage(RPData, ItemNo, Path, BackColor, location, doDefault);
    if (!doDefault) return location;
    if (Lv.ListType == rplstPicture) {
        if (!Lv.HasPicture()) return std::string();
        return RPHTMLSaveCachedImage(RPData, Bullets, nullptr, -1, Lv.Picture()->Graphic(), BackColor, Path,
                                     ImagesPrefix, ImageSaveNo, Options);
    }
    const int idx = M.ImageIndexIn(Lv);
    if (idx < 0) return std::string();
    return RPHTMLSaveCachedImage(RPData, Bullets, Lv.ImageList, idx, nullptr, BackColor, Path, ImagesPrefix,
                                 ImageSaveNo, Options);
}

std::string RPHTMLListPicture(TCustomRPData* RPData, int ItemNo, const TRPMarkerItemInfo& Marker,
                              const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                              TColor BackColor, TRPHTMLSaveOptions Options, TRPHTMLBulletList& Bullets) {
    TRPListLevel* lv = Marker.GetLevelInfo(RPData->GetRPStyle());
    if (!lv || (lv->ListType != rplstPicture && lv->ListType != rplstImageList &&
                lv->ListType != rplstImageListCounter))
        return std::string();
    return MarkerPicture(RPData, ItemNo, Marker, *lv, Path, ImagesPrefix, ImageSaveNo, BackColor, Options, Bullets);
}

// ---------------------------------------------------------------------------
// Items

void TCustomRPItemInfo::SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                 const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                 TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                                 TRPHTMLBulletList& Bullets) const {
    (void)Stream, (void)RPData, (void)ItemNo, (void)Text, (void)Path, (void)ImagesPrefix, (void)ImageSaveNo,
        (void)BackColor, (void)Options, (void)UseCSS, (void)Bullets;
}

void TRPGraphicItemInfo::SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                  TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                                  TRPHTMLBulletList& Bullets) const {
    (void)Text, (void)Bullets;
    const bool byName = (Options & rphsoImageFileNames) && !ImageFileName.empty();
    std::string location = byName ? RelativeFileName(ImageFileName, Path) : std::string();
    bool doDefault = true;
    RPData->DoHTMLSaveImage(RPData, ItemNo, Path, BackColor, location, doDefault);
    if (doDefault)
        location = byName ? RelativeFileName(ImageFileName, Path)
                          : RPData->SaveImageForHTML(rpsfHTML, ImagesPrefix, Path, ImageSaveNo,
                                                     (Options & rphsoOverwriteImages) != 0, BackColor, Image.get());
    if (location.empty()) return;
    std::string attrs = RPHTMLImageAttributes(Options, GetImageWidth(nullptr), GetImageHeight(nullptr),
                                              ImageWidth >= 1 || ImageHeight >= 1);
    if (!Alt.empty()) attrs += "alt=\"" + HTMLEscapeAttribute(Alt) + "\" ";
    attrs += HintAttr(Hint);
    if (UseCSS)
        if (const std::string css = GetVShiftCSS(GetImageHeight(nullptr)); !css.empty())
            attrs += "style=\"" + css + "\" ";
    Stream += "<IMG" + GetHTMLAlignAttribute() + attrs + "src=\"" + HTMLEscapeAttribute(Slashes(location)) + "\">";
}

void TRPBulletItemInfo::SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                 const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                 TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                                 TRPHTMLBulletList& Bullets) const {
    (void)Text;
    std::string location;
    bool doDefault = true;
    RPData->DoHTMLSaveImage(RPData, ItemNo, Path, BackColor, location, doDefault);
    if (doDefault && ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count())
        location = RPHTMLSaveCachedImage(RPData, Bullets, ImageList, ImageIndex, nullptr, BackColor, Path,
                                         ImagesPrefix, ImageSaveNo, Options);
    // Without a picture there is nothing to point at.
    if (location.empty()) return;
    std::string attrs = RPHTMLImageAttributes(Options, GetImageWidth(nullptr), GetImageHeight(nullptr), false);
    if (UseCSS)
        if (const std::string css = GetVShiftCSS(GetImageHeight(nullptr)); !css.empty())
            attrs += "style=\"" + css + "\" ";
    attrs += HintAttr(Hint);
    Stream += "<IMG" + attrs + "src=\"" + HTMLEscapeAttribute(Slashes(location)) + "\">";
}

void TRPBreakItemInfo::SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                                TRPHTMLBulletList& Bullets) const {
    (void)RPData, (void)ItemNo, (void)Text, (void)Path, (void)ImagesPrefix, (void)ImageSaveNo, (void)BackColor,
        (void)Bullets;
    const std::string size = "<HR noshade size=" + std::to_string(LineWidth) + " ";
    const std::string hint = HintAttr(Hint);
    if (Color != clNone && (UseCSS || (Options & rphsoClassicCSS)))
        Stream += size + hint + "style=\"color: " + ColorToHTML(Color) + "\">";
    else if (Color != clNone)
        Stream += size + "color=" + ColorToHTML(Color) + " " + hint + ">";
    else
        Stream += size + hint + ">";
}

void TRPControlItemInfo::SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                  TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                                  TRPHTMLBulletList& Bullets) const {
    (void)ItemNo, (void)Text, (void)ImagesPrefix, (void)ImageSaveNo, (void)BackColor, (void)Options, (void)UseCSS,
        (void)Bullets;
    std::string s;
    RPData->DoSaveComponentToFile(Path, Control.get(), rpsfHTML, s);
    Stream += s;
}

void TRPMarkerItemInfo::SaveHTML(std::string& Stream, TCustomRPData* RPData, int ItemNo, const std::string& Text,
                                 const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                 TColor BackColor, TRPHTMLSaveOptions Options, bool UseCSS,
                                 TRPHTMLBulletList& Bullets) const {
    (void)Text;
    if (!(Options & rphsoMarkersAsText)) return;
    TRPStyle* style = RPData->GetRPStyle();
    TRPListLevel* lv = GetLevelInfo(style);
    if (!lv) return;
    const int room = lv->LeftIndent + lv->FirstIndent - lv->MarkerIndent;
    switch (lv->ListType) {
    case rplstPicture:
    case rplstImageList:
    case rplstImageListCounter: {
        const std::string location =
            MarkerPicture(RPData, ItemNo, *this, *lv, Path, ImagesPrefix, ImageSaveNo, BackColor, Options, Bullets);
        if (location.empty()) return;
        const bool picture = lv->ListType == rplstPicture;
        const TGraphic* g = picture && lv->HasPicture() ? lv->Picture()->Graphic() : nullptr;
        const bool sizes = (Options & rphsoImageSizes) && (picture ? g != nullptr : lv->ImageList != nullptr);
        std::string attrs = RPHTMLImageAttributes(
            sizes ? Options : static_cast<TRPHTMLSaveOptions>(Options & ~rphsoImageSizes),
            g ? g->Width() : lv->ImageList ? lv->ImageList->Width() : 0,
            g ? g->Height() : lv->ImageList ? lv->ImageList->Height() : 0, false);
        const bool span = !picture && UseCSS && lv->MarkerIndent >= lv->LeftIndent;
        if (span) Stream += "<SPAN style=\"width:" + std::to_string(room) + "px\">";
        RPWriteLn(Stream, "<IMG" + attrs + "src=\"" + HTMLEscapeAttribute(Slashes(location)) + "\">");
        if (span) Stream += "</SPAN>";
        return;
    }
    default:
        break;
    }
    const TRPMarkerFont& mf = *lv->Font();
    const TFont font = MarkerFontAsFont(mf);
    const TFontInfo& f0 = *style->TextStyles().GetItem(0);
    if (UseCSS) {
        std::string css = FontToCSS(font);
        if (lv->LeftIndent <= lv->MarkerIndent) css += " width: " + std::to_string(room) + "px;";
        Stream += "<SPAN style=\"" + HTMLEscapeAttribute(css) + "\">";
    } else {
        Stream += OpenFontTagsFromFont(font, f0);
    }
    std::string symbols;
    if (lv->ListType == rplstUnicodeBullet)
        Stream += HTMLEscapeUnicodeText(WideStrToItemText(lv->FormatStringW), false, false);
    else if (SymbolFontTextToUnicodeText(mf.Name, DisplayString, 0, CharsetToCodePage(mf.Charset), symbols))
        Stream += HTMLEscapeUnicodeText(symbols, false, false); // readers may lack the font
    else
        RPHTMLAppendAscii(Stream, HTMLEscapeAnsiText(DisplayString, false, false), CharsetToCodePage(mf.Charset));
    RPWriteLn(Stream, UseCSS ? std::string("</SPAN>") : CloseFontTagsFromFont(font, f0));
}
