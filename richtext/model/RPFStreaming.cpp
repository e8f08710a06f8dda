#include "richtext/model/RPFStreaming.h"

#include <algorithm>
#include <functional>

#include "platform/ControlsStd.h"
#include "platform/Graphics.h"
#include "platform/Pictures.h"
#include "richtext/model/RPFTokens.h"
#include "richtext/model/RPListStyles.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPUnicode.h"

namespace {

enum : uint8_t { pkInt = 1, pkText = 2, pkWide = 3, pkObjects = 4, pkPicture = 5 };

// Collections nest once (list styles hold levels); more is damaged data.
constexpr int MaxDepth = 3;

class TByteCursor {
public:
    explicit TByteCursor(std::string_view Data) : D(Data) {}
    bool Int(int32_t& v) {
        if (D.size() - P < 4) return false;
        v = RPFReadInt32(D, P);
        P += 4;
        return true;
    }
    bool Byte(uint8_t& b) {
        if (P >= D.size()) return false;
        b = static_cast<uint8_t>(D[P++]);
        return true;
    }
    bool Bytes(size_t n, std::string& out) {
        if (D.size() - P < n) return false;
        out.assign(D.substr(P, n));
        P += n;
        return true;
    }
    // A count of elements of at least Size bytes each that the data can hold.
    bool Count(int32_t& n, size_t Size) {
        return Int(n) && n >= 0 && static_cast<uint64_t>(n) * Size <= D.size() - P;
    }
    bool AtEnd() const { return P == D.size(); }

