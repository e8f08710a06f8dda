#pragma once
// Helpers of the shell tests: watching the modal forms the shell opens by
// itself, and a small exercise form to register.
#include "platform/Application.h"
#include "platform/CodePage.h"
#include "platform/Forms.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPUnicode.h"
#include "shell/ExerciseRegistry.h"
#include "shell/UAufgabeg.h"
#include "shell/UKxNav.h"
#include "shell/UNavigation.h"
#include "term/USetup.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// The paragraphs of a log, one string each.
inline QStringList LogZeilen(const TRichPadEdit* Log) {
    QStringList z;
    for (int i = 0; i < Log->ItemCount(); ++i) {
        const TCustomRPItemInfo* it = Log->GetItem(i);
        const QString t = it->StyleNo >= 0 ? ItemTextToQString(Log->GetItemText(i), it->ItemOptions, CodePage::CP_1252) : QStringLiteral("#");
        if (i == 0 || !it->GetContinuesPrev())
            z << t;
        else
            z.back() += t;
    }
    return z;
}

// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Runs Handler for every form that becomes the active form while the watcher
// lives, after the form's activation has run; a form is handled again when it
// comes back on top after another one. The handler usually closes the form.
class ModalBeobachter {
public:
    explicit ModalBeobachter(std::function<void(TForm*)> Handler) : m_handler(std::move(Handler)) {
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { Pruefen(); });
        m_timer.start();
    }
    ~ModalBeobachter() { m_timer.stop(); }

private:
    void Pruefen() {
        TForm* f = Screen()->ActiveForm();
        if (!f || Erledigt(f)) {
            m_kandidat = nullptr;
            return;
        }
        if (f != m_kandidat) {
            m_kandidat = f;
            m_runden = 0;
            return;
        }
        // A few rounds on top: its activation has run.
        if (++m_runden < 3) return;
        m_zuletzt = {f, f->AliveToken()};
        m_kandidat = nullptr;
        // Outside this timer's slot, so that forms the handler opens are watched too.
        std::weak_ptr<void> Lebt = f->AliveToken();
        QTimer::singleShot(0, &m_timer, [this, f, Lebt] {
            if (!Lebt.expired()) m_handler(f);
        });
    }
    bool Erledigt(TForm* f) const { return m_zuletzt.first == f && !m_zuletzt.second.expired(); }

    std::function<void(TForm*)> m_handler;
    QTimer m_timer;
    TForm* m_kandidat = nullptr;
    int m_runden = 0;
    std::pair<TForm*, std::weak_ptr<void>> m_zuletzt;
};

// Runs Aktion and records every form that shows up meanwhile, closing each:
// "class page" of section forms, the registered class of exercise forms.
inline std::vector<QString> FormenProtokoll(const std::function<void()>& Aktion) {
    std::vector<QString> Formen;
    ModalBeobachter b([&](TForm* f) {
        QString Eintrag = f->ClassName();
        if (auto* n = dynamic_cast<TKxNav*>(f)) Eintrag += QStringLiteral(" %1").arg(n->AktSeite);
        for (const QString& k : AufgabenKlassen())
            if (OffeneAufgabe(k) == f) Eintrag = k;
        Formen.push_back(Eintrag);
        f->Close();
    });
    Aktion();
    return Formen;
}

// An exercise with a counter of three tasks, an answer box whose Enter counts
// as a check, and help, solution and check buttons.
class TTestAufgabe : public TAufgabeg {
public:
    explicit TTestAufgabe(TComponent* AOwner) : TAufgabeg(AOwner) {
        Antwort = new TEdit(this);
        Antwort->SetName(QStringLiteral("RichEdit1"));
        Antwort->SetParent(B_ScrollBox);
        Antwort->SetBounds(20, 20, 200, 30);
        Antwort->OnKeyPress = [this](TObject*, char16_t& Key) {
            if (Key == 13) {
                ++Pruefungen;
                Key = 0;
            }
        };
        for (const char* Caption : {"Hilfe", "Lösung", "Ergebnis 1", "Hilfe zur Lösung", "prüfen"}) {
            auto* b = new TBitBtn(this);
            b->SetName(QStringLiteral("Knopf%1").arg(Knoepfe.size()));
            b->SetParent(B_ScrollBox);
            b->SetCaption(QString::fromUtf8(Caption));
            Knoepfe.push_back(b);
        }
        Tempo = new TSpeedButton(this);
        Tempo->SetParent(B_ScrollBox);
        Tempo->SetCaption(QStringLiteral("Lösung"));
    }
    QString ClassName() const override { return QStringLiteral("TTestAufgabe"); }
    void FormActivate(TObject* Sender) override {
        ++Aktivierungen;
        TAufgabeg::FormActivate(Sender);
        NeueAufgabe();
    }
    void NeueAufgabe() override {
        Aufgabenanzahl = 3;
        TAufgabeg::NeueAufgabe();
        Antwort->SetText(QString());
        Antwort->SetFocus();
    }

    TEdit* Antwort = nullptr;
    std::vector<TBitBtn*> Knoepfe;
    TSpeedButton* Tempo = nullptr;
    int Pruefungen = 0;
    int Aktivierungen = 0;
};

// Sets FSetup for a test and resets it afterwards. Section forms read the file
// again at activation; exercise forms shown directly see this record.
class SetupScope {
public:
    SetupScope() { FSetupZuruecksetzen(QString()); }
    ~SetupScope() { FSetupZuruecksetzen(QString()); }
};

// The forms that live for the whole run, created once behind a stand-in main
// window (closing the main window would end the run).
inline void ShellFormenEinrichten() {
    Application()->ResetTerminated();
    if (!Application()->MainForm()) {
        auto* Haupt = new TForm(Application());
        Haupt->SetName(QStringLiteral("Hauptfenster"));
        Application()->SetMainForm(Haupt);
    }
    if (!KxNav) ShellFormulareErzeugen();
    KxNav->AktSeite = 1;
    KxNav->AutoOeffnen.clear();
}

// Tests of section forms: the forms of the whole run are there; exercises
// registered by a test and a waiting exercise choice go with it.
class AbschnittsTest : public ::testing::Test {
protected:
    void SetUp() override { ShellFormenEinrichten(); }
    void TearDown() override {
        for (const QString& k : AufgabenKlassen())
            AufgabeAbmelden(k);
        KxNav->AutoOeffnen.clear();
    }
};
