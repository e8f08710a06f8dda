#include "richtext/rtf/RPRTFReader.h"

#include "platform/CodePage.h"
#include "platform/Pictures.h"
#include "platform/Runtime.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/rtf/RPRTFKeywords.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

using namespace RPRTFKw;

namespace {

TRPRTFGraphicMaker& GraphicMaker() {
    static TRPRTFGraphicMaker maker;
    return maker;
}
TRPRTFPictureFileLoader& PictureFileLoader() {
    static TRPRTFPictureFileLoader loader;
    return loader;
}

constexpr size_t kChunk = 65536;
constexpr size_t kMaxFieldInst = 32768;
constexpr size_t kMaxShortText = 1024;
constexpr int64_t kMaxPictureFile = 32 * 1024 * 1024;

int HexValue(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsAlpha(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool EndsWithNoCase(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && Upper(s.substr(s.size() - suffix.size())) == Upper(suffix);
}

void AppendCapped(std::string& s, char c, size_t cap) {
    if (s.size() < cap) s.push_back(c);
}

// Kept as an instruction without its leading backslash.
std::string CleanInstruction(const std::string& inst) {
    std::string s = Trim(inst);
    if (!s.empty() && s[0] == '\\') s.erase(0, 1);
    return s;
}

// Inside a quoted argument \" stands for a quote and \\ for a backslash.
bool IsEscape(const std::string& s, size_t i) {
    return s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '"' || s[i + 1] == '\\');
}

std::string Unescape(const std::string& word) {
    std::string out;
    for (size_t k = 0; k < word.size(); ++k) {
        if (IsEscape(word, k)) ++k;
        out.push_back(word[k]);
    }
    return out;
}

} // namespace

void RPRTFSetGraphicMaker(TRPRTFGraphicMaker maker) {
    GraphicMaker() = std::move(maker);
}
void RPRTFSetPictureFileLoader(TRPRTFPictureFileLoader loader) {
    PictureFileLoader() = std::move(loader);
}

namespace RPRTF {

namespace {

// The end of the field name at the start of S.
size_t FieldNameEnd(const std::string& s) {
    return std::min(s.find_first_of(" \""), s.size());
}

// The first word after the field name that is not a switch, as it stands
// (quotes removed, escapes kept); Begin and End become the indexes in S where
// it begins (its quote) and after it, both the end of S when there is none.
std::string FirstArgument(const std::string& s, size_t& Begin, size_t& End) {
    size_t i = FieldNameEnd(s);
    std::string word;
    Begin = s.size();
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n'))
            ++i;
        if (i >= s.size()) break;
        word.clear();
        if (s[i] != '\\') Begin = i;
        if (s[i] == '"') {
            ++i;
            while (i < s.size()) {
                if (s[i] == '"' && (i + 1 >= s.size() || s[i + 1] == ' ')) {
                    ++i;
                    break;
                }
                if (IsEscape(s, i)) word.push_back(s[i++]);
                word.push_back(s[i++]);
            }
            break;
        }
        const bool isSwitch = s[i] == '\\';
        while (i < s.size() && s[i] != ' ')
            word.push_back(s[i++]);
        if (!isSwitch) break;
        word.clear();
    }
    End = i;
    return word;
}

} // namespace

std::string FieldArgument(const std::string& instruction) {
    size_t begin = 0, end = 0;
    return Unescape(FirstArgument(CleanInstruction(instruction), begin, end));
}

std::string FieldRest(const std::string& instruction) {
    const std::string s = CleanInstruction(instruction);
    size_t begin = 0, end = 0;
    FirstArgument(s, begin, end);
    // Switches passed over before the word are its own (HYPERLINK \l "mark"):
    // they stay, ahead of those after it.
    const size_t name = FieldNameEnd(s);
    const std::string before = Trim(s.substr(name, std::max(begin, name) - name));
    const std::string after = Trim(s.substr(std::min(end, s.size())));
    return before.empty() || after.empty() ? before + after : before + " " + after;
}

std::string FieldHint(const std::string& instruction) {
    const std::string s = CleanInstruction(instruction);
    const size_t start = Upper(s).find("HYPERLINK");
    if (start == std::string::npos) return {};
    bool quoted = false;
    for (size_t i = start; i < s.size(); ++i) {
        if (quoted && IsEscape(s, i)) {
            ++i;
            continue;
        }
        if (s[i] == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted || s[i] != '\\' || i + 2 >= s.size() || s[i + 1] != 'o' || s[i + 2] != ' ') continue;
        size_t j = i + 3;
        while (j < s.size() && s[j] == ' ')
            ++j;
        std::string hint;
        if (j < s.size() && s[j] == '"') {
            ++j;
            while (j < s.size() && s[j] != '"') {
                if (IsEscape(s, j)) hint.push_back(s[j++]);
                hint.push_back(s[j++]);
            }
        } else {
            while (j < s.size() && s[j] != ' ')
                hint.push_back(s[j++]);
        }
        return Unescape(hint);
    }
    return {};
}

bool IsSafePictureLocation(const QString& basePath, const std::string& fileName, QString* fullPath) {
    QString name = QString::fromLatin1(fileName.data(), static_cast<qsizetype>(fileName.size()));
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Only names relative to the base path: no root, UNC share, drive, URL or device.
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':')) ||
        name.contains(QChar(0)))
        return false;
    QString base = basePath;
    base.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (base.startsWith(QLatin1String("//"))) return false;
    // Up and down inside the base path is fine, leaving it is not.
    const QString clean = QDir::cleanPath(name);
    if (clean == QLatin1String("..") || clean.startsWith(QLatin1String("../"))) return false;
    const QString full = base + name;
    QFileInfo fi(full);
    if (!fi.exists() || !fi.isFile() || fi.size() > kMaxPictureFile) return false;
    if (fullPath) *fullPath = full;
    return true;
}

} // namespace RPRTF

