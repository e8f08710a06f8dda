// The RPF records of the item kinds: what each writes and how it reads its
// header fields and data lines back.
#include <algorithm>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Pictures.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPTextHelpers.h"

namespace {

bool ReadNumber(const std::string& s, size_t& p, int32_t& v) {
    while (p < s.size() && s[p] == ' ')
        ++p;
    return RPFReadInteger(s, p, v);
}

// Puts a control made or supplied for a record where the document's control keeps its controls.
void AdoptControl(TControl* Control, TCustomRPData* RPData) {
    Control->Hide();
    if (auto* parent = dynamic_cast<TWinControl*>(RPData->GetParentControl())) Control->SetParent(parent);
}

} // namespace

// ---------------------------------------------------------------------------
// Writing

void TCustomRPItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Name, (void)Part;
    RPFWriteNonTextHeader(Stream, RPData, *this, GetRPFExtraPropertyCount(), ParaNo, 0, ForceContinue);
    SaveRPFExtraProperties(Stream);
}

// A rule keeps its own paragraph: it never continues a line.
void TRPBreakItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                               const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)ParaNo, (void)Name, (void)Part, (void)ForceContinue;
    RPFWriteNonTextHeader(Stream, RPData, *this, 0, this->ParaNo, 0, false);
}

void TRPGraphicItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                 const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Part;
    const TRPFOptions o = RPData->GetRPFOptions();
    const int props = GetRPFExtraPropertyCount();
    if ((o & rpfoSavePicturesBody) && Image) {
        const bool binary = (o & rpfoSaveBinary) != 0;
        RPFWriteNonTextHeader(Stream, RPData, *this, props + 3, ParaNo, binary ? 2 : 0, ForceContinue);
        RPFWriteLine(Stream, RPFLineText(Name));
        RPFWriteLine(Stream, Image->ClassName().toStdString());
        SaveRPFExtraProperties(Stream);
        if (binary)
            RPFSavePictureBinary(Stream, *Image);
        else
            RPFWriteLine(Stream, RPFSavePictureToHex(*Image));
    } else {
        RPFWriteNonTextHeader(Stream, RPData, *this, props + 1, ParaNo, 1, ForceContinue);
        RPFWriteLine(Stream, RPFLineText(Name));
        SaveRPFExtraProperties(Stream);
    }
}

// A control of a class that a stream may create travels with its body; any
// other control is left for the application to supply when the stream is read.
void TRPControlItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                 const std::string& Name, void* Part, bool ForceContinue) const {
    (void)Part;
    const TRPFOptions o = RPData->GetRPFOptions();
    const int props = GetRPFExtraPropertyCount();
    const std::string cls = Control ? Control->ClassName().toStdString() : std::string();
    if ((o & rpfoSaveControlsBody) && Control && RPFControlClassIsKnown(cls)) {
        const bool binary = (o & rpfoSaveBinary) != 0;
        RPFWriteNonTextHeader(Stream, RPData, *this, props + 3, ParaNo, binary ? 2 : 0, ForceContinue);
        RPFWriteLine(Stream, RPFLineText(Name));
        RPFWriteLine(Stream, cls);
        SaveRPFExtraProperties(Stream);
        RPData->DoControlAction(5, ItemNo, Control.get());
        if (binary)
            RPFSaveControlBinary(Stream, *Control);
        else
            RPFWriteLine(Stream, RPFSaveControlToHex(*Control));
        RPData->DoControlAction(6, ItemNo, Control.get());
    } else {
        RPFWriteNonTextHeader(Stream, RPData, *this, props + 1, ParaNo, 1, ForceContinue);
        RPFWriteLine(Stream, RPFLineText(Name));
        SaveRPFExtraProperties(Stream);
    }
}

// The image list is named by its component tag.
void TRPBulletItemInfo::GetRPFExtraText(TCustomRPData* RPData, std::string& s) const {
    (void)RPData;
    s = std::to_string(ImageList ? ImageList->Tag() : 0);
    s += ' ';
    s += std::to_string(ImageIndex);
}

void TRPBulletItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Part;
    RPFWriteNonTextHeader(Stream, RPData, *this, GetRPFExtraPropertyCount() + 1, ParaNo, 0, ForceContinue);
    RPFWriteLine(Stream, RPFLineText(Name));
    SaveRPFExtraProperties(Stream);
}

void TRPHotspotItemInfo::GetRPFExtraText(TCustomRPData* RPData, std::string& s) const {
    TRPBulletItemInfo::GetRPFExtraText(RPData, s);
    s += ' ';
    s += std::to_string(HotImageIndex);
}

void TRPHotspotItemInfo::SaveRPF(std::string& Stream, TCustomRPData* RPData, int ItemNo, int ParaNo,
                                 const std::string& Name, void* Part, bool ForceContinue) const {
    (void)ItemNo, (void)Part;
    RPFWriteNonTextHeader(Stream, RPData, *this, 1, ParaNo, 0, ForceContinue);
    RPFWriteLine(Stream, RPFLineText(Name));
}

