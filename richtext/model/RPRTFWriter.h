#pragma once
// Pieces of the RTF writer that the items and the list tables share.
#include <cstdint>
#include <string>

#include "richtext/model/RPData.h"
#include "richtext/model/RPWriterTypes.h"

class TRPStyle;
class TRPMarkerFont;
class TCustomImageList;
class TGraphic;

// Pixels as twips, rounded.
int RPTwips(int Pixels, double TwipsPerPixel);
// The number of a colour in the colour table (0, the automatic colour, when absent).
int RPRTFColorNo(const TRPRTFTables& Tables, TColor Color);
// The character properties of a list level's marker font.
void RPRTFWriteMarkerFont(std::string& Stream, const TRPMarkerFont& Font, const TRPStyle& RPStyle,
                          const TRPRTFTables& Tables);
// The list table and the list override table of the header; turns the override
// counts of ListOverrideOffsetsList1 into override numbers.
void RPRTFWriteListTables(std::string& Stream, TCustomRPData* RPData, TRPStyle& RPStyle, TRPRTFTables& Tables,
                          double TwipsPerPixel);
// One picture group; Width and Height (pixels, 0 for none) scale the picture.
void SaveGraphicToRTF(std::string& Stream, const TGraphic* Graphic, int Width, int Height, TRPRTFOptions Options,
                      double TwipsPerPixel);
// One picture group of an image of an image list; nothing for an index outside the list.
void SaveImageListImageToRTF(std::string& Stream, const TCustomImageList* ImageList, int ImageIndex,
                             TRPRTFOptions Options, double TwipsPerPixel);
