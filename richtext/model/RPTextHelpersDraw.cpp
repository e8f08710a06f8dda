// Helpers that need fonts, canvases and pictures.
#include "platform/CodePage.h"
#include "platform/Graphics.h"
#include "platform/Icon.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPTextHelpers.h"

std::string FontToCSS(const TFont& Font) {
    std::string font;
    auto add = [](std::string& s, const std::string& w) { s = s.empty() ? w : s + " " + w; };
    if (Font.Style() & fsBold) add(font, "bold");
    if (Font.Style() & fsItalic) add(font, "italic");
    if (Font.Size() < 1)
        add(font, std::to_string(Font.Height()) + "px");
    else
        add(font, std::to_string(Font.Size()) + "pt");
    std::string name = "'";
    name += CodePage::ToCp1252(Font.Name());
    name += '\'';
    add(font, name);
    std::string r = "font: " + font + ";";
    std::string deco;
    if (Font.Style() & fsUnderline) add(deco, "underline");
    if (Font.Style() & fsStrikeOut) add(deco, "line-through");
    if (!deco.empty()) r += " text-decoration: " + deco + ";";
    r += " color: " + ColorToHTML(Font.Color()) + ";";
    return r;
}

std::string OpenFontTagsFromFont(const TFont& Font, const TFontInfo& Base) {
    TFontInfo f;
    f.AssignFromFont(Font);
    return OpenFontTags(f, Base, true);
}

std::string CloseFontTagsFromFont(const TFont& Font, const TFontInfo& Base) {
    TFontInfo f;
    f.AssignFromFont(Font);
    return CloseFontTags(f, Base, true);
}

void FillResolutionRecord(TRPResolution& R, const TCanvas& Canvas) {
    R.ScreenX = R.ScreenY = 96;
    R.DeviceX = Canvas.PixelsPerInchX();
    R.DeviceY = Canvas.PixelsPerInchY();
}

std::unique_ptr<TGraphic> CreateGraphicOfClass(const QString& ClassName) {
    if (ClassName == QLatin1String("TBitmap")) return std::make_unique<TBitmap>();
    if (ClassName == QLatin1String("TJPEGImage")) return std::make_unique<TJPEGImage>();
    if (ClassName == QLatin1String("TMetafile")) return std::make_unique<TMetafile>();
    if (ClassName == QLatin1String("TIcon")) return std::make_unique<TIcon>();
    if (ClassName == QLatin1String("TPngImage")) return std::make_unique<TPngImage>();
    // Classes of other libraries are found by the extension they registered
    // ("TGIFImage" -> "gif").
    QString ext = ClassName;
    if (ext.startsWith(QLatin1Char('T'))) ext.remove(0, 1);
    if (ext.endsWith(QLatin1String("Image"))) ext.chop(5);
    return TPicture::CreateForExtension(ext.toLower());
}

std::function<std::unique_ptr<TGraphic>(const QString&)> RPCreateGraphicProc = CreateGraphicOfClass;
std::function<void(TGraphic*)> RPAfterImportGraphicProc = [](TGraphic*) {};

bool GetGraphicTransparent(const TGraphic& Graphic) {
    return Graphic.Transparent();
}

void PrintDrawGraphic(TCanvas& Canvas, int X, int Y, int Width, int Height, const TRPResolution& R,
                      const TGraphic& Graphic, bool Stretch) {
    if (Width < 0) Width = Graphic.Width();
    if (Height < 0) Height = Graphic.Height();
    const TRect dest =
        Bounds(X, Y, MulDiv(Width, R.DeviceX, R.ScreenX), MulDiv(Height, R.DeviceY, R.ScreenY));
    if (Stretch) {
        Canvas.StretchDraw(dest, Graphic);
        return;
    }
    // Bitmaps go through their pixels, smoothly scaled to the device.
    if (auto bmp = dynamic_cast<const TBitmap*>(&Graphic)) {
        if (bmp->Empty() || dest.IsEmpty()) return;
        const QImage img = bmp->ToImage().scaled(dest.Width(), dest.Height(), Qt::IgnoreAspectRatio,
                                                 Qt::SmoothTransformation);
        Canvas.DrawImage(dest, img, TRect{0, 0, img.width(), img.height()});
    }
}