// ---------------------------------------------------------------------------
// Reading

bool TRPGraphicItemInfo::ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) {
    const bool withBody = Line.ReadType != 1;
    if (Line.LineNo == 0) {
        Line.Name = s;
        if (!withBody)
            if (TGraphic* g = RPData->DoRPFPictureNeeded(s, Tag)) Image.reset(g);
    } else if (withBody && Line.LineNo == 1) {
        Image = RPCreateGraphicProc ? RPCreateGraphicProc(QString::fromStdString(s)) : nullptr;
        if (!Image) {
            RPFWarn(RPData, rpfwUnknownPicture);
            if (!(RPData->GetRPFOptions() & rpfoIgnoreUnknownPicFmt)) return false;
        }
    } else if (withBody && Line.LineNo == Line.LineCount - 1) {
        bool loaded = true;
        std::string skipped;
        if (Line.ReadType == 2) {
            if (Image) loaded = RPFLoadPictureFromBinaryString(s, *Image);
        } else if (Image ? !RPFLoadPictureFromHex(s, *Image, &loaded) : !RPFHexToStream(s, skipped)) {
            return false; // bad hex fails the read, known class or not
        }
        // A picture whose bytes cannot be read goes with its item.
        if (Image && !loaded) Image.reset();
        // A metafile that leaves its units per inch open is taken in twips.
        if (auto* meta = dynamic_cast<TMetafile*>(Image.get());
            meta && !meta->Enhanced() && meta->Inch() == 0)
            meta->SetInch(1440);
    } else {
        ReadRPFProperty(s);
    }
    if (Line.LineNo == Line.LineCount - 1) FitInReadLimits();
    if (Line.ReadType == 2 && Line.LineNo == Line.LineCount - 2) Line.NextLineBinary = true;
    return true;
}

bool TRPControlItemInfo::ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) {
    const bool withBody = Line.ReadType != 1;
    if (Line.LineNo == 0) {
        Line.Name = s;
        if (!withBody) {
            if (TControl* c = RPData->DoRPFControlNeeded(s, Tag)) {
                Control.reset(c);
                AdoptControl(c, RPData);
            } else {
                // The item goes; the warning says so.
                RPFWarn(RPData, rpfwUnknownControl);
            }
        }
    } else if (withBody && Line.LineNo == 1) {
        Line.ClassName = s;
    } else if (withBody && Line.LineNo == Line.LineCount - 1) {
        // Only the plain controls we know are made from a stored body; any
        // other class (or a body that does not read) is refused with a
        // warning and fails the read, unless unknown controls are to be left
        // out and the rest of the document loaded.
        if (Line.ReadType == 2)
            Control = RPFLoadControlFromBinary(s, Line.ClassName, nullptr);
        else if (!RPFLoadControlFromHex(s, Line.ClassName, nullptr, Control))
            return false;
        if (Control) {
            AdoptControl(Control.get(), RPData);
        } else {
            RPFWarn(RPData, rpfwUnknownControl);
            if (!(RPData->GetRPFOptions() & rpfoIgnoreUnknownCtrls)) return false;
        }
    } else {
        ReadRPFProperty(s);
    }
    if (Line.ReadType == 2 && Line.LineNo == Line.LineCount - 2) Line.NextLineBinary = true;
    return true;
}

bool TRPBulletItemInfo::ReadRPFLine(const std::string& s, TCustomRPData* RPData, TRPFLineInfo& Line) {
    (void)RPData;
    if (Line.LineNo == 0)
        Line.Name = s;
    else
        ReadRPFProperty(s);
    return true;
}

// The image list comes from the application by its tag; an index outside it
// is refused, or made 0 when the options say so.
bool TRPBulletItemInfo::ReadRPFHeaderExtra(std::string& s, TCustomRPData* RPData) {
    size_t p = 0;
    int32_t listTag = 0, idx = 0, hot = 0;
    if (!ReadNumber(s, p, listTag) || !ReadNumber(s, p, idx)) return false;
    auto* hotspot = dynamic_cast<TRPHotspotItemInfo*>(this);
    hot = idx;
    if (hotspot && s.find_first_not_of(' ', p) != std::string::npos && !ReadNumber(s, p, hot)) return false;
    ImageList = RPData ? RPData->DoRPFImageListNeeded(listTag) : nullptr;
    if (ImageList) {
        const int n = ImageList->Count();
        for (int32_t* v : {&idx, &hot})
            if (*v < 0 || *v >= n) {
                RPFWarn(RPData, rpfwImageIndex);
                if (!(RPData->GetRPFOptions() & rpfoConvLargeImageIdxToZero)) return false;
                *v = 0;
            }
    }
    ImageIndex = idx;
    if (hotspot) hotspot->HotImageIndex = hot;
    s.erase(0, p);
    return true;
}
