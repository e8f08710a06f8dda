#pragma once
// List styles: numbered and bulleted paragraphs refer to a list style and a
// level of it; the level says how the marker looks and how its counter runs.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richtext/model/RPStyleInfos.h"

class TCustomImageList;
class TPicture;
class TCustomRPData;
class TRPListInfo;

enum TRPListType : uint8_t {
    rplstBullet = 0,
    rplstPicture = 1,
    rplstImageList = 2,
    rplstDecimal = 3,
    rplstLowerAlpha = 4,
    rplstUpperAlpha = 5,
    rplstLowerRoman = 6,
    rplstUpperRoman = 7,
    rplstImageListCounter = 8,
    rplstUnicodeBullet = 9
};

enum TRPMarkerAlignment : uint8_t { rpmaLeft = 0, rpmaRight = 1, rpmaCenter = 2 };

// The options of a list level, as bits of a set.
enum TRPListLevelOption : uint8_t { rploContinuous = 1, rploLevelReset = 2, rploLegalStyleNumbering = 4 };
using TRPListLevelOptions = uint8_t;

using TRPMarkerFormatString = std::string;     // bytes
using TRPMarkerFormatStringW = std::u16string; // UTF-16

// Font of list markers; "Arial" 8 points by default.
class TRPMarkerFont {
public:
    std::string Name = "Arial";
    int Size = 8;
    TColor Color = clWindowText;
    uint8_t Charset = rpDefaultCharset;
    TRPFontStyleSet Style = 0;

    void Assign(const TRPMarkerFont& Source) { *this = Source; }
    // Pixel height (negative: character height) at a resolution.
    int Height(int PixelsPerInch = 96) const;
    void SetHeight(int Height, int PixelsPerInch = 96);
    bool IsDefault() const;
    // Equal in height, style, colour, charset and name (name without regard to case).
    bool IsEqual(const TRPMarkerFont& Other) const;
    // What streaming writes beside the properties always stored.
    bool StoresName() const { return Name != "Arial"; }
    bool StoresHeight() const { return Size != 8; }
};

class TRPListLevel;

// The image list of a level (not owned). It reads as the list's pointer;
// when the list is freed, the level's style component is told and every
// level forgets it, so that none keeps a pointer to a freed list.
class TRPLevelImageList {
public:
    explicit TRPLevelImageList(TRPListLevel* Level) : FLevel(Level) {}
    ~TRPLevelImageList() { Set(nullptr); }
    TRPLevelImageList(const TRPLevelImageList&) = delete;
    TRPLevelImageList& operator=(const TRPLevelImageList& Other) {
        Set(Other.FList);
        return *this;
    }
    TRPLevelImageList& operator=(TCustomImageList* List) {
        Set(List);
        return *this;
    }
    operator TCustomImageList*() const { return FList; }
    TCustomImageList* operator->() const { return FList; }

private:
    void Set(TCustomImageList* List);
    void Freed(TCustomImageList* List);
    TRPListLevel* FLevel;
    TCustomImageList* FList = nullptr;
};

// One level of a list style.
class TRPListLevel {
public:
    TRPListLevel() = default;
    ~TRPListLevel();
    TRPListLevel(const TRPListLevel&) = delete;
    TRPListLevel& operator=(const TRPListLevel&) = delete;

    TRPListType ListType = rplstBullet;
    TRPLevelImageList ImageList{this};
    int ImageIndex = 0;
    TRPMarkerFormatString FormatString = std::string(1, '\xB7');
    TRPMarkerFormatStringW FormatStringW;
    int LeftIndent = 0;
    int FirstIndent = 10;
    int MarkerIndent = 0;
    TRPMarkerAlignment MarkerAlignment = rpmaLeft;
    TRPListLevelOptions Options = rploContinuous | rploLevelReset;
    int StartFrom = 1;

    // The marker picture, created on first use; nullptr frees it.
    TPicture* Picture();
    const TPicture* PictureIfAny() const { return FPicture.get(); }
    void SetPicture(const TPicture* Value);

    // The marker font, created on first use.
    TRPMarkerFont* Font();
    const TRPMarkerFont* FontIfAny() const { return FFont.get(); }
    bool HasFont() const { return FFont != nullptr; }
    // Copies the font, or frees the level's own when Value is nullptr.
    void SetFont(const TRPMarkerFont* Value);

    void Assign(const TRPListLevel& Source);
    // Indents, start number and marker size read from a file, in their ranges.
    void KeepInReadLimits();
    // "List Level %d" with the level's index.
    std::string GetDisplayName() const;
    int Index() const;
    TRPListInfo* ListInfo() const { return FOwner; }

