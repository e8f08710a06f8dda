#include "UTermEingabe.h"

#include "UTermNormal.h"
#include "platform/CodePage.h"

namespace {

const TColor Blau = RGB(0, 100, 255);
const TColor Schwarz = RGB(0, 0, 0);
const TColor WurzelFarbe = RGB(100, 100, 255);
const QString SymbolSchrift = QStringLiteral("Symbol");
constexpr uint8_t SymbolZeichensatz = 2;
constexpr uint8_t NormalZeichensatz = 1;

// Symbol glyphs in the box and the bytes they stand for.
struct tGlyphe {
    char Byte;
    char16_t Zeichen;
};
constexpr tGlyphe Glyphen[] = {
    {Token::Wurzel, u'\u221A'}, // radical
    {'%', u'\u222B'},           // integral
    {'p', u'\u03C0'},           // pi
    {'F', u'\u03A6'},           // Phi
    {'Y', u'\u03A8'},           // Psi
};

QString Glyphe(char b) {
    for (const tGlyphe& g : Glyphen)
        if (g.Byte == b)
            return QString(QChar(g.Zeichen));
    return QString(QChar(CodePage::Cp1252ToUnicode(static_cast<unsigned char>(b))));
}

const char* FunktionsName(char c) {
    switch (c) {
    case Token::ArcTan: return "arctan";
    case Token::ArcSin: return "arcsin";
    case Token::ArcCos: return "arccos";
    case Token::Abs: return "abs";
    case Token::Sin: return "sin";
    case Token::Cos: return "cos";
    case Token::Tan: return "tan";
    case Token::Ln: return "ln";
    case Token::Lg: return "lg";
    case Token::Exp: return "exp";
    case Token::Bin: return "Bin";
    default: return nullptr;
    }
}

bool Erlaubt(unsigned char c) {
    if (c == 8 || c == '!' || c == '(' || c == ')' || c == '+' || c == '-' || c == '.' || c == '/' || c == ';' ||
        c == '^')
        return true;
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c == static_cast<unsigned char>(Token::Quadrat) || c == static_cast<unsigned char>(Token::Kubus);
}

} // namespace

QString AnzeigeSchrift(int Kopie) {
    return Kopie == 1 ? QStringLiteral("Times New Roman") : QStringLiteral("Tahoma");
}

void TastenFilter(int Kopie, char& Key, bool& Enter, tTermSchrift& Schrift) {
    Enter = Key == 13;
    if (Enter)
        Key = 0;
    switch (Key) {
    case ',': Key = '.'; break;
    case ':': Key = '/'; break;
    case '*': Key = Token::MalPunkt; break;
    case '"': Key = Token::Quadrat; break;
    case '\xA7': Key = Token::Kubus; break;
    case 'W':
    case 'w': Key = Token::Wurzel; break;
    default:
        if (!Erlaubt(static_cast<unsigned char>(Key)))
            Key = 0;
    }
    if (Key == Token::Wurzel)
        Schrift = {SymbolSchrift, WurzelFarbe, SymbolZeichensatz};
    else
        Schrift = {AnzeigeSchrift(Kopie), Schwarz, NormalZeichensatz};
}

void TastenFilter(int Kopie, char16_t& Key, bool& Enter) {
    Enter = false;
    int b = CodePage::UnicodeToCp1252(Key);
    // Only single bytes of the page can be keys of a term.
    char k = b < 0 ? 0 : static_cast<char>(b);
    if (Key == 13)
        k = 13;
    tTermSchrift s;
    TastenFilter(Kopie, k, Enter, s);
    Key = k == 0 ? 0 : Glyphe(k).at(0).unicode();
}

std::vector<tAnzeigeStueck> EingabeStuecke(int Kopie, const QString& Zeile, bool Komma) {
    std::string t = BoxText(Zeile);
    if (Komma)
        TermNormalisierenKomma(t);
    else
        TermNormalisieren(t);
    const tTermSchrift normal{AnzeigeSchrift(Kopie), Schwarz, NormalZeichensatz};
    const tTermSchrift symbol{SymbolSchrift, Blau, SymbolZeichensatz};
    std::vector<tAnzeigeStueck> r;
    r.reserve(t.size());
    tTermSchrift vorher = normal;
    for (char c : t) {
        tAnzeigeStueck s;
        switch (c) {
        case 'W':
        case 'w':
        case Token::Wurzel:
            s = {Glyphe(Token::Wurzel), symbol};
            break;
        case '%':
        case 'p':
        case 'Y':
        case 'F':
            s = {Glyphe(c), symbol};
            break;
        case '!':
        case 'B':
        case 'K':
            s = {QString(QLatin1Char(c)), {vorher.Name, Blau, vorher.Zeichensatz}};
            break;
        case '*':
            s = {QString(QChar(Token::MalPunkt & 0xFF)), normal};
            break;
        default:
            if (const char* name = FunktionsName(c))
                s = {QString::fromLatin1(name), {normal.Name, Blau, normal.Zeichensatz}};
            else
                s = {Glyphe(c), normal};
        }
        vorher = s.Schrift;
        r.push_back(std::move(s));
    }
    return r;
}

std::string BoxText(const QString& Text) {
    std::string r;
    r.reserve(static_cast<size_t>(Text.size()));
    for (QChar q : Text) {
        char16_t u = q.unicode();
        int b = -1;
        for (const tGlyphe& g : Glyphen)
            if (g.Zeichen == u)
                b = static_cast<unsigned char>(g.Byte);
        if (b < 0)
            b = CodePage::UnicodeToCp1252(u);
        r += b < 0 ? '?' : static_cast<char>(b);
    }
    return r;
}

QString AnzeigeText(const std::string& Bytes) {
    QString r;
    for (char c : Bytes)
        r += Glyphe(c);
    return r;
}
