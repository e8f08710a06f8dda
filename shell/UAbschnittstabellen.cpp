#include "UAbschnittstabellen.h"
#include "shell/UZq.h"

#include "platform/CodePage.h"

namespace {

const TSeitenDef K1_1[] = {
    {"Zqk1\\ZqK1_1A.rtf", "Übung 1", "TZqK1_1A1", "Übung 2", "TZqK1_1A2"},
    {"Zqk1\\ZqK1_1B.rtf", "Übung 3", "TZqK1_1B1", "", ""},
    {"Zqk1\\ZqK1_1C.rtf", "Übung 4", "TZqK1_1C1", "", ""},
    {"Zqk1\\ZqK1_1D.rtf", "Übung 5", "TZqK1_1D1", "", ""},
};
const TSeitenDef K1_2[] = {
    {"Zqk1\\ZqK1_2A.rtf", "Übung 1", "TZqK1_2A1", "", ""},
    {"Zqk1\\ZqK1_2B.rtf", "Übung 2", "TZqK1_2B1", "", ""},
    {"Zqk1\\ZqK1_2C.rtf", "Übung 3", "TZqK1_2C1", "", ""},
};
const TSeitenDef K1_3[] = {
    {"Zqk1\\ZqK1_3A.rtf", "Übung 1", "TZqK1_3A1", "", ""},
    {"Zqk1\\ZqK1_3B.rtf", "Übung 2", "TZqK1_3B1", "", ""},
    {"Zqk1\\ZqK1_3C.rtf", "Übung 3", "TZqK1_3C1", "", ""},
    {"Zqk1\\ZqK1_3D.rtf", "Übung 4", "TZqK1_3D1", "", ""},
    {"Zqk1\\ZqK1_3E.rtf", "Übung 5", "TZqK1_3E1", "", ""},
    {"Zqk1\\ZqK1_3F.rtf", "Übung 6", "TZqK1_3F1", "", ""},
    {"Zqk1\\ZqK1_3G.rtf", "Übung 7", "TZqK1_3G1", "", ""},
    {"Zqk1\\ZqK1_3H.rtf", "Übung 8", "TZqK1_3H1", "", ""},
};
const TSeitenDef K1_4[] = {
    {"Zqk1\\ZqK1_4A.rtf", "Übung 1", "TZqK1_4A1", "", ""},
    {"Zqk1\\ZqK1_4B.rtf", "Übung 2", "TZqK1_4B1", "", ""},
};
const TSeitenDef K2_1[] = {
    {"Zqk2\\ZqK2_1A.rtf", "Übung 1", "TZqK2_1A1", "Übung 2", "TZqK2_1A2"},
    {"Zqk2\\ZqK2_1B.rtf", "Übung 3", "TZqK2_1B1", "", ""},
    {"Zqk2\\ZqK2_1C.rtf", "Übung 4", "TZqK2_1C1", "", ""},
};
const TSeitenDef K2_2[] = {
    {"Zqk2\\ZqK2_2A.rtf", "Übung 1", "TZqK2_2A1", "", ""},
    {"Zqk2\\ZqK2_2B.rtf", "Übung 2", "TZqK2_2B1", "", ""},
};
const TSeitenDef K2_3[] = {
    {"Zqk2\\ZqK2_3A.rtf", "Übung 1", "TZqK2_3A1", "", ""},
    {"Zqk2\\ZqK2_3B.rtf", "Übung 2", "TZqK2_3B1", "", ""},
};
const TSeitenDef K2_4[] = {
    {"Zqk2\\ZqK2_4A.rtf", "Übung 1", "TZqK2_4A1", "Übung 2", "TZqK2_4A2"},
    {"Zqk2\\ZqK2_4B.rtf", "Übung 3", "TZqK2_4B1", "", ""},
};
const TSeitenDef K2_5[] = {
    {"Zqk2\\ZqK2_5A.rtf", "Übung 1", "TZqK2_5A1", "", ""},
    {"Zqk2\\ZqK2_5B.rtf", "Übung 2", "TZqK2_5B1", "", ""},
};
const TSeitenDef K2_6[] = {
    {"Zqk2\\ZqK2_6A.rtf", "Übung 1", "TZqK2_6A1", "", ""},
};
const TSeitenDef K3_1[] = {
    {"Zqk3\\ZqK3_1A.rtf", "Übung 1", "TZqK3_1A1", "", ""},
    {"Zqk3\\ZqK3_1B.rtf", "Übung 2", "TZqK3_1B1", "", ""},
    {"Zqk3\\ZqK3_1C.rtf", "Übung 3", "TZqK3_1C1", "", ""},
};
const TSeitenDef K3_2[] = {
    {"Zqk3\\ZqK3_2A.rtf", "Übung 1", "TZqK3_2A1", "", ""},
    {"Zqk3\\ZqK3_2B.rtf", "Übung 2", "TZqK3_2B1", "", ""},
    {"Zqk3\\ZqK3_2C.rtf", "Übung 3", "TZqK3_2C1", "", ""},
    {"Zqk3\\ZqK3_2D.rtf", "Übung 4", "TZqK3_2D1", "", ""},
};
// The instructions have three pages: the program, the exercise window, the log book.
const TSeitenDef Anleitung[] = {
    {"Anleitung\\ZqAL1.rtf", "", "", "", ""},
    {"Anleitung\\ZqAL2.rtf", "", "", "", ""},
    {"Anleitung\\ZqAL3.rtf", "", "", "", ""},
};

#define ABSCHNITT(Klasse, Caption, Anzahl, Tabelle)                                                          \
    { Klasse, Caption, Anzahl, Tabelle, static_cast<int>(std::size(Tabelle)) }

const TAbschnittDef Abschnitte[] = {
    ABSCHNITT("TZqK1_1", "Abschnitt 1.1", 4, K1_1),
    ABSCHNITT("TZqK1_2", "Abschnitt 1.2", 3, K1_2),
    ABSCHNITT("TZqK1_3", "Abschnitt 1.3", 8, K1_3),
    ABSCHNITT("TZqK1_4", "Abschnitt 1.4", 2, K1_4),
    ABSCHNITT("TZqK2_1", "Abschnitt 2.1", 3, K2_1),
    ABSCHNITT("TZqK2_2", "Abschnitt 2.2", 2, K2_2),
    ABSCHNITT("TZqK2_3", "Abschnitt 2.3", 2, K2_3),
    ABSCHNITT("TZqK2_4", "Abschnitt 2.4", 2, K2_4),
    ABSCHNITT("TZqK2_5", "Abschnitt 2.5", 2, K2_5),
    ABSCHNITT("TZqK2_6", "Abschnitt 2.6", 1, K2_6),
    ABSCHNITT("TZqK3_1", "Abschnitt 3.1", 3, K3_1),
    ABSCHNITT("TZqK3_2", "Abschnitt 3.2", 4, K3_2),
    ABSCHNITT("TZqAnleitung", "Bedienungsanleitung", 3, Anleitung),
};
#undef ABSCHNITT

// Section form and start page for the tree nodes 0 .. 50.
struct TBaumZeile {
    const char* Formklasse;
    int Seite;
};
const TBaumZeile BaumZeilen[ZqBaumAnzahl] = {
    {"TZqK1_1", 1}, // 1. Kapitel
    {"TZqK1_1", 0}, {"TZqK1_1", 1}, {"TZqK1_1", 2}, {"TZqK1_1", 3}, {"TZqK1_1", 4}, {"TZqK1_2", 0},
    {"TZqK1_2", 1}, {"TZqK1_2", 2}, {"TZqK1_2", 3}, {"TZqK1_3", 0}, {"TZqK1_3", 1}, {"TZqK1_3", 2},
    {"TZqK1_3", 3}, {"TZqK1_3", 4}, {"TZqK1_3", 5}, {"TZqK1_3", 6}, {"TZqK1_3", 7}, {"TZqK1_3", 8},
    {"TZqK1_4", 0}, {"TZqK1_4", 1}, {"TZqK1_4", 2}, {"TZqK2_1", 1}, // 2. Kapitel
    {"TZqK2_1", 0}, {"TZqK2_1", 1}, {"TZqK2_1", 2}, {"TZqK2_1", 3}, {"TZqK2_2", 0}, {"TZqK2_2", 1},
    {"TZqK2_2", 2}, {"TZqK2_3", 0}, {"TZqK2_3", 1}, {"TZqK2_3", 2}, {"TZqK2_4", 0}, {"TZqK2_4", 1},
    {"TZqK2_4", 2}, {"TZqK2_5", 0}, {"TZqK2_5", 1}, {"TZqK2_5", 2}, {"TZqK2_6", 0}, {"TZqK2_6", 1},
    {"TZqK3_1", 1}, // 3. Kapitel
    {"TZqK3_1", 0}, {"TZqK3_1", 1}, {"TZqK3_1", 2}, {"TZqK3_1", 3}, {"TZqK3_2", 0}, {"TZqK3_2", 1},
    {"TZqK3_2", 2}, {"TZqK3_2", 3}, {"TZqK3_2", 4},
};

} // namespace