TRPRTFReader::TRPRTFReader() : fState(std::make_unique<TRPRTFReaderState>()) {}
TRPRTFReader::~TRPRTFReader() = default;

uint8_t TRPRTFReader::ReadFromFile(const QString& FileName) {
    QFile f(FileName);
    if (!QFileInfo(FileName).isFile() || !f.open(QIODevice::ReadOnly)) return rtfCannotOpen;
    return ReadFromStream(f);
}

uint8_t TRPRTFReader::ReadFromStream(QIODevice& Stream) {
    fStream = &Stream;
    fBuf = nullptr;
    fBufLen = fBufPos = 0;
    fStreamDone = false;
    const uint8_t r = Run();
    fStream = nullptr;
    fChunk.clear();
    fChunk.shrink_to_fit();
    return r;
}

uint8_t TRPRTFReader::ReadFromBuffer(const char* Data, size_t Size) {
    fStream = nullptr;
    fBuf = Data;
    fBufLen = Data ? Size : 0;
    fBufPos = 0;
    fStreamDone = true;
    const uint8_t r = Run();
    fBuf = nullptr;
    fBufLen = fBufPos = 0;
    return r;
}

bool TRPRTFReader::FillBuffer() {
    if (fStreamDone || !fStream) return false;
    fChunk.resize(kChunk);
    const qint64 n = fStream->read(fChunk.data(), static_cast<qint64>(kChunk));
    if (n <= 0) {
        fStreamDone = true;
        return false;
    }
    fBuf = fChunk.data();
    fBufLen = static_cast<size_t>(n);
    fBufPos = 0;
    return true;
}

inline bool TRPRTFReader::ReadByte(int& c) {
    if (fPushBack >= 0) {
        c = fPushBack;
        fPushBack = -1;
        return true;
    }
    if (fBufPos >= fBufLen && !FillBuffer()) return false;
    c = static_cast<unsigned char>(fBuf[fBufPos++]);
    return true;
}

void TRPRTFReader::Reset() {
    fStyleSheet.clear();
    fFonts.clear();
    fColors.clear();
    fTrailingAutoColor = false;
    fLists.clear();
    fOverrides.clear();
    fStack.clear();
    fState = std::make_unique<TRPRTFReaderState>();
    fFieldInst.clear();
    fFieldPicture = false;
    fDefFontNumber = 0;
    fDefFontIndex = -1;
    fText.clear();
    fTextW.clear();
    fPushBack = -1;
    fPosition = rtfpNewPara;
    fPicture.reset();
    fObject.reset();
    fPN.reset();
    fCodePage = DefCodePage ? static_cast<int>(DefCodePage) : CodePage::CP_1252;
    fState->UC = 1;
    fSkipCount = 0;
    fDepth = 0;
    fTableLevel = 0;
    fBinCount = 0;
    fHexHigh = true;
    fHexValue = 0;
    fSkipDestIfUnknown = false;
    fShpPictInserted = false;
    fObjectInserted = false;
    fHiddenStarts = false;
    fPNSecLvl = 0;
    fPNTextForSection = false;
    fSectNumbering.reset();
    fShapes.clear();
    fPictureShapeKind = -1;
}

// A document opens with {\rtf and ends with the brace that closes it; anything
// else (a fragment of several groups, or text before the first group) is read
// to the end of the input, so that no group of it is dropped unnoticed.
bool TRPRTFReader::InputStartsDocument() {
    static constexpr char head[] = {'{', '\\', 'r', 't', 'f'};
    if (fBufPos >= fBufLen && !FillBuffer()) return true;
    size_t at = fBufPos;
    while (at < fBufLen && (fBuf[at] == '\r' || fBuf[at] == '\n'))
        ++at;
    const size_t n = std::min(sizeof head, fBufLen - at);
    return std::memcmp(fBuf + at, head, n) == 0;
}

uint8_t TRPRTFReader::Run() {
    Reset();
    uint8_t result = rtfOK;
    try {
        fWholeDocument = InputStartsDocument();
        result = MainLoop();
    } catch (...) {
        result = rtfException;
    }
    fStack.clear();
    fPicture.reset();
    fObject.reset();
    fPN.reset();
    fShapes.clear();
    return result;
}

uint8_t TRPRTFReader::MainLoop() {
    int c;
    uint8_t r;
    while (ReadByte(c)) {
        if (fState->InputMode == 1) {
            // Binary data goes through untouched, braces and backslashes included.
            RouteChar(static_cast<unsigned char>(c));
            if (--fBinCount <= 0) fState->InputMode = 0;
            continue;
        }
        switch (c) {
        case '{':
            fSkipCount = 0;
            if ((r = PushState()) != rtfOK) return r;
            break;
        case '}':
            fSkipCount = 0;
            if (fStack.empty()) {
                // A brace that closes nothing: what came before it stays, the reading fails.
                Finish();
                return rtfStackUnderflow;
            }
            if ((r = PopState()) != rtfOK) return r;
            if (fDepth == 0 && fWholeDocument) return Finish();
            break;
        case '\\':
            if ((r = ParseKeyword()) != rtfOK) {
                // The input ended right after the backslash: what was read
                // before it stays, as at any other end of the input.
                if (r == rtfEndOfFile) Finish();
                return r;
            }
            break;
        case '\r':
        case '\n':
        case 0: // raw NUL bytes are no characters anywhere, nor skipped ones
            break;
        default:
            if (fSkipCount > 0) {
                --fSkipCount;
            } else {
                if ((r = RouteChar(static_cast<unsigned char>(c))) != rtfOK) return r;
                if (fState->Dest == rdsNorm) AppendPlainRun();
            }
        }
    }
    return Finish();
}

