#pragma once
// The style component: owns the text, paragraph and list styles that documents
// refer to by index, the colours and cursors of the view, and the hooks through
// which an application takes over drawing.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/FreeNotify.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPStream.h"
#include "richtext/model/RPStyleInfos.h"

class TCanvas;
class TControl;
class TPicture;
class TCustomRPData;

class TRPStyle;

using TRPApplyStyleEvent =
    std::function<void(TRPStyle* Sender, TCanvas* Canvas, int StyleNo, bool& DoDefault)>;
using TRPApplyStyleColorEvent = std::function<void(TRPStyle* Sender, TCanvas* Canvas, int StyleNo,
                                                   TRPTextDrawStates DrawState, bool& DoDefault)>;
using TRPDrawStyleTextEvent = std::function<void(TRPStyle* Sender, const std::string& s, TCanvas* Canvas,
                                                 int StyleNo, int SpaceBefore, int Left, int Top, int Width,
                                                 int Height, TRPTextDrawStates DrawState, bool& DoDefault)>;
using TRPStyleHoverSensitiveEvent = std::function<void(TRPStyle* Sender, int StyleNo, bool& Sensitive)>;
using TRPDrawTextBackEvent =
    std::function<void(TRPStyle* Sender, TCanvas* Canvas, int StyleNo, int Left, int Top, int Width,
                       int Height, TRPTextDrawStates DrawState, bool& DoDefault)>;
using TRPDrawCheckpointEvent =
    std::function<void(TRPStyle* Sender, TCanvas* Canvas, int X, int Y, int ItemNo, int XShift,
                       bool RaiseEvent, TControl* Control, bool& DoDefault)>;
using TRPDrawPageBreakEvent =
    std::function<void(TRPStyle* Sender, TCanvas* Canvas, int Y, int XShift, TRPPageBreakType PageBreakType,
                       TControl* Control, bool& DoDefault)>;
using TRPDrawParaRectEvent = std::function<void(TRPStyle* Sender, TCanvas* Canvas, int ParaNo,
                                                const TRPBounds& ARect, bool& DoDefault)>;

class TRPStyle {
public:
    TRPStyle();
    virtual ~TRPStyle();
    TRPStyle(const TRPStyle&) = delete;
    TRPStyle& operator=(const TRPStyle&) = delete;

    // The component's name; RPF writes it with the style collections.
    std::string Name;

    // Colours, cursors and switches of the view.
    TColor Color = clWindow;
    TColor HoverColor = clNone;
    TColor SelColor = clHighlight;
    TColor SelTextColor = clHighlightText;
    TColor InactiveSelColor = clHighlight;
    TColor InactiveSelTextColor = clHighlightText;
    TColor CheckpointColor = clGreen;
    TColor CheckpointEvColor = clLime;
    int16_t JumpCursor = crRPJump;
    bool FullRedraw = false;
    int16_t SpacesInTab = 8;
    TColor PageBreakColor = clBtnShadow;
    TColor SoftPageBreakColor = clBtnFace;
    int DefUnicodeStyle = -1;
    TRPCodePage DefCodePage = 0;
    bool UseSound = true;
    TRPSelectionMode SelectionMode = rpsmWord;
    TRPSelectionStyle SelectionStyle = rpssItems;
    int16_t LineSelectCursor = crRPFlipArrow;

    TRPApplyStyleEvent OnApplyStyle;
    TRPApplyStyleColorEvent OnApplyStyleColor;
    TRPDrawStyleTextEvent OnDrawStyleText;
    TRPStyleHoverSensitiveEvent OnStyleHoverSensitive;
    TRPDrawTextBackEvent OnDrawTextBack;
    TRPDrawCheckpointEvent OnDrawCheckpoint;
    TRPDrawPageBreakEvent OnDrawPageBreak;
    TRPDrawParaRectEvent OnDrawParaBack;

    TFontInfos& TextStyles() { return *FTextStyles; }
    const TFontInfos& TextStyles() const { return *FTextStyles; }
    TParaInfos& ParaStyles() { return *FParaStyles; }
    const TParaInfos& ParaStyles() const { return *FParaStyles; }
    TRPListInfos& ListStyles() { return *FListStyles; }
    const TRPListInfos& ListStyles() const { return *FListStyles; }
    // Copy the given collection into the owned one (nothing for the same object).
    void SetTextStyles(const TFontInfos& Value);
    void SetParaStyles(const TParaInfos& Value);
    void SetListStyles(const TRPListInfos& Value);

