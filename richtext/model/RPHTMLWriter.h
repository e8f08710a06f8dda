#pragma once
// Pieces of the HTML writers that the items, the list levels and the styles share.
#include <string>
#include <string_view>

#include "richtext/model/RPData.h"
#include "richtext/model/RPWriterTypes.h"

class TRPStyle;
class TFontInfo;
class TParaInfo;
class TRPListLevel;
class TRPMarkerItemInfo;

// Text made plain ASCII: every byte above 127 of 8-bit text in CodePage as a
// numeric character reference, so that no reader has to guess the encoding.
void RPHTMLAppendAscii(std::string& Out, std::string_view s, int CodePage);

// The location of a picture file for an image of an image list or a list
// level's picture, written once per export for each image and colour.
std::string RPHTMLSaveCachedImage(TCustomRPData* RPData, TRPHTMLBulletList& Bullets, TCustomImageList* ImageList,
                                  int ImageIndex, const TGraphic* Graphic, TColor BackColor,
                                  const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                                  TRPHTMLSaveOptions Options);
// The location of a background picture (of a table or a cell): its file name
// made relative to Path when the options ask for file names and it has one,
// else the picture written beside the page; forward slashes.
std::string RPHTMLBackgroundPicture(TCustomRPData* RPData, const TGraphic& Graphic,
                                    const std::string& FileName, const std::string& Path,
                                    const std::string& ImagesPrefix, int& ImageSaveNo,
                                    TRPHTMLSaveOptions Options, TColor BackColor);
// " border=0 " or " ", then the size when asked for (or when Force).
std::string RPHTMLImageAttributes(TRPHTMLSaveOptions Options, int Width, int Height, bool Force);

// List levels: the opening tag (with the indents as a style in the CSS
// writer), the closing tag, and the CSS of a paragraph that shows its marker as text.
std::string RPHTMLListOpenTag(const TRPListLevel& Level, bool UseCSS);
std::string RPHTMLListCloseTag(const TRPListLevel& Level);
std::string RPHTMLMarkerParaCSS(const TRPListLevel& Level);
// The location of the picture a list item shows as its marker (CSS writer), or empty.
std::string RPHTMLListPicture(TCustomRPData* RPData, int ItemNo, const TRPMarkerItemInfo& Marker,
                              const std::string& Path, const std::string& ImagesPrefix, int& ImageSaveNo,
                              TColor BackColor, TRPHTMLSaveOptions Options, TRPHTMLBulletList& Bullets);

// CSS of styles: each property is " name: value;", on its own line (sheet
// form) or run together; with a base only what differs from it.
void RPFontInfoCSS(std::string& S, const TFontInfo& Style, const TFontInfo* Base, bool MultiLine,
                   const TRPStyle& RPStyle);
void RPParaInfoCSS(std::string& S, const TParaInfo& Style, const TParaInfo* Base, bool InList,
                   bool IgnoreLeftAlignment, bool MultiLine);
