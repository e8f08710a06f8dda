// Pairs of equal terms that a computer-algebra system generated (scripts/
// make_term_pairs.py): factored against expanded, commuted, with extra
// brackets, powers and factorials of bracket groups anywhere in the term.
#include "term/UTerm.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

namespace {

struct tPaar {
    std::string Schueler, Anders, Geaendert;
};

// The file is UTF-8; the term engine reads code page 1252, where "²" and "³"
// are the Latin-1 bytes.
std::vector<tPaar> PaareLesen() {
    std::vector<tPaar> paare;
    QFile f(QStringLiteral(PRAVOLIN_SOURCE_DIR "/tests/term/Termpaare.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return paare;
    for (const QString& zeile : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        QStringList t = zeile.split(u'\t');
        if (t.size() == 3)
            paare.push_back({t[0].toLatin1().toStdString(), t[1].toLatin1().toStdString(),
                             t[2].toLatin1().toStdString()});
    }
    return paare;
}

tUrteil Pruefen(const std::string& Antwort, const std::string& Loesung, bool& Richtig) {
    tUrteil u;
    ErgebnisPruefen2(Antwort, Loesung, u, 50, 'c', Richtig, 0, 0);
    return u;
}

} // namespace

TEST(Termpaare, EqualTermsAreRightAndChangedOnesWrong) {
    PruefZufallFestlegen(true, 1818);
    const std::vector<tPaar> paare = PaareLesen();
    ASSERT_EQ(paare.size(), 320u);
    for (const tPaar& p : paare) {
        bool richtig = false;
        tUrteil u = Pruefen(p.Schueler, p.Anders, richtig);
        EXPECT_TRUE(richtig && u.Code == Ergebniscode::Richtig) << p.Schueler << " = " << p.Anders << ": "
                                                                 << u.Text.toStdString();
        u = Pruefen(p.Geaendert, p.Anders, richtig);
        EXPECT_FALSE(richtig) << p.Geaendert << " != " << p.Anders;
        EXPECT_EQ(u.Text, QStringLiteral("Leider falsch")) << p.Geaendert << " != " << p.Anders;
    }
    PruefZufallFestlegen(false);
}
