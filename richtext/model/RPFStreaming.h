#pragma once
// The bodies that RPF keeps of style collections and inserted controls. They
// are this program's own property streams (all integers little-endian):
//
//   collection := byte 14, int32 count, count x object
//   object     := int32 n, n x property
//   property   := uint8 name length, name, uint8 kind, value
//     kind 1  int32
//     kind 2  int32 length, bytes            (8-bit text)
//     kind 3  int32 count, count x UTF-16LE  (wide text)
//     kind 4  int32 count, count x object    (a nested collection)
//     kind 5  int32 length, class name, int32 length, bytes   (a picture)
//
// A control body is one object. Readers skip properties they do not know (by
// their kind) and refuse data that ends early or nests too deep.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TCustomRPData;
class TFontInfos;
class TParaInfos;
class TRPListInfos;
class TControl;
class TWinControl;

// The leading byte of a collection.
constexpr uint8_t rpfCollectionMark = 14;

struct TRPFObject;

struct TRPFProperty {
    std::string Name;
    uint8_t Kind = 0;
    int32_t Int = 0;
    std::string Text;      // kinds 2 and 5 (the bytes)
    std::u16string Wide;   // kind 3
    std::string ClassName; // kind 5
    std::vector<TRPFObject> Items; // kind 4
};

struct TRPFObject {
    std::vector<TRPFProperty> Props;
    const TRPFProperty* Find(std::string_view Name) const;
};

// Writes one object property by property.
class TRPFObjectWriter {
public:
    void Int(std::string_view Name, int32_t Value);
    void Text(std::string_view Name, std::string_view Value);
    void Wide(std::string_view Name, std::u16string_view Value);
    void Picture(std::string_view Name, std::string_view ClassName, std::string_view Bytes);
    void Objects(std::string_view Name, const std::vector<std::string>& Objects);
    // The object: its property count and properties.
    std::string Data() const;

private:
    void Head(std::string_view Name, uint8_t Kind);
    std::string FProps;
    int32_t FCount = 0;
};

// A collection of objects written with TRPFObjectWriter::Data.
std::string RPFCollectionData(const std::vector<std::string>& Objects);
// False for data that does not start with the collection byte or is damaged.
bool RPFParseCollection(std::string_view Data, std::vector<TRPFObject>& Objects);
bool RPFParseObject(std::string_view Data, TRPFObject& Object);

// Style collections. RPData (may be null) links the list styles to the
// document while they are streamed, so that list levels name their image lists
// by tag. Reading fills Infos (emptied first) and answers False for damaged data.
std::string RPFSaveTextStyles(const TFontInfos& Infos);
std::string RPFSaveParaStyles(const TParaInfos& Infos);
std::string RPFSaveListStyles(TRPListInfos& Infos, TCustomRPData* RPData);
bool RPFLoadTextStyles(std::string_view Data, TFontInfos& Infos);
bool RPFLoadParaStyles(std::string_view Data, TParaInfos& Infos);
bool RPFLoadListStyles(std::string_view Data, TRPListInfos& Infos, TCustomRPData* RPData);

// Control bodies. Only classes of a fixed list are made from a stream; any
// other class name gives no control.
bool RPFControlClassIsKnown(std::string_view ClassName);
// The body as hex text, or as a binary block (int32 byte count, then the body).
std::string RPFSaveControlToHex(const TControl& Control);
void RPFSaveControlBinary(std::string& Stream, const TControl& Control);
// A new control of the class with the properties of the body (the bytes of a
// block whose count has been read); null for an unknown class or a damaged
// body. Parent (may be null) takes the control.
std::unique_ptr<TControl> RPFLoadControlFromBinary(std::string_view Data, std::string_view ClassName,
                                                   TWinControl* Parent);
// The same from hex text; False for bad hex (Control then stays null).
bool RPFLoadControlFromHex(std::string_view Hex, std::string_view ClassName, TWinControl* Parent,
                           std::unique_ptr<TControl>& Control);
