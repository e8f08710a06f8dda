#include "UTermNormal.h"

#include <algorithm>
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
    if (S.find_first_of("abcelstB") != std::string::npos) {
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
    std::string r;
    r.reserve(S.size());
    for (char c : S) {
        switch (c) {
        case Token::MalPunkt:
            r += '*';
            break;
        case ',':
            r += Komma ? ',' : '.';
            break;
        case '.':
            r += Komma ? ',' : '.';
            break;
        case ':':
            r += '/';
            break;
        case 'W':
        case 'w':
            r += Token::Wurzel;
            break;
        case ' ':
            break;
        default:
            r += c;
        }
    }
    S.swap(r);
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