// After a character of body text: the plain characters that follow it in the
// buffer join the text at once, as RouteChar would add them one by one (NUL
// bytes left out).
void TRPRTFReader::AppendPlainRun() {
    if (fPushBack >= 0 || fState->InputMode != 0) return;
    const char* p = fBuf + fBufPos;
    const char* end = fBuf + fBufLen;
    const char* stop = p;
    while (stop < end && *stop != '{' && *stop != '}' && *stop != '\\' && *stop != '\r' && *stop != '\n')
        ++stop;
    fBufPos = static_cast<size_t>(stop - fBuf);
    while (p < stop) {
        const char* nul = static_cast<const char*>(std::memchr(p, 0, static_cast<size_t>(stop - p)));
        const char* until = nul ? nul : stop;
        fText.append(p, static_cast<size_t>(until - p));
        p = nul ? nul + 1 : stop;
    }
}

uint8_t TRPRTFReader::Finish() {
    // Text read so far stays, even when the groups do not balance; so do the
    // pictures of a shape left open.
    if (fState->Dest != rdsNorm && (!fText.empty() || !fTextW.empty())) {
        // The input ended inside a group that holds no text (a picture cut
        // short, a skipped destination): the text read before that group
        // belongs to the innermost group of text around it and keeps its
        // properties. Nothing of the open group's content is text.
        for (auto it = fStack.rbegin(); it != fStack.rend(); ++it)
            if ((*it)->Dest == rdsNorm) {
                *fState = **it;
                break;
            }
    }
    while (!fShapes.empty()) {
        if (fShapes.back().InstDepth > 0) EndShapeInstructions();
        if (fShapes.size() == 1) break;
        fShapes.pop_back();
    }
    fShapes.clear();
    if (fState->Dest == rdsNorm) Flush(fkPlain);
    UpdateMarker();
    while (fTableLevel > 0) {
        --fTableLevel;
        TableEvent(rtfteTableEnd);
    }
    TrimTrailingColor();
    if (fDepth < 0) return rtfStackUnderflow;
    if (fDepth > 0) return rtfUnmatchedBrace;
    return rtfOK;
}

uint8_t TRPRTFReader::ParseKeyword() {
    int c;
    if (!ReadByte(c)) return rtfEndOfFile;
    char name[33];
    int len = 0;
    bool hasParam = false;
    int param = 0;
    if (!IsAlpha(c)) {
        // Escaped backslashes and braces and the symbols that stand for a
        // character (non-breaking space, optional and non-breaking hyphen)
        // are characters of the text, which a \u fallback may hold; other
        // control symbols are looked up at once, whatever the skip count.
        if (fSkipCount > 0 && (c == '\\' || c == '{' || c == '}' || c == '~' || c == '-' || c == '_')) {
            --fSkipCount;
            return rtfOK;
        }
        name[0] = static_cast<char>(c);
        return Dispatch(Find(std::string_view(name, 1)), false, 0);
    }
    bool tooLong = false;
    bool more;
    do {
        if (len < 32)
            name[len++] = static_cast<char>(c);
        else
            tooLong = true;
        more = ReadByte(c);
    } while (more && IsAlpha(c));
    if (more) {
        bool neg = false;
        if (c == '-') {
            neg = true;
            more = ReadByte(c);
        }
        if (more && c >= '0' && c <= '9') {
            int64_t v = 0;
            int digits = 0;
            while (more && c >= '0' && c <= '9') {
                // A number that does not fit is an error of the file, as a failed conversion.
                if (++digits > 10) return rtfException;
                v = v * 10 + (c - '0');
                more = ReadByte(c);
            }
            if (neg) v = -v;
            // Ten digits may still overflow; such values are taken as the nearest that fits.
            v = std::clamp<int64_t>(v, INT32_MIN, INT32_MAX);
            hasParam = true;
            param = static_cast<int>(v);
        }
        if (more && c != ' ') UnreadByte(c);
    }
    if (fSkipCount > 0) {
        --fSkipCount;
        return rtfOK;
    }
    const Entry* e = tooLong ? nullptr : Find(std::string_view(name, static_cast<size_t>(len)));
    return Dispatch(e, hasParam, param);
}

uint8_t TRPRTFReader::Dispatch(const Entry* kw, bool hasParam, int param) {
    if (!kw) {
        if (fSkipDestIfUnknown) fState->Dest = rdsSkip;
        fSkipDestIfUnknown = false;
        return rtfOK;
    }
    const bool ignorable = fSkipDestIfUnknown;
    fSkipDestIfUnknown = false;
    if (fState->Dest == rdsSkip) {
        if (kw->KindOf == kwSpec && kw->Action == spBin) return ParseSpecial(spBin, param, hasParam);
        return rtfOK;
    }
    switch (kw->KindOf) {
    case kwChar:
        return RouteChar(static_cast<unsigned char>(kw->Action));
    case kwUChar:
        if (fState->Dest == rdsNorm && OnNewUnicodeText) {
            AddUnicodeChar(static_cast<char16_t>(kw->Default));
            return rtfOK;
        }
        return RouteChar(static_cast<unsigned char>(kw->Action));
    case kwDest:
        return ChangeDest(kw->Action, ignorable);
    case kwProp: {
        const int p = (kw->UseDefault || !hasParam) ? kw->Default : param;
        if (fState->Dest == rdsNorm && kw->Group != cgNone) Flush(fkPlain);
        return ApplyProperty(kw->Action, p);
    }
    case kwSpec:
        return ParseSpecial(kw->Action, param, hasParam);
    }
    return rtfBadTable;
}

uint8_t TRPRTFReader::ParseSpecial(int which, int param, bool hasParam) {
    switch (which) {
    case spBin:
        // The count comes from this word only; nothing or a negative count means no data.
        if (hasParam && param > 0) {
            fBinCount = param;
            fState->InputMode = 1;
        }
        return rtfOK;
    case spSkipDest:
        fSkipDestIfUnknown = true;
        return rtfOK;
    case spHex: {
        int value = 0;
        for (int digit = 0; digit < 2;) {
            int c;
            if (!ReadByte(c)) return rtfOK; // the input ends; the caller sees the open groups
            if (c == '\r' || c == '\n') continue;
            const int h = HexValue(c);
            if (h < 0) return rtfInvalidHex;
            value = value * 16 + h;
            ++digit;
        }
        if (fSkipCount > 0) {
            --fSkipCount;
            return rtfOK;
        }
        return RouteChar(static_cast<unsigned char>(value));
    }
    }
    return rtfBadTable;
}