    bool Object(TRPFObject& o, int Depth);
    bool Objects(std::vector<TRPFObject>& v, int Depth);

private:
    std::string_view D;
    size_t P = 0;
};

bool TByteCursor::Objects(std::vector<TRPFObject>& v, int Depth) {
    int32_t n = 0;
    if (Depth > MaxDepth || !Count(n, 4)) return false;
    v.resize(static_cast<size_t>(n));
    for (TRPFObject& o : v)
        if (!Object(o, Depth)) return false;
    return true;
}

bool TByteCursor::Object(TRPFObject& o, int Depth) {
    int32_t n = 0;
    if (!Count(n, 2)) return false;
    o.Props.resize(static_cast<size_t>(n));
    for (TRPFProperty& p : o.Props) {
        uint8_t len = 0;
        int32_t size = 0;
        if (!Byte(len) || !Bytes(len, p.Name) || !Byte(p.Kind)) return false;
        switch (p.Kind) {
        case pkInt:
            if (!Int(p.Int)) return false;
            break;
        case pkText:
            if (!Count(size, 1) || !Bytes(static_cast<size_t>(size), p.Text)) return false;
            break;
        case pkWide: {
            std::string bytes;
            if (!Count(size, 2) || !Bytes(static_cast<size_t>(size) * 2, bytes)) return false;
            p.Wide = ItemTextToWideStr(bytes);
            break;
        }
        case pkObjects:
            if (!Objects(p.Items, Depth + 1)) return false;
            break;
        case pkPicture:
            if (!Count(size, 1) || !Bytes(static_cast<size_t>(size), p.ClassName)) return false;
            if (!Count(size, 1) || !Bytes(static_cast<size_t>(size), p.Text)) return false;
            break;
        default:
            return false; // an unknown kind cannot be skipped
        }
    }
    return true;
}

// ---- property tables: one getter and setter per integer property

template <class T> struct TIntProp {
    const char* Name;
    std::function<int32_t(const T&)> Get;
    std::function<void(T&, int32_t)> Set;
};

// An enumeration value is taken only when it lies in 0 .. Max.
template <class E> E InRange(int32_t v, int Max, E Old) {
    return v >= 0 && v <= Max ? static_cast<E>(v) : Old;
}

#define RP_INT(T, Field) \
    TIntProp<T> { #Field, [](const T& s) { return static_cast<int32_t>(s.Field); }, [](T& s, int32_t v) { s.Field = v; } }
#define RP_BOOL(T, Field) \
    TIntProp<T> { #Field, [](const T& s) { return s.Field ? 1 : 0; }, [](T& s, int32_t v) { s.Field = v != 0; } }
#define RP_BYTE(T, Field, Type) \
    TIntProp<T> { #Field, [](const T& s) { return static_cast<int32_t>(s.Field); }, \
                  [](T& s, int32_t v) { s.Field = static_cast<Type>(v); } }
#define RP_ENUM(T, Field, Type, Max) \
    TIntProp<T> { #Field, [](const T& s) { return static_cast<int32_t>(s.Field); }, \
                  [](T& s, int32_t v) { s.Field = InRange<Type>(v, Max, s.Field); } }
#define RP_SUB(T, Name, Expr, Type) \
    TIntProp<T> { Name, [](const T& s) { return static_cast<int32_t>(s.Expr); }, \
                  [](T& s, int32_t v) { s.Expr = static_cast<Type>(v); } }

const std::vector<TIntProp<TCustomRPInfo>>& BaseProps() {
    static const std::vector<TIntProp<TCustomRPInfo>> p = {RP_INT(TCustomRPInfo, BaseStyleNo),
                                                          RP_BOOL(TCustomRPInfo, Standard)};
    return p;
}

const std::vector<TIntProp<TFontInfo>>& FontProps() {
    static const std::vector<TIntProp<TFontInfo>> p = {
        RP_ENUM(TFontInfo, BiDiMode, TRPBiDiMode, 2),
        RP_BOOL(TFontInfo, Jump),
        RP_BYTE(TFontInfo, JumpCursor, int16_t),
        RP_INT(TFontInfo, Size),
        RP_INT(TFontInfo, Color),
        RP_INT(TFontInfo, BackColor),
        RP_INT(TFontInfo, HoverColor),
        RP_INT(TFontInfo, HoverBackColor),
        RP_BYTE(TFontInfo, Style, TRPFontStyleSet),
        RP_BYTE(TFontInfo, StyleEx, TRPFontStyles),
        RP_INT(TFontInfo, VShift),
        RP_INT(TFontInfo, NextStyleNo),
        RP_BYTE(TFontInfo, Charset, uint8_t),
        RP_BOOL(TFontInfo, Unicode),
        RP_BYTE(TFontInfo, Protection, TRPProtectOptions),
        RP_BYTE(TFontInfo, Options, TRPTextOptions),
        RP_INT(TFontInfo, CharScale),
        RP_INT(TFontInfo, CharSpacing),
    };
    return p;
}

const std::vector<TIntProp<TParaInfo>>& ParaProps() {
    static const std::vector<TIntProp<TParaInfo>> p = {
        RP_INT(TParaInfo, FirstIndent),
        RP_INT(TParaInfo, LeftIndent),
        RP_INT(TParaInfo, RightIndent),
        RP_INT(TParaInfo, SpaceBefore),
        RP_INT(TParaInfo, SpaceAfter),
        RP_INT(TParaInfo, LineSpacing),
        RP_ENUM(TParaInfo, LineSpacingType, TRPLineSpacingType, 1),
        RP_ENUM(TParaInfo, Alignment, TRPAlignment, 3),
        RP_SUB(TParaInfo, "Border.Color", Border.Color, TColor),
        TIntProp<TParaInfo>{"Border.Style", [](const TParaInfo& s) { return static_cast<int32_t>(s.Border.Style); },
                            [](TParaInfo& s, int32_t v) { s.Border.Style = InRange(v, 5, s.Border.Style); }},
        RP_SUB(TParaInfo, "Border.Width", Border.Width, int),
        RP_SUB(TParaInfo, "Border.InternalWidth", Border.InternalWidth, int),
        RP_SUB(TParaInfo, "Border.VisibleBorders.Left", Border.VisibleBorders.Left, bool),
        RP_SUB(TParaInfo, "Border.VisibleBorders.Top", Border.VisibleBorders.Top, bool),
        RP_SUB(TParaInfo, "Border.VisibleBorders.Right", Border.VisibleBorders.Right, bool),
        RP_SUB(TParaInfo, "Border.VisibleBorders.Bottom", Border.VisibleBorders.Bottom, bool),
        RP_SUB(TParaInfo, "Border.BorderOffsets.Left", Border.BorderOffsets.Left, int),
        RP_SUB(TParaInfo, "Border.BorderOffsets.Top", Border.BorderOffsets.Top, int),
        RP_SUB(TParaInfo, "Border.BorderOffsets.Right", Border.BorderOffsets.Right, int),
        RP_SUB(TParaInfo, "Border.BorderOffsets.Bottom", Border.BorderOffsets.Bottom, int),
        RP_INT(TParaInfo, NextParaNo),
        RP_SUB(TParaInfo, "Background.Color", Background.Color, TColor),
        RP_SUB(TParaInfo, "Background.BorderOffsets.Left", Background.BorderOffsets.Left, int),
        RP_SUB(TParaInfo, "Background.BorderOffsets.Top", Background.BorderOffsets.Top, int),
        RP_SUB(TParaInfo, "Background.BorderOffsets.Right", Background.BorderOffsets.Right, int),
        RP_SUB(TParaInfo, "Background.BorderOffsets.Bottom", Background.BorderOffsets.Bottom, int),
        RP_BYTE(TParaInfo, Options, TRPParaOptions),
        RP_ENUM(TParaInfo, BiDiMode, TRPBiDiMode, 2),
        RP_INT(TParaInfo, DefStyleNo),
    };
    return p;
}

const std::vector<TIntProp<TRPListLevel>>& LevelProps() {
    static const std::vector<TIntProp<TRPListLevel>> p = {
        RP_ENUM(TRPListLevel, ListType, TRPListType, 9),
        RP_INT(TRPListLevel, StartFrom),
        RP_INT(TRPListLevel, ImageIndex),
        RP_INT(TRPListLevel, LeftIndent),
        RP_INT(TRPListLevel, FirstIndent),
        RP_INT(TRPListLevel, MarkerIndent),
        RP_ENUM(TRPListLevel, MarkerAlignment, TRPMarkerAlignment, 2),
        RP_BYTE(TRPListLevel, Options, TRPListLevelOptions),
    };
    return p;
}

const std::vector<TIntProp<TRPMarkerFont>>& MarkerFontProps() {
    static const std::vector<TIntProp<TRPMarkerFont>> p = {
        RP_INT(TRPMarkerFont, Size),
        RP_INT(TRPMarkerFont, Color),
        RP_BYTE(TRPMarkerFont, Charset, uint8_t),
        RP_BYTE(TRPMarkerFont, Style, TRPFontStyleSet),
    };
    return p;
}

template <class T> void WriteInts(TRPFObjectWriter& w, const std::vector<TIntProp<T>>& Props, const T& s,
                                  const char* Prefix = "") {
    for (const auto& p : Props)
        w.Int(std::string(Prefix) + p.Name, p.Get(s));
}

template <class T> bool ReadInt(const std::vector<TIntProp<T>>& Props, const TRPFProperty& p, T& s,
                                const char* Prefix = "") {
    if (p.Kind != pkInt) return false;
    for (const auto& d : Props)
        if (p.Name == std::string(Prefix) + d.Name) {
            d.Set(s, p.Int);
            return true;
        }
    return false;
}

void WriteBase(TRPFObjectWriter& w, const TCustomRPInfo& s) {
    w.Text("StyleName", s.StyleName);
    WriteInts(w, BaseProps(), s);
}

bool ReadBase(const TRPFProperty& p, TCustomRPInfo& s) {
    if (p.Name == "StyleName" && p.Kind == pkText) {
        s.StyleName = p.Text;
        return true;
    }
    return ReadInt(BaseProps(), p, s);
}

std::string LevelData(TRPListLevel& l) {
    TRPFObjectWriter w;
    WriteInts(w, LevelProps(), l);
    if (l.StoresILTag()) w.Int("ILTag", l.GetILTag());
    if (l.StoresFormatStringCode()) w.Text("FormatStringCode", l.GetFormatStringCode());
    if (l.StoresFormatStringWCode()) w.Text("FormatStringWCode", l.GetFormatStringWCode());
    if (l.HasPicture()) {
        const TGraphic* g = l.PictureIfAny()->Graphic();
        w.Picture("Picture", g->ClassName().toStdString(), RPFGraphicBytes(*g));
    }
    if (const TRPMarkerFont* f = l.FontIfAny()) {
        w.Text("Font.Name", f->Name);
        WriteInts(w, MarkerFontProps(), *f, "Font.");
    }
    return w.Data();
}

bool LoadLevel(const TRPFObject& o, TRPListLevel& l) {
    for (const TRPFProperty& p : o.Props) {
        if (ReadInt(LevelProps(), p, l)) continue;
        if (p.Name == "ILTag" && p.Kind == pkInt) {
            if (l.StreamsILTag()) l.ReadILTag(p.Int);
        } else if (p.Name == "FormatStringCode" && p.Kind == pkText) {
            if (!l.SetFormatStringCode(p.Text)) return false;
        } else if (p.Name == "FormatStringWCode" && p.Kind == pkText) {
            if (!l.SetFormatStringWCode(p.Text)) return false;
        } else if (p.Name == "Picture" && p.Kind == pkPicture) {
            std::unique_ptr<TGraphic> g = TPicture::CreateByClassName(QString::fromStdString(p.ClassName));
            if (g && g->LoadFromStream(QByteArray(p.Text.data(), static_cast<qsizetype>(p.Text.size()))))
                l.Picture()->SetGraphic(std::move(g));
        } else if (p.Name == "Font.Name" && p.Kind == pkText) {
            l.Font()->Name = p.Text;
        } else if (p.Name.rfind("Font.", 0) == 0) {
            ReadInt(MarkerFontProps(), p, *l.Font(), "Font.");
        }
    }
    l.KeepInReadLimits();
    return true;
}

template <class TInfos, class Fn> std::string SaveCollection(const TInfos& Infos, Fn Save) {
    std::vector<std::string> objects;
    for (int i = 0; i < Infos.Count(); ++i)
        objects.push_back(Save(*Infos.GetItem(i)));
    return RPFCollectionData(objects);
}

// ---- controls

struct TControlClass {
    const char* Name;
    std::function<std::unique_ptr<TControl>()> Create;
};

// The controls a document may carry and get back from a stream.
const std::vector<TControlClass>& ControlClasses() {
    static const std::vector<TControlClass> c = {
        {"TButton", [] { return std::make_unique<TButton>(nullptr); }},
        {"TCheckBox", [] { return std::make_unique<TCheckBox>(nullptr); }},
        {"TEdit", [] { return std::make_unique<TEdit>(nullptr); }},
        {"TLabel", [] { return std::make_unique<TLabel>(nullptr); }},
        {"TPanel", [] { return std::make_unique<TPanel>(nullptr); }},
    };
    return c;
}

std::u16string Utf16(const QString& s) {
    return s.toStdU16String();
}

} // namespace

// ---------------------------------------------------------------------------

const TRPFProperty* TRPFObject::Find(std::string_view Name) const {
    for (const TRPFProperty& p : Props)
        if (p.Name == Name) return &p;
    return nullptr;
}

void TRPFObjectWriter::Head(std::string_view Name, uint8_t Kind) {
    const size_t n = std::min<size_t>(Name.size(), 255);
    FProps += static_cast<char>(n);
    FProps.append(Name.substr(0, n));
    FProps += static_cast<char>(Kind);
    ++FCount;
}

void TRPFObjectWriter::Int(std::string_view Name, int32_t Value) {
    Head(Name, pkInt);
    RPFWriteInt32(FProps, Value);
}

void TRPFObjectWriter::Text(std::string_view Name, std::string_view Value) {
    Head(Name, pkText);
    RPFWriteInt32(FProps, static_cast<int32_t>(Value.size()));
    FProps.append(Value);
}

void TRPFObjectWriter::Wide(std::string_view Name, std::u16string_view Value) {
    Head(Name, pkWide);
    RPFWriteInt32(FProps, static_cast<int32_t>(Value.size()));
    FProps += WideStrToItemText(Value);
}

void TRPFObjectWriter::Picture(std::string_view Name, std::string_view ClassName, std::string_view Bytes) {
    Head(Name, pkPicture);
    RPFWriteInt32(FProps, static_cast<int32_t>(ClassName.size()));
    FProps.append(ClassName);
    RPFWriteInt32(FProps, static_cast<int32_t>(Bytes.size()));
    FProps.append(Bytes);
}

void TRPFObjectWriter::Objects(std::string_view Name, const std::vector<std::string>& Objects) {
    Head(Name, pkObjects);
    RPFWriteInt32(FProps, static_cast<int32_t>(Objects.size()));
    for (const std::string& o : Objects)
        FProps += o;
}

std::string TRPFObjectWriter::Data() const {
    std::string s;
    RPFWriteInt32(s, FCount);
    return s + FProps;
}

std::string RPFCollectionData(const std::vector<std::string>& Objects) {
    std::string s(1, static_cast<char>(rpfCollectionMark));
    RPFWriteInt32(s, static_cast<int32_t>(Objects.size()));
    for (const std::string& o : Objects)
        s += o;
    return s;
}

bool RPFParseCollection(std::string_view Data, std::vector<TRPFObject>& Objects) {
    Objects.clear();
    if (Data.empty() || static_cast<uint8_t>(Data[0]) != rpfCollectionMark) return false;
    TByteCursor c(Data.substr(1));
    if (!c.Objects(Objects, 1) || !c.AtEnd()) {
        Objects.clear();
        return false;
    }
    return true;
}

bool RPFParseObject(std::string_view Data, TRPFObject& Object) {
    Object.Props.clear();
    TByteCursor c(Data);
    if (!c.Object(Object, 1) || !c.AtEnd()) {
        Object.Props.clear();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Style collections

std::string RPFSaveTextStyles(const TFontInfos& Infos) {
    return SaveCollection(Infos, [](const TFontInfo& s) {
        TRPFObjectWriter w;
        WriteBase(w, s);
        w.Text("FontName", s.FontName);
        WriteInts(w, FontProps(), s);
        return w.Data();
    });
}

std::string RPFSaveParaStyles(const TParaInfos& Infos) {
    return SaveCollection(Infos, [](const TParaInfo& s) {
        TRPFObjectWriter w;
        WriteBase(w, s);
        WriteInts(w, ParaProps(), s);
        return w.Data();
    });
}

std::string RPFSaveListStyles(TRPListInfos& Infos, TCustomRPData* RPData) {
    TCustomRPData* old = Infos.RPData;
    Infos.RPData = RPData;
    std::vector<std::string> objects;
    for (int i = 0; i < Infos.Count(); ++i) {
        TRPListInfo& li = *Infos.Items(i);
        TRPFObjectWriter w;
        WriteBase(w, li);
        std::vector<std::string> levels;
        for (int k = 0; k < li.Levels.Count(); ++k)
            levels.push_back(LevelData(*li.Levels[k]));
        w.Objects("Levels", levels);
        w.Int("OneLevelPreview", li.OneLevelPreview ? 1 : 0);
        w.Int("LstID", li.GetLstID());
        objects.push_back(w.Data());
    }
    Infos.RPData = old;
    return RPFCollectionData(objects);
}

bool RPFLoadTextStyles(std::string_view Data, TFontInfos& Infos) {
    std::vector<TRPFObject> objects;
    Infos.Clear();
    if (!RPFParseCollection(Data, objects)) return false;
    for (const TRPFObject& o : objects) {
        TFontInfo& s = *Infos.Add();
        for (const TRPFProperty& p : o.Props) {
            if (ReadBase(p, s) || ReadInt(FontProps(), p, s)) continue;
            if (p.Name == "FontName" && p.Kind == pkText)
                s.FontName = p.Text;
            else if (p.Name == "SingleSymbols" && p.Kind == pkInt)
                s.ReadSingleSymbols(p.Int != 0);
        }
        s.KeepInReadLimits();
    }
    return true;
}

bool RPFLoadParaStyles(std::string_view Data, TParaInfos& Infos) {
    std::vector<TRPFObject> objects;
    Infos.Clear();
    if (!RPFParseCollection(Data, objects)) return false;
    for (const TRPFObject& o : objects) {
        TParaInfo& s = *Infos.Add();
        for (const TRPFProperty& p : o.Props)
            if (!ReadBase(p, s)) ReadInt(ParaProps(), p, s);
        s.KeepInReadLimits();
    }
    return true;
}

bool RPFLoadListStyles(std::string_view Data, TRPListInfos& Infos, TCustomRPData* RPData) {
    std::vector<TRPFObject> objects;
    Infos.Clear();
    if (!RPFParseCollection(Data, objects)) return false;
    TCustomRPData* old = Infos.RPData;
    Infos.RPData = RPData;
    bool ok = true;
    for (const TRPFObject& o : objects) {
        TRPListInfo& li = *Infos.Add();
        for (const TRPFProperty& p : o.Props) {
            if (ReadBase(p, li)) continue;
            if (p.Name == "OneLevelPreview" && p.Kind == pkInt)
                li.OneLevelPreview = p.Int != 0;
            else if (p.Name == "LstID" && p.Kind == pkInt)
                li.SetLstID(p.Int);
            else if (p.Name == "Levels" && p.Kind == pkObjects)
                for (const TRPFObject& lo : p.Items)
                    ok = LoadLevel(lo, *li.Levels.Add()) && ok;
        }
    }
    Infos.RPData = old;
    if (!ok) Infos.Clear();
    return ok;
}

// ---------------------------------------------------------------------------
// Controls

bool RPFControlClassIsKnown(std::string_view ClassName) {
    for (const TControlClass& c : ControlClasses())
        if (ClassName == c.Name) return true;
    return false;
}

namespace {

std::string ControlBody(const TControl& Control) {
    TRPFObjectWriter w;
    w.Wide("Name", Utf16(Control.Name()));
    w.Int("Left", Control.Left());
    w.Int("Top", Control.Top());
    w.Int("Width", Control.Width());
    w.Int("Height", Control.Height());
    w.Int("Tag", Control.Tag());
    w.Int("Enabled", Control.Enabled() ? 1 : 0);
    w.Wide("Caption", Utf16(Control.Text()));
    w.Wide("Hint", Utf16(Control.Hint()));
    w.Int("Color", static_cast<int32_t>(Control.Color()));
    w.Int("ParentColor", Control.ParentColor() ? 1 : 0);
    w.Int("ParentFont", Control.ParentFont() ? 1 : 0);
    const TFont& f = *Control.Font();
    w.Wide("Font.Name", Utf16(f.Name()));
    w.Int("Font.Height", f.Height());
    w.Int("Font.Color", static_cast<int32_t>(f.Color()));
    w.Int("Font.Style", f.Style());
    w.Int("Font.Charset", f.Charset());
    if (const auto* cb = dynamic_cast<const TCheckBox*>(&Control)) w.Int("Checked", cb->Checked() ? 1 : 0);
    return w.Data();
}

} // namespace

std::string RPFSaveControlToHex(const TControl& Control) {
    return RPFStringToHex(ControlBody(Control));
}

void RPFSaveControlBinary(std::string& Stream, const TControl& Control) {
    const size_t at = Stream.size();
    RPFWriteInt32(Stream, 0);
    Stream += ControlBody(Control);
    std::string count;
    RPFWriteInt32(count, static_cast<int32_t>(Stream.size() - at - 4));
    Stream.replace(at, 4, count);
}

bool RPFLoadControlFromHex(std::string_view Hex, std::string_view ClassName, TWinControl* Parent,
                           std::unique_ptr<TControl>& Control) {
    Control.reset();
    std::string data;
    if (!RPFHexToStream(Hex, data)) return false;
    Control = RPFLoadControlFromBinary(data, ClassName, Parent);
    return true;
}

std::unique_ptr<TControl> RPFLoadControlFromBinary(std::string_view Data, std::string_view ClassName,
                                                   TWinControl* Parent) {
    TRPFObject o;
    if (!RPFParseObject(Data, o)) return nullptr;
    std::unique_ptr<TControl> c;
    for (const TControlClass& k : ControlClasses())
        if (ClassName == k.Name) c = k.Create();
    if (!c) return nullptr;
    c->Hide();
    if (Parent) c->SetParent(Parent);
    auto num = [&](const char* n, int32_t def) {
        const TRPFProperty* p = o.Find(n);
        return p && p->Kind == pkInt ? p->Int : def;
    };
    auto wide = [&](const char* n) {
        const TRPFProperty* p = o.Find(n);
        return p && p->Kind == pkWide ? QString::fromStdU16String(p->Wide) : QString();
    };
    c->SetName(wide("Name"));
    // A control is laid out as a picture is: its box stays in a picture's range.
    using L = TRPReadLimits;
    const auto place = [&](const char* n) { return std::clamp(num(n, 0), -L::MaxLength, L::MaxLength); };
    c->SetBounds(place("Left"), place("Top"), L::Length(num("Width", c->Width())),
                 L::Length(num("Height", c->Height())));
    c->SetTag(num("Tag", 0));
    c->SetEnabled(num("Enabled", 1) != 0);
    c->SetText(wide("Caption"));
    c->SetHint(wide("Hint"));
    // Colour and font taken from the parent follow the new parent.
    if (num("ParentColor", 0) != 0)
        c->SetParentColor(true);
    else
        c->SetColor(static_cast<TColor>(num("Color", static_cast<int32_t>(c->Color()))));
    if (num("ParentFont", 0) != 0) {
        c->SetParentFont(true);
    } else {
        TFont f = *c->Font();
        if (o.Find("Font.Name")) f.SetName(wide("Font.Name"));
        f.SetHeight(std::clamp(num("Font.Height", f.Height()), -L::MaxFontHeight, L::MaxFontHeight));
        f.SetColor(static_cast<TColor>(num("Font.Color", static_cast<int32_t>(f.Color()))));
        f.SetStyle(static_cast<TFontStyles>(num("Font.Style", f.Style())));
        f.SetCharset(static_cast<TFontCharset>(num("Font.Charset", f.Charset())));
        c->SetFont(f);
    }
    if (auto* cb = dynamic_cast<TCheckBox*>(c.get())) cb->SetChecked(num("Checked", 0) != 0);
    return c;
}