const TAbschnittDef* AbschnittDefinition(const QString& Formklasse) {
    for (const TAbschnittDef& A : Abschnitte)
        if (Formklasse == QLatin1String(A.Formklasse)) return &A;
    return nullptr;
}

QStringList AbschnittFormklassen() {
    QStringList Liste;
    for (const TAbschnittDef& A : Abschnitte)
        if (QLatin1String(A.Formklasse) != QLatin1String("TZqAnleitung"))
            Liste.append(QString::fromLatin1(A.Formklasse));
    return Liste;
}

const QStringList& ZqBaumTexte() {
    // The texts live once, with their levels, in the main window's node table.
    static const QStringList Texte = [] {
        QStringList t;
        for (const TZqKnoten& k : ZqKnoten)
            t << QString::fromUtf8(k.Text);
        return t;
    }();
    return Texte;
}

bool ZqBaumEintrag(int Index, QString& Formklasse, int& Seite) {
    if (Index < 0 || Index >= ZqBaumAnzahl) return false;
    Formklasse = QString::fromLatin1(BaumZeilen[Index].Formklasse);
    Seite = BaumZeilen[Index].Seite;
    return true;
}

TDeepLink DeepLinkZerlegen(const QString& P, const QStringList& Knotentexte) {
    TDeepLink D;
    if (P.isEmpty()) return D;
    D.Vorhanden = true;
    D.Marke = CodePage::AnsiUpperCase(P).contains(QStringLiteral("KXX"));

    const qsizetype PosA = P.indexOf(QLatin1Char('A'));
    const qsizetype PosUe = P.indexOf(QChar(0x00DC)); // "Ü"
    if (PosA >= 0) {
        // The search text runs to the first "Ü", wherever that stands.
        const qsizetype Ende = PosUe >= 0 ? PosUe : P.size();
        const QString T = Ende > PosA ? P.mid(PosA + 1, Ende - PosA - 1) : QString();
        for (qsizetype i = 0; i < Knotentexte.size(); ++i)
            if (Knotentexte[i].contains(T)) {
                D.Knoten = static_cast<int>(i);
                break;
            }
    }

    D.AutoOeffnen = QStringLiteral("0");
    if (PosUe >= 0) {
        const QString U = P.mid(PosUe + 1);
        if (U == QLatin1String("A"))
            D.AutoOeffnen = QStringLiteral("A");
        else if (U == QLatin1String("B"))
            D.AutoOeffnen = QStringLiteral("B");
        else if (!U.isEmpty())
            D.AutoOeffnen = QStringLiteral("Übung ") + U.trimmed();
    }
    return D;
}