uint8_t TRPRTFReader::PushState() {
    if (fDepth >= MaxDepth) return rtfStackOverflow;
    fStack.push_back(std::make_unique<TRPRTFReaderState>(*fState));
    fState->InputMode = 0;
    ++fDepth;
    if (fState->Dest == rdsStyleSheet) {
        if (fStyleSheet.size() < MaxTableEntries) {
            fStyleSheet.emplace_back();
            fState->Dest = rdsStyleSheetEntry;
        } else {
            fState->Dest = rdsSkip;
        }
    }
    return rtfOK;
}

uint8_t TRPRTFReader::PopState() {
    if (fStack.empty()) return rtfStackUnderflow;
    if (fDepth == 1) UpdateMarker();
    const TRPRTFDestination closing = fState->Dest;
    if (closing == rdsNorm) Flush(fkPlain);
    TRPRTFReaderState& saved = *fStack.back();
    if (closing != saved.Dest) {
        const uint8_t r = EndDestination(closing);
        if (r != rtfOK) return r;
    }
    if (fState->HFType != saved.HFType && (fState->HFType == 1 || fState->HFType == 2) && OnHeaderFooter) {
        // Tables the header or footer left open end inside it.
        while (fTableLevel > 0) {
            --fTableLevel;
            TableEvent(rtfteTableEnd);
        }
        OnHeaderFooter(this, static_cast<TRPRTFHeaderFooterType>(fState->HFType), false);
        fTableLevel = fState->HFOuterTableLevel;
        fPosition = fState->HFOuterPosition;
    }
    *fState = std::move(saved);
    if (closing == rdsPN && fState->Dest != rdsPN && fPN) {
        fState->ParaProps.Marker = std::shared_ptr<TRPRTFMarkerProperties>(std::move(fPN));
    }
    fStack.pop_back();
    --fDepth;
    if (!fShapes.empty()) EndShapeGroup(fDepth + 1);
    return rtfOK;
}

uint8_t TRPRTFReader::EndDestination(TRPRTFDestination closing) {
    switch (closing) {
    case rdsFontTable:
        CleanFontNames();
        break;
    case rdsColorTable:
        TrimTrailingColor();
        break;
    case rdsPict:
        Flush(fkPlain);
        if (!fFieldPicture) return CompletePicture();
        fPicture.reset();
        break;
    case rdsObject:
        fObject.reset();
        break;
    case rdsObjData:
        Flush(fkPlain);
        CompleteObject();
        break;
    case rdsField:
        fFieldInst.clear();
        fFieldPicture = false;
        break;
    case rdsFldInst:
        ExamineFieldInstruction();
        break;
    case rdsLevelText:
    case rdsLevelNumbers:
        if (!fLists.empty() && !fLists.back().Levels.empty()) {
            auto& lvl = fLists.back().Levels.back();
            std::string& s = closing == rdsLevelText ? lvl.Text : lvl.Numbers;
            // The first byte counts the characters; the closing ';' goes. A count
            // beyond the text makes the text invalid (empty).
            if (!s.empty()) {
                const size_t n = static_cast<size_t>(static_cast<unsigned char>(s[0])) + 1;
                if (n > s.size())
                    s.clear();
                else
                    s.resize(n);
            }
            if (closing == rdsLevelText && !lvl.TextW.empty()) {
                const size_t n = static_cast<size_t>(lvl.TextW[0]) + 1;
                if (n > lvl.TextW.size() || lvl.Text.empty())
                    lvl.TextW.clear();
                else
                    lvl.TextW.resize(n);
            }
        }
        break;
    default:
        break;
    }
    return rtfOK;
}

