#include "richtext/model/RPStyle.h"

#include "platform/Pictures.h"

TRPStyle::TRPStyle() {
    // The factories ask the virtual operations when a style is made, so a
    // descendant's classes are used once it is constructed.
    FTextStyles = std::make_unique<TFontInfos>(
        this, [this] { return std::unique_ptr<TCustomRPInfo>(GetTextStyleClass().release()); });
    FParaStyles = std::make_unique<TParaInfos>(
        this, [this] { return std::unique_ptr<TCustomRPInfo>(GetParaStyleClass().release()); });
    FListStyles = std::make_unique<TRPListInfos>(
        this, [this] { return std::unique_ptr<TCustomRPInfo>(GetListStyleClass().release()); });
    ResetParaStyles();
    ResetTextStyles();
}

TRPStyle::~TRPStyle() {
    FFreeNotify.Notify(this);
}

std::unique_ptr<TFontInfo> TRPStyle::GetTextStyleClass() const {
    return std::make_unique<TFontInfo>();
}
std::unique_ptr<TParaInfo> TRPStyle::GetParaStyleClass() const {
    return std::make_unique<TParaInfo>();
}
std::unique_ptr<TRPListInfo> TRPStyle::GetListStyleClass() const {
    return std::make_unique<TRPListInfo>();
}

void TRPStyle::SetTextStyles(const TFontInfos& Value) {
    if (&Value != FTextStyles.get()) FTextStyles->Assign(Value);
}

void TRPStyle::SetParaStyles(const TParaInfos& Value) {
    if (&Value != FParaStyles.get()) FParaStyles->Assign(Value);
}

void TRPStyle::SetListStyles(const TRPListInfos& Value) {
    if (&Value != FListStyles.get()) FListStyles->Assign(Value);
}

void TRPStyle::ResetTextStyles() {
    FTextStyles->Clear();
    FTextStyles->Add()->StyleName = "Normal text";

    TFontInfo* f = FTextStyles->Add();
    f->StyleName = "Heading";
    f->Style = RPFontStyle::Bold;
    f->Color = clBlue;

    f = FTextStyles->Add();
    f->StyleName = "Subheading";
    f->Style = RPFontStyle::Bold;
    f->Color = clNavy;

    f = FTextStyles->Add();
    f->StyleName = "Keywords";
    f->Style = RPFontStyle::Italic;
    f->Color = clMaroon;

    for (const char* name : {"Jump 1", "Jump 2"}) {
        f = FTextStyles->Add();
        f->StyleName = name;
        f->Style = RPFontStyle::Underline;
        f->Color = clGreen;
        f->Jump = true;
        f->JumpCursor = JumpCursor;
    }
}

void TRPStyle::ResetParaStyles() {
    FParaStyles->Clear();
    FParaStyles->Add();
    TParaInfo* p = FParaStyles->Add();
    p->StyleName = "Centered";
    p->Alignment = rpaCenter;
}

TColor TRPStyle::GetHoverColor(TColor AColor) const {
    return AColor != clNone ? AColor : HoverColor;
}

TColor TRPStyle::GetHoverColorByStyle(int StyleNo) const {
    return GetHoverColor(FTextStyles->GetItem(StyleNo)->HoverColor);
}

bool TRPStyle::StyleHoverSensitive(int StyleNo) {
    const TFontInfo* f = FTextStyles->GetItem(StyleNo);
    bool sensitive = GetHoverColorByStyle(StyleNo) != clNone || f->HoverBackColor != f->BackColor;
    if (OnStyleHoverSensitive) OnStyleHoverSensitive(this, StyleNo, sensitive);
    return sensitive;
}

bool TRPStyle::DrawTextBack(TCanvas* Canvas, int ItemNo, int StyleNo, int Left, int Top, int Width,
                            int Height, TRPTextDrawStates DrawState, TCustomRPData* RPData, int Offs) {
    bool doDefault = true;
    if (OnDrawTextBack) {
        FDrawingRPData = RPData;
        FDrawingItemNo = ItemNo;
        FDrawingOffs = Offs;
        OnDrawTextBack(this, Canvas, StyleNo, Left, Top, Width, Height, DrawState, doDefault);
        FDrawingRPData = nullptr;
        FDrawingItemNo = -1;
        FDrawingOffs = 0;
    }
    return doDefault;
}

TPicture* TRPStyle::GetInvalidPicture() {
    if (!FInvalidPicture) {
        FInvalidPicture = std::make_unique<TPicture>();
        // A small framed cross stands for a picture that could not be read.
        auto bmp = std::make_unique<TBitmap>(20, 20);
        TCanvas* c = bmp->Canvas();
        c->Brush()->SetColor(clWhite);
        c->Pen()->SetColor(clGray);
        c->Rectangle(0, 0, 20, 20);
        c->Pen()->SetColor(clRed);
        c->Pen()->SetWidth(2);
        c->MoveTo(4, 4);
        c->LineTo(16, 16);
        c->MoveTo(15, 4);
        c->LineTo(3, 16);
        FInvalidPicture->SetGraphic(std::unique_ptr<TGraphic>(std::move(bmp)));
    }
    return FInvalidPicture.get();
}

void TRPStyle::SetInvalidPicture(const TPicture* Value) {
    if (!Value) {
        FInvalidPicture.reset();
        return;
    }
    if (Value == FInvalidPicture.get()) return;
    if (!FInvalidPicture) FInvalidPicture = std::make_unique<TPicture>();
    FInvalidPicture->Assign(*Value);
}

void TRPStyle::ImageListRemoved(const TCustomImageList* ImageList) {
    FListStyles->RemoveImageList(ImageList);
}