    // Factories of the style classes; a descendant replaces them to use its own.
    virtual std::unique_ptr<TFontInfo> GetTextStyleClass() const;
    virtual std::unique_ptr<TParaInfo> GetParaStyleClass() const;
    virtual std::unique_ptr<TRPListInfo> GetListStyleClass() const;

    void ResetTextStyles();
    void ResetParaStyles();

    // Drawing; each fires its event first and draws only when DoDefault stays set.
    void ApplyStyle(TCanvas& Canvas, int StyleNo, TRPBiDiMode DefBiDiMode);
    void ApplyStyleColor(TCanvas& Canvas, int StyleNo, TRPTextDrawStates DrawState, bool Printing,
                         TRPColorMode ColorMode);
    // MeasuredWidth: the text's width as the layout measured it, or -1 (TFontInfo::DrawText).
    void DrawStyleText(const std::string& s, TCanvas& Canvas, int StyleNo, int SpaceBefore, int Left, int Top,
                       int Width, int Height, TRPTextDrawStates DrawState, bool Printing, bool Justify,
                       TRPBiDiMode DefBiDiMode, TCustomRPData* RPData, int ItemNo, int Offs,
                       int MeasuredWidth = -1);
    // The lines run across Control (none: nothing to the right of x = 0).
    void DrawCheckpoint(TCanvas& Canvas, int X, int Y, int ItemNo, int XShift, bool RaiseEvent,
                        TControl* Control);
    void DrawPageBreak(TCanvas& Canvas, int Y, int XShift, TRPPageBreakType PageBreakType, TControl* Control);
    void DrawParaBack(TCanvas& Canvas, int ParaNo, const TRPBounds& Rect, bool Printing,
                      TRPColorMode ColorMode);

    TColor GetHoverColor(TColor AColor) const;
    TColor GetHoverColorByStyle(int StyleNo) const;
    bool StyleHoverSensitive(int StyleNo);
    // Fires OnDrawTextBack for the run at Offs of item ItemNo of RPData; there
    // is no built-in drawing. Answers DoDefault.
    bool DrawTextBack(TCanvas* Canvas, int ItemNo, int StyleNo, int Left, int Top, int Width, int Height,
                      TRPTextDrawStates DrawState, TCustomRPData* RPData, int Offs);
    // InvalidPicture: shown in place of pictures that cannot be read; made on first use.
    TPicture* GetInvalidPicture();
    // nullptr frees it; another picture is copied in.
    void SetInvalidPicture(const TPicture* Value);

    // The style sheet of the styles for HTML. Options: 1 inherit from
    // BaseStyleNo, 2 skip left alignment, 4 classes also for style 0.
    void SaveCSSToStream(std::string& Stream, int Options) const;

    // An image list went away: the list styles forget it.
    void ImageListRemoved(const TCustomImageList* ImageList);

    // Called when the component goes away, so that the views that show their
    // documents with it forget it. The key names the listener for removal.
    void AddFreeNotification(const void* Key, std::function<void(TRPStyle*)> OnFree) {
        FFreeNotify.Add(Key, std::move(OnFree));
    }
    void RemoveFreeNotification(const void* Key) { FFreeNotify.Remove(Key); }

    // The run being drawn while OnDrawStyleText or OnDrawTextBack runs.
    TCustomRPData* DrawingRPData() const { return FDrawingRPData; }
    int DrawingItemNo() const { return FDrawingItemNo; }
    int DrawingOffs() const { return FDrawingOffs; }

protected:
    TCustomRPData* FDrawingRPData = nullptr;
    int FDrawingItemNo = -1;
    int FDrawingOffs = 0;

private:
    std::unique_ptr<TFontInfos> FTextStyles;
    std::unique_ptr<TParaInfos> FParaStyles;
    std::unique_ptr<TRPListInfos> FListStyles;
    std::unique_ptr<TPicture> FInvalidPicture;
    TFreeNotifications<TRPStyle> FFreeNotify;
};