    bool HasPicture() const;
    bool HasNumbering() const { return ListType >= rplstDecimal && ListType <= rplstImageListCounter; }
    bool HasTextNumbering() const { return ListType >= rplstDecimal && ListType <= rplstUpperRoman; }
    bool UsesFont() const {
        return ListType == rplstBullet || (ListType >= rplstDecimal && ListType <= rplstUpperRoman) ||
               ListType == rplstUnicodeBullet;
    }

    bool IsEqual(const TRPListLevel& Other) const;
    int SimilarityValue(const TRPListLevel& Other) const;

    // Extra streamed properties: hex forms of the format strings. The first is
    // written only when the text differs from the single bullet byte (an empty
    // text is written, as an empty code), the second only when not empty.
    bool StoresFormatStringCode() const { return FormatString != std::string(1, '\xB7'); }
    bool StoresFormatStringWCode() const { return !FormatStringW.empty(); }
    std::string GetFormatStringCode() const;
    std::string GetFormatStringWCode() const;
    // Reading answers False for text that is not hexadecimal (value unchanged).
    bool SetFormatStringCode(const std::string& Hex);
    bool SetFormatStringWCode(const std::string& Hex);

    // "ILTag" exists only while the list styles are streamed with a document:
    // the image list travels as its Tag and is asked back from the document.
    bool StreamsILTag() const;
    // Whether "ILTag" is written (a linked stream and an image list).
    bool StoresILTag() const { return StreamsILTag() && ImageList != nullptr; }
    int GetILTag() const;
    void ReadILTag(int Tag);
    // The published image list is stored only in form streams.
    bool StoresImageList() const { return !StreamsILTag(); }

private:
    friend class TRPListLevelCollection;
    TRPListInfo* FOwner = nullptr;
    std::unique_ptr<TRPMarkerFont> FFont;
    std::unique_ptr<TPicture> FPicture;
};

// The levels of a list style.
class TRPListLevelCollection {
public:
    explicit TRPListLevelCollection(TRPListInfo* Owner = nullptr) : FOwner(Owner) {}
    TRPListLevelCollection(const TRPListLevelCollection&) = delete;
    TRPListLevelCollection& operator=(const TRPListLevelCollection&) = delete;

    TRPListInfo* GetOwner() const { return FOwner; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // The level at Index, nullptr outside the collection.
    TRPListLevel* Items(int Index) const;
    TRPListLevel* operator[](int Index) const { return Items(Index); }
    TRPListLevel* Add();
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    void Assign(const TRPListLevelCollection& Source);
    int IndexOf(const TRPListLevel* Level) const;

private:
    TRPListInfo* FOwner;
    std::vector<std::unique_ptr<TRPListLevel>> FItems;
};

// A list style.
class TRPListInfo : public TCustomRPInfo {
public:
    TRPListInfo();

    TRPListLevelCollection Levels{this};
    bool OneLevelPreview = false;

    // The list identifier; a random non-zero value is given on first read.
    int32_t GetLstID() const;
    void SetLstID(int32_t Value) { FLstID = Value; }

    void Assign(const TCustomRPInfo& Source) override;
    bool HasNumbering() const;
    bool HasTextNumbering() const;
    // IgnoreReferences here means: ignore the list identifier.
    bool EqualsBasic(const TCustomRPInfo& Other, bool IgnoreID) const override;
    bool EqualsWithMapping(TCustomRPInfo& Other, const TRPIntegerList& Mapping) const override;
    int SimilarityScore(const TCustomRPInfo& Other) const override;

private:
    mutable int32_t FLstID = 0;
};

// The list styles.
class TRPListInfos : public TCustomRPInfos {
public:
    explicit TRPListInfos(TRPStyle* Owner = nullptr, TRPInfoFactory Factory = nullptr);
    ~TRPListInfos() override;

    // The document whose stream is being read or written (none otherwise).
    TCustomRPData* RPData = nullptr;

    TRPListInfo* Add();
    // The list style at Index, nullptr outside the collection.
    TRPListInfo* Items(int Index) const;
    TRPListInfo* operator[](int Index) const { return Items(Index); }
    // Every level that shows images of ImageList forgets it.
    void RemoveImageList(const TCustomImageList* ImageList);

protected:
    bool KeepsTakenTargets() const override { return true; }
    bool MarksTaken(const TCustomRPInfo& Src) const override;
};

// The level Level of list ListNo, a Level past the last clamped to the last;
// nullptr for a list that does not exist, a list without levels or a negative Level.
TRPListLevel* GetListLevelInfo(const TRPStyle* RPStyle, int ListNo, int Level);
