#pragma once
// The navigation tables of the program: the pages of each section form, the
// nodes of the contents tree and the section each node opens.
#include <QString>
#include <QStringList>

// One page of a section form.
struct TAbschnitt {
    QString Uebung1; // caption of exercise button 1
    QString Uebung2; // caption of exercise button 2, empty when the page has none
    QString Datei;   // RTF file, relative to the data folder "dateien"
};

constexpr int MaxSeiten = 20;

// A page of a section as the section forms define it, with the exercise form
// classes behind its two buttons (empty: the button opens nothing).
struct TSeitenDef {
    const char* Datei;
    const char* Uebung1;
    const char* Klasse1;
    const char* Uebung2;
    const char* Klasse2;
};

struct TAbschnittDef {
    const char* Formklasse;   // "TZqK1_1" ...
    const char* Caption;      // "Abschnitt 1.1" ...
    int Seitenanzahl;         // pages that stepping reaches
    const TSeitenDef* Seiten; // the defined pages (may exceed the page count)
    int SeitenDefiniert;
};

// The definition of a section form (or "TZqAnleitung"), or nullptr.
const TAbschnittDef* AbschnittDefinition(const QString& Formklasse);
// The twelve section forms in tree order.
QStringList AbschnittFormklassen();

// The 51 node texts of the contents tree, in tree order.
const QStringList& ZqBaumTexte();
constexpr int ZqBaumAnzahl = 51;

// The section form and start page of a tree node; false for an index outside 0 .. 50.
bool ZqBaumEintrag(int Index, QString& Formklasse, int& Seite);

// A command-line deep link taken apart.
struct TDeepLink {
    bool Vorhanden = false; // a non-empty parameter
    bool Marke = false;     // "KXX" in the upper-cased parameter
    int Knoten = 0;         // the node to open; 0 opens nothing
    QString AutoOeffnen;    // "0", "A", "B" or "Übung " + n
};
TDeepLink DeepLinkZerlegen(const QString& Parameter, const QStringList& Knotentexte);
