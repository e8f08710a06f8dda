#include "UTermNormal.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct tName {
    std::string_view Text;
    char Token;
};

// One pass: at each position the names are tried in order; a replacement
// shortens the string and the scan goes on at the next position.
void NamenErsetzen(std::string& S, std::initializer_list<tName> Namen, size_t Laenge) {
    for (size_t i = 0; i + Laenge <= S.size(); ++i) {
        for (const tName& n : Namen) {
            if (S[i] == n.Text[0] && S.compare(i, Laenge, n.Text) == 0) {
                S.replace(i, Laenge, 1, n.Token);
                break;
            }
        }
    }
}

void Normalisieren(std::string& S, bool Komma) {
    // Every name begins with one of these letters.
    static constexpr std::array<bool, 256> Anfang = [] {
        std::array<bool, 256> a{};
        for (unsigned char c : std::string_view("abcelstB"))
            a[c] = true;
        return a;
    }();
    if (std::any_of(S.begin(), S.end(), [](char c) { return Anfang[static_cast<unsigned char>(c)]; })) {
        NamenErsetzen(S, {{"arctan", Token::ArcTan}, {"arcsin", Token::ArcSin}, {"arccos", Token::ArcCos}}, 6);
        NamenErsetzen(S,
                      {{"abs", Token::Abs},
                       {"sin", Token::Sin},
                       {"cos", Token::Cos},
                       {"tan", Token::Tan},
                       {"log", Token::Lg},
                       {"exp", Token::Exp},
                       {"bin", Token::Bin},
                       {"Bin", Token::Bin},
                       {"BIN", Token::Bin}},
                      3);
        NamenErsetzen(S, {{"ln", Token::Ln}}, 2);
        NamenErsetzen(S, {{"lg", Token::Lg}}, 2);
    }
    // The single-character passes never lengthen the string: done in place.
    size_t n = 0;
    for (char c : S) {
        switch (c) {
        case Token::MalPunkt:
            c = '*';
            break;
        case ',':
        case '.':
            c = Komma ? ',' : '.';
            break;
        case ':':
            c = '/';
            break;
        case 'W':
        case 'w':
            c = Token::Wurzel;
            break;
        case ' ':
            continue;
        default:
            break;
        }
        S[n++] = c;
    }
    S.resize(n);
}

} // namespace

void TermNormalisieren(std::string& S) { Normalisieren(S, false); }

void TermNormalisierenKomma(std::string& S) { Normalisieren(S, true); }

void TokenEinsetzen(std::string& S, int Pos, char Token, int Len) {
    if (Pos < 1 || static_cast<size_t>(Pos) > S.size() + 1 || Len < 0)
        return;
    size_t p = static_cast<size_t>(Pos - 1);
    size_t l = std::min(static_cast<size_t>(Len), S.size() - p);
    S.replace(p, l, 1, Token);
}

int ZeichenZaehlen(const std::string& S, char C) { return static_cast<int>(std::count(S.begin(), S.end(), C)); }