uint8_t TRPRTFReader::ChangeDest(int destWord, bool ignorable) {
    TRPRTFReaderState& st = *fState;
    const TRPRTFDestination d = st.Dest;
    auto enterFrom = [&](TRPRTFDestination from, TRPRTFDestination to) {
        st.Dest = d == from ? to : rdsSkip;
    };
    switch (destWord) {
    case dwObject:
        if (d != rdsNorm) {
            st.Dest = rdsSkip;
        } else if (OnNewObject) {
            fObject = std::make_unique<TRPRTFObject>();
            fObjectInserted = false;
            st.Dest = rdsObject;
        }
        break;
    case dwObjData:
        enterFrom(rdsObject, rdsObjData);
        fHexHigh = true;
        break;
    case dwResult:
        if (d == rdsObject)
            st.Dest = fObjectInserted ? rdsSkip : rdsNorm;
        else if (d != rdsNorm)
            st.Dest = rdsSkip;
        break;
    case dwShpPict:
        // Each picture pair decides on its own whether the alternative is needed.
        fShpPictInserted = false;
        st.Dest = (d == rdsNorm || d == rdsShpText) ? rdsShpPict : rdsSkip;
        break;
    case dwNonShpPict:
        st.Dest = ((d == rdsNorm || d == rdsShpText) && !fShpPictInserted) ? d : rdsSkip;
        break;
    case dwShp:
    case dwShpInst:
    case dwShpProp:
    case dwShpPropName:
    case dwShpPropValue:
    case dwShpText:
    case dwShpRslt:
        // Outside the shapes whose pictures are read these words stay unknown ones.
        if (!ChangeShapeDest(destWord) && ignorable) st.Dest = rdsSkip;
        break;
    case dwNestTableProps:
        st.Dest = d == rdsNorm ? rdsNorm : rdsSkip;
        break;
    case dwSkip:
        st.Dest = rdsSkip;
        break;
    case dwColorTbl:
        if (d == rdsNorm) {
            fColors.assign(1, RTFAutoColor);
            fTrailingAutoColor = false;
            st.Dest = rdsColorTable;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwFontTbl:
        if (d == rdsNorm) {
            fFonts.clear();
            fDefFontIndex = -1;
            st.Dest = rdsFontTable;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwHeader:
    case dwFooter:
        if (d != rdsNorm || !OnHeaderFooter) {
            st.Dest = rdsSkip;
        } else if (const int kind = destWord == dwHeader ? rtfhfHeader : rtfhfFooter;
                   !fStack.empty() && st.HFType == fStack.back()->HFType && kind != st.HFType) {
            // A header ends with the group that starts it. A second header word
            // in that group, or one in a group inside the header, adds nothing.
            Flush(fkPlain);
            st.HFType = kind;
            // Its content is a text of its own: paragraphs and tables start afresh.
            st.HFOuterTableLevel = fTableLevel;
            st.HFOuterPosition = fPosition;
            fTableLevel = 0;
            fPosition = rtfpNewPara;
            OnHeaderFooter(this, static_cast<TRPRTFHeaderFooterType>(st.HFType), true);
        }
        break;
    case dwStyleSheet:
        if (d == rdsNorm) {
            fStyleSheet.clear();
            st.Dest = rdsStyleSheet;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwPict:
        if (d == rdsPict) return rtfPictureError;
        if (!OnNewPicture || (d != rdsNorm && d != rdsShpPict && d != rdsShpPictValue && d != rdsShpText)) {
            st.Dest = rdsSkip;
        } else {
            // A picture opens or closes tables as text does: one in the paragraph
            // after a table must not start a new row of it. A shape's picture
            // does so where the shape's pictures are reported.
            const bool inShape = !fShapes.empty() && fShapes.back().InstDepth > 0;
            fPictureShapeKind = !inShape ? -1 : d == rdsShpPictValue ? spkProperty : spkText;
            if (!inShape) UpdateTableNesting();
            fPicture = std::make_unique<TRPRTFPicture>();
            fPicture->FromShpPict = d == rdsShpPict;
            fHexHigh = true;
            st.Dest = rdsPict;
        }
        break;
    case dwField:
        if (d == rdsNorm) {
            UpdateTableNesting();
            Flush(fkPlain);
            st.Dest = rdsField;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwFldInst:
        if (d == rdsField) {
            fFieldInst.clear();
            fFieldPicture = false;
            st.Dest = rdsFldInst;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwFldRslt:
        st.Dest = (d == rdsField || d == rdsNorm) ? rdsNorm : rdsSkip;
        break;
    case dwPN:
        if (d == rdsNorm) {
            fPN = std::make_unique<TRPRTFMarkerProperties>();
            st.Dest = rdsPN;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwPNTxtA:
    case dwPNTxtB:
        if (d == rdsPN || d == rdsPNSecLvl) {
            fPNTextForSection = d == rdsPNSecLvl;
            st.Dest = destWord == dwPNTxtA ? rdsPNTextAfter : rdsPNTextBefore;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwListTable:
        if (d == rdsNorm) {
            fLists.clear();
            st.Dest = rdsListTable;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwList:
        if (d == rdsListTable && fLists.size() < MaxTableEntries) {
            fLists.emplace_back();
            st.Dest = rdsList;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwListLevel:
        if (d == rdsList && !fLists.empty() && fLists.back().Levels.size() < 9) {
            fLists.back().Levels.emplace_back();
            st.Dest = rdsListLevel;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwListName:
        enterFrom(rdsList, rdsListName);
        break;
    case dwLevelText:
        enterFrom(rdsListLevel, rdsLevelText);
        if (st.Dest == rdsLevelText) {
            fLists.back().Levels.back().Text.clear();
            fLists.back().Levels.back().TextW.clear();
        }
        break;
    case dwLevelNumbers:
        enterFrom(rdsListLevel, rdsLevelNumbers);
        if (st.Dest == rdsLevelNumbers) fLists.back().Levels.back().Numbers.clear();
        break;
    case dwLOTable:
        if (d == rdsNorm) {
            fOverrides.clear();
            st.Dest = rdsLOTable;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwLO:
        if (d == rdsLOTable && fOverrides.size() < MaxTableEntries) {
            fOverrides.emplace_back();
            st.Dest = rdsLO;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    case dwLOLevel:
        if (d == rdsLO && !fOverrides.empty() && fOverrides.back().Levels.size() < 9) {
            fOverrides.back().Levels.emplace_back();
            st.Dest = rdsLOLevel;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    default:
        return rtfBadTable;
    }
    return rtfOK;
}

// The words of drawing shapes; false when they do not belong where they stand.
bool TRPRTFReader::ChangeShapeDest(int destWord) {
    TRPRTFReaderState& st = *fState;
    const TRPRTFDestination d = st.Dest;
    TShape* shape = fShapes.empty() ? nullptr : &fShapes.back();
    switch (destWord) {
    case dwShp:
        if (d != rdsNorm && d != rdsShpInst && d != rdsShpText) return false;
        if (!shape || shape->Depth != fDepth)
            fShapes.push_back({fDepth, 0, d != rdsNorm, d == rdsShpText, false, {}, {}});
        return true;
    case dwShpInst:
        if (!shape || shape->InstDepth != 0 || shape->Depth != fDepth - 1) return false;
        shape->InstDepth = fDepth;
        st.Dest = rdsShpInst;
        return true;
    case dwShpProp:
        if (d != rdsShpInst || !shape) return false;
        shape->PropName.clear();
        st.Dest = rdsShpProp;
        return true;
    case dwShpPropName:
    case dwShpPropValue:
        if (d != rdsShpProp || !shape) return false;
        // Of the properties only the picture of a picture frame is read.
        st.Dest = destWord == dwShpPropName  ? rdsShpPropName
                  : shape->PropName == "pib" ? rdsShpPictValue
                                             : rdsSkip;
        return true;
    case dwShpText:
        if (d != rdsShpInst) return false;
        st.Dest = rdsShpText;
        return true;
    case dwShpRslt:
        // The shape's pictures stand in the text already; its result would show them again.
        if (!shape || shape->Depth != fDepth - 1 || !shape->Inserted) return false;
        st.Dest = rdsSkip;
        return true;
    default:
        return false;
    }
}

void TRPRTFReader::EndShapeGroup(int depth) {
    while (!fShapes.empty()) {
        TShape& s = fShapes.back();
        if (s.InstDepth == depth)
            EndShapeInstructions();
        else if (s.Depth == depth)
            fShapes.pop_back();
        else
            break;
    }
}

// The pictures of the innermost shape go to the shape around it, or, for a shape
// in the text, into the text at its place.
void TRPRTFReader::EndShapeInstructions() {
    TShape& s = fShapes.back();
    s.InstDepth = -1;
    std::vector<TShapePicture> held = std::move(s.Pictures);
    s.Pictures.clear();
    // A picture frame shows its picture; its text box would show it once more.
    if (std::any_of(held.begin(), held.end(), [](const TShapePicture& p) { return p.Kind == spkProperty; }))
        std::erase_if(held, [](const TShapePicture& p) { return p.Kind == spkText; });
    if (s.Nested && fShapes.size() > 1) {
        TShape& outer = fShapes[fShapes.size() - 2];
        for (TShapePicture& p : held) {
            p.Kind = s.InText ? spkText : spkChild;
            outer.Pictures.push_back(std::move(p));
        }
        s.Inserted = !held.empty();
        return;
    }
    for (TShapePicture& p : held) {
        UpdateTableNesting();
        Flush(fkPlain);
        bool inserted = false;
        ReportPicture(p.Picture.get(), p.Graphic, inserted);
        s.Inserted = s.Inserted || inserted;
    }
    if (s.Inserted) fShpPictInserted = true;
}

uint8_t TRPRTFReader::RouteChar(unsigned char ch) {
    TRPRTFReaderState& st = *fState;
    switch (st.Dest) {
    case rdsNorm:
        if (ch == 10 || ch == 13) {
            UpdateMarker();
            Flush(ch == 10 ? fkParagraph : fkLine);
            if (ch == 10 && OnParagraphEnd) {
                fState->ParaProps.ResolveShading();
                OnParagraphEnd(this);
            }
            UpdateMarker();
        } else if (ch != 0) {
            AddChar(ch);
        }
        break;
    case rdsFontTable:
        if (ch != ';' && !fFonts.empty())
            AppendCapped(fFonts.back().Name, static_cast<char>(ch), kMaxShortText);
        break;
    case rdsColorTable:
        if (ch == ';' && fColors.size() < MaxTableEntries) {
            fColors.push_back(RTFAutoColor);
            fTrailingAutoColor = true;
        }
        break;
    case rdsStyleSheetEntry:
        if (ch != ';' && !fStyleSheet.empty())
            AppendCapped(fStyleSheet.back().Name, static_cast<char>(ch), kMaxShortText);
        break;
    case rdsPict:
    case rdsObjData: {
        std::string* data = st.Dest == rdsPict ? (fPicture ? &fPicture->Data : nullptr)
                                               : (fObject ? &fObject->Data : nullptr);
        if (!data) break;
        if (st.InputMode == 1) {
            data->push_back(static_cast<char>(ch));
        } else {
            const int h = HexValue(ch);
            if (h < 0) break;
            if (fHexHigh) {
                fHexValue = h;
                fHexHigh = false;
            } else {
                data->push_back(static_cast<char>(fHexValue * 16 + h));
                fHexHigh = true;
            }
        }
        break;
    }
    case rdsFldInst:
        AppendCapped(fFieldInst, static_cast<char>(ch), kMaxFieldInst);
        break;
    case rdsShpPropName:
        if (!fShapes.empty()) AppendCapped(fShapes.back().PropName, static_cast<char>(ch), kMaxShortText);
        break;
    case rdsPNTextAfter:
    case rdsPNTextBefore:
        if (TRPRTFMarkerProperties* m = PNTextTarget())
            AppendCapped(st.Dest == rdsPNTextAfter ? m->TextAfter : m->TextBefore, static_cast<char>(ch),
                         kMaxShortText);
        break;
    case rdsListName:
        if (!fLists.empty()) AppendCapped(fLists.back().Name, static_cast<char>(ch), kMaxShortText);
        break;
    case rdsLevelText:
        if (!fLists.empty() && !fLists.back().Levels.empty()) {
            auto& lvl = fLists.back().Levels.back();
            if (lvl.Text.size() < kMaxShortText) {
                lvl.Text.push_back(static_cast<char>(ch));
                if (!lvl.TextW.empty()) lvl.TextW += AnsiToUnicode(std::string(1, static_cast<char>(ch)));
            }
        }
        break;
    case rdsLevelNumbers:
        if (!fLists.empty() && !fLists.back().Levels.empty())
            AppendCapped(fLists.back().Levels.back().Numbers, static_cast<char>(ch), kMaxShortText);
        break;
    default:
        break;
    }
    return rtfOK;
}

void TRPRTFReader::AddChar(unsigned char ch) {
    if (!fTextW.empty()) Flush(fkPlain);
    UpdateTableNesting();
    fText.push_back(static_cast<char>(ch));
}

void TRPRTFReader::AddUnicodeChar(char16_t ch) {
    if (!fText.empty()) Flush(fkPlain);
    UpdateTableNesting();
    fTextW.push_back(ch);
}

void TRPRTFReader::Flush(FlushKind kind) {
    if (fText.empty() && fTextW.empty() && !fHiddenStarts) {
        if (kind == fkPlain) return;
        // An empty paragraph closes tables as text does, rather than opening a row.
        UpdateTableNesting();
        if (fPosition != rtfpContinuePara && OnNewText) OnNewText(this, std::string(), fPosition);
    } else {
        fState->ParaProps.ResolveShading();
        // Taken out first, so that a handler that reads further cannot see them twice.
        std::string text;
        std::u16string textW;
        text.swap(fText);
        textW.swap(fTextW);
        if (!textW.empty() && OnNewUnicodeText)
            OnNewUnicodeText(this, textW, fPosition);
        else if (!textW.empty()) {
            if (OnNewText) OnNewText(this, UnicodeToAnsi(textW), fPosition);
        } else if (OnNewText) {
            OnNewText(this, text, fPosition);
        }
        // The buffers serve the next run (unless a handler has begun one), so that
        // a run does not grow a new one character by character.
        if (fText.empty()) {
            text.clear();
            fText.swap(text);
        }
        if (fTextW.empty()) {
            textW.clear();
            fTextW.swap(textW);
        }
    }
    fHiddenStarts = false;
    fPosition = kind == fkParagraph ? rtfpNewPara : kind == fkLine ? rtfpNewLine : rtfpContinuePara;
}

void TRPRTFReader::UpdateMarker() {
    if (!OnUpdateMarker) return;
    auto& marker = fState->ParaProps.Marker;
    if (marker) {
        if (marker.use_count() > 1) marker = std::make_shared<TRPRTFMarkerProperties>(*marker);
        marker->TakeCharProps(fState->CharProps);
    }
    OnUpdateMarker(this);
}

void TRPRTFReader::UpdateTableNesting() {
    const auto& pp = fState->ParaProps;
    // Outside tables nothing opens or closes one: the common case, checked first.
    if (fTableLevel == 0 && !pp.InTable) return;
    const int level = pp.InTable ? std::clamp(pp.NestingLevel, 0, MaxTableLevel) : 0;
    while (fTableLevel < level) {
        ++fTableLevel;
        TableEvent(rtfteTableStart);
    }
    if (!pp.NoOverlap)
        while (fTableLevel > level) {
            --fTableLevel;
            TableEvent(rtfteTableEnd);
        }
}

void TRPRTFReader::TableEvent(TRPRTFTableEventKind kind) {
    UpdateMarker();
    if (OnTable) OnTable(this, kind);
}

void TRPRTFReader::DoCell() {
    UpdateTableNesting();
    if (fTableLevel == 0) {
        // A cell end outside any table ends the paragraph instead.
        RouteChar(10);
        return;
    }
    Flush(fkPlain);
    fPosition = rtfpNewPara;
    TableEvent(rtfteCellEnd);
}

void TRPRTFReader::DoRow() {
    Row().Complete();
    UpdateTableNesting();
    if (fTableLevel > 0) TableEvent(rtfteRowEnd);
}

void TRPRTFReader::DoPage() {
    if (!OnRequiredPageBreak) return;
    UpdateTableNesting();
    Flush(fkPlain);
    OnRequiredPageBreak(this);
}

void TRPRTFReader::DoHidden(bool on) {
    auto& cp = fState->CharProps;
    if (on && !cp.Hidden) {
        // The text before hidden text is reported, so that no paragraph start goes into it.
        fHiddenStarts = true;
        Flush(fkPlain);
    } else if (!on && cp.Hidden) {
        Flush(fkPlain);
    }
    cp.Hidden = on;
}

uint8_t TRPRTFReader::CompletePicture() {
    std::unique_ptr<TRPRTFPicture> pic = std::move(fPicture);
    if (!pic) return OnNewPicture ? rtfPictureError : rtfOK;
    constexpr double ppi = 96.0;
    if (pic->Kind == rtfpkWMF && (pic->MetafileMapMode == 7 || pic->MetafileMapMode == 8) && pic->PicW >= 1 &&
        pic->PicH >= 1) {
        pic->WidthPx = static_cast<int>(Round(pic->PicW / 2540.0 * ppi));
        pic->HeightPx = static_cast<int>(Round(pic->PicH / 2540.0 * ppi));
    }
    if (pic->PicWGoal != 0 && pic->PicHGoal != 0) {
        pic->WidthPx = static_cast<int>(Round(static_cast<double>(pic->PicWGoal) * ppi / 1440.0));
        pic->HeightPx = static_cast<int>(Round(static_cast<double>(pic->PicHGoal) * ppi / 1440.0));
    }
    TRPRTFGraphicPtr graphic;
    if (pic->IsPlausible()) {
        // Damaged picture data gives no graphic; it never ends the reading.
        try {
            graphic = GraphicMaker() ? GraphicMaker()(*pic) : RPRTFMakeGraphic(*pic);
        } catch (...) {
            graphic.reset();
        }
    }
    if (fPictureShapeKind >= 0) {
        const auto kind = static_cast<TShapePictureKind>(fPictureShapeKind);
        fPictureShapeKind = -1;
        // A picture that cannot be shown here leaves it to the shape's alternatives.
        if (pic->FromShpPict) fShpPictInserted = graphic != nullptr;
        if (graphic && !fShapes.empty())
            fShapes.back().Pictures.push_back({std::move(pic), std::move(graphic), kind});
        return rtfOK;
    }
    bool inserted = false;
    ReportPicture(pic.get(), graphic, inserted);
    return rtfOK;
}

void TRPRTFReader::ReportPicture(TRPRTFPicture* pic, TRPRTFGraphicPtr& graphic, bool& inserted) {
    fState->ParaProps.ResolveShading();
    inserted = false;
    if (graphic && RPAfterImportGraphicProc) RPAfterImportGraphicProc(graphic.get());
    if (OnNewPicture) OnNewPicture(this, pic, graphic, fPosition, inserted);
    if (pic && pic->FromShpPict) fShpPictInserted = inserted;
    if (inserted) fPosition = rtfpContinuePara;
}

void TRPRTFReader::CompleteObject() {
    if (!OnNewObject || !fObject) return;
    fState->ParaProps.ResolveShading();
    bool inserted = false;
    OnNewObject(this, fObject.get(), fPosition, inserted);
    fObjectInserted = inserted;
    if (inserted) fPosition = rtfpContinuePara;
}

void TRPRTFReader::ExamineFieldInstruction() {
    const std::string inst = CleanInstruction(fFieldInst);
    const std::string upper = Upper(inst);
    if (OnNewPicture && (upper.rfind("INCLUDEPICTURE", 0) == 0 || upper.rfind("IMPORT", 0) == 0)) {
        ImportPictureField(RPRTF::FieldArgument(inst));
    } else if (upper.rfind("SYMBOL", 0) == 0) {
        SymbolField(inst);
    }
}

void TRPRTFReader::ImportPictureField(const std::string& fileNameIn) {
    std::string fileName = fileNameIn;
    const QString base = BasePath;
    if (!base.isEmpty() && (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\'))) &&
        !fileName.empty() && (fileName[0] == '/' || fileName[0] == '\\'))
        fileName.erase(0, 1);
    if (fileName.empty()) return;
    // The application is asked first: it may know pictures that are no files
    // here. Only what the reader loads itself must stay inside the base path.
    TRPRTFGraphicPtr graphic;
    if (OnImportPicture)
        OnImportPicture(this,
                        base + QString::fromLatin1(fileName.data(), static_cast<qsizetype>(fileName.size())),
                        graphic);
    QString full;
    if (!graphic && RPRTF::IsSafePictureLocation(base, fileName, &full)) {
        try {
            graphic = PictureFileLoader() ? PictureFileLoader()(full) : RPRTFLoadPictureFile(full);
        } catch (...) {
            graphic.reset();
        }
    }
    if (!graphic) return;
    fState->ParaProps.ResolveShading();
    if (RPAfterImportGraphicProc) RPAfterImportGraphicProc(graphic.get());
    bool inserted = false;
    OnNewPicture(this, nullptr, graphic, fPosition, inserted);
    fPosition = rtfpContinuePara;
    fFieldPicture = true;
}

void TRPRTFReader::SymbolField(const std::string& inst) {
    // SYMBOL code \f "font" \s size: all three are needed.
    size_t p = 6;
    while (p < inst.size() && inst[p] == ' ')
        ++p;
    std::string code;
    while (p < inst.size() && inst[p] != ' ')
        code.push_back(inst[p++]);
    const size_t f = inst.find("\\f \"");
    const size_t s = inst.find("\\s ");
    if (code.empty() || f == std::string::npos || s == std::string::npos) return;
    const size_t fe = inst.find('"', f + 4);
    if (fe == std::string::npos) return;
    const std::string font = inst.substr(f + 4, fe - f - 4);
    size_t se = s + 3;
    while (se < inst.size() && inst[se] != ' ')
        ++se;
    const std::string sizeText = inst.substr(s + 3, se - s - 3);
    bool ok = true;
    const int ch = QString::fromStdString(code).toInt(&ok);
    bool okSize = true;
    const int size = QString::fromStdString(sizeText).toInt(&okSize);
    if (!ok || !okSize || font.empty() || ch <= 0 || ch > 0xFFFF || size <= 0) return;
    auto& cp = fState->CharProps;
    const int oldSize = cp.Size;
    const std::string oldName = cp.FontNameOverride;
    cp.Size = std::min(size, 1638);
    cp.FontNameOverride = font;
    Flush(fkPlain);
    if (ch < 256) {
        fText.push_back(static_cast<char>(ch));
    } else if (OnNewUnicodeText) {
        fTextW.push_back(static_cast<char16_t>(ch));
    } else {
        fText = UnicodeToAnsi(std::u16string(1, static_cast<char16_t>(ch)));
    }
    Flush(fkPlain);
    cp.Size = oldSize;
    cp.FontNameOverride = oldName;
}

void TRPRTFReader::TrimTrailingColor() {
    // Only the automatic entry that the last ';' opened goes; a table without one keeps all.
    if (fTrailingAutoColor && fColors.size() > 1 && fColors.back() == RTFAutoColor) fColors.pop_back();
    fTrailingAutoColor = false;
}

void TRPRTFReader::CleanFontNames() {
    static const struct {
        int charset;
        const char* suffix;
    } kSuffixes[] = {{204, " CYR"}, {238, " CE"}, {161, " Greek"}, {162, " Tur"}, {186, " Baltic"}};
    for (auto& f : fFonts)
        for (const auto& s : kSuffixes)
            if (f.Charset == s.charset && EndsWithNoCase(f.Name, s.suffix))
                f.Name.resize(f.Name.size() - std::strlen(s.suffix));
}

TRPRTFRowProperties& TRPRTFReader::Row() {
    auto& row = fState->RowProps;
    if (!row)
        row = std::make_shared<TRPRTFRowProperties>();
    else if (row.use_count() > 1)
        row = std::make_shared<TRPRTFRowProperties>(*row);
    if (row->Cells.empty()) row->Cells.emplace_back();
    return *row;
}

int TRPRTFReader::FindFont(int N) const {
    for (size_t i = 0; i < fFonts.size(); ++i)
        if (fFonts[i].Number == N) return static_cast<int>(i);
    if (N == fDefFontNumber) return 0;
    for (size_t i = 0; i < fFonts.size(); ++i)
        if (fFonts[i].Number == fDefFontNumber) return static_cast<int>(i);
    return 0;
}

const TRPRTFFont* TRPRTFReader::CurrentFont() const {
    const int i = fState->CharProps.FontIndex;
    if (i >= 0 && static_cast<size_t>(i) < fFonts.size()) return &fFonts[static_cast<size_t>(i)];
    return nullptr;
}

const TRPRTFFont* TRPRTFReader::DefaultFont() const {
    return fFonts.empty() ? nullptr : &fFonts[static_cast<size_t>(FindFont(fDefFontNumber))];
}

std::u16string TRPRTFReader::AnsiToUnicode(const std::string& s) const {
    const QString q = CodePage::ToUnicode(fCodePage, s);
    return std::u16string(reinterpret_cast<const char16_t*>(q.utf16()), static_cast<size_t>(q.size()));
}

std::string TRPRTFReader::UnicodeToAnsi(const std::u16string& s) const {
    const QString q = QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
    return CodePage::FromUnicode(fCodePage, q);
}
