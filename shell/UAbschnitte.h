#pragma once
// The twelve section forms and the instructions. Each fills its page table from
// the section tables and opens the exercise forms of its pages by class name.
#include "shell/UKxNav.h"

#include <memory>

class TAbschnittsform : public TKxNav {
public:
    TAbschnittsform(TComponent* AOwner, const char* Formklasse);
    QString ClassName() const override { return QString::fromLatin1(m_def->Formklasse); }
    void SeitenEinrichten() override;
    void SpeedButton2Click(TObject* Sender) override;
    void SpeedButton3Click(TObject* Sender) override;

protected:
    const TAbschnittDef* m_def;
};

#define PRAVOLIN_ABSCHNITTSFORM(Klasse)                                                                      \
    class Klasse : public TAbschnittsform {                                                                  \
    public:                                                                                                  \
        explicit Klasse(TComponent* AOwner) : TAbschnittsform(AOwner, #Klasse) {}                            \
    };
PRAVOLIN_ABSCHNITTSFORM(TZqK1_1)
PRAVOLIN_ABSCHNITTSFORM(TZqK1_2)
PRAVOLIN_ABSCHNITTSFORM(TZqK1_3)
PRAVOLIN_ABSCHNITTSFORM(TZqK1_4)
PRAVOLIN_ABSCHNITTSFORM(TZqK2_1)
PRAVOLIN_ABSCHNITTSFORM(TZqK2_2)
PRAVOLIN_ABSCHNITTSFORM(TZqK2_3)
PRAVOLIN_ABSCHNITTSFORM(TZqK2_4)
PRAVOLIN_ABSCHNITTSFORM(TZqK2_5)
PRAVOLIN_ABSCHNITTSFORM(TZqK2_6)
PRAVOLIN_ABSCHNITTSFORM(TZqK3_1)
PRAVOLIN_ABSCHNITTSFORM(TZqK3_2)
#undef PRAVOLIN_ABSCHNITTSFORM

// The instructions: a section form whose exercise buttons open nothing.
class TZqAnleitung : public TKxNav {
public:
    explicit TZqAnleitung(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqAnleitung"); }
    void SeitenEinrichten() override;
};

extern TZqAnleitung* ZqAnleitung;

// A new section form of that class ("TZqK1_3"), or nullptr.
TKxNav* AbschnittsformErzeugen(const QString& Formklasse, TComponent* AOwner);

// Creates the section form with the application as owner, shows it modally and
// releases it when it closes. False for an unknown class, or while a form of that
// class is already open.
bool AbschnittOeffnen(const QString& Formklasse);
// The open section form of that class, or nullptr.
TKxNav* OffenerAbschnitt(const QString& Formklasse);
