#pragma once
// The base of every section form and of the instructions: one page of a section
// at a time, page stepping and the two exercise buttons of the page.
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Forms.h"
#include "shell/UAbschnittstabellen.h"

#include <QStringList>

#include <memory>

class TRPStyle;
class TRichPad;
class TCustomRichPad;
class TRPPrint;
class TPrinterSetupDialog;

class TKxNav : public TForm {
public:
    explicit TKxNav(TComponent* AOwner);
    ~TKxNav() override;
    QString ClassName() const override { return QStringLiteral("TKxNav"); }

    // Where the page view sits.
    TPanel* Seitenplatz = nullptr;
    // The page view, read-only; its style component RPStyle1.
    TRichPad* Webbrowserx = nullptr;
    std::unique_ptr<TRPStyle> RPStyle1;
    TPanel* Panel1 = nullptr;
    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr; // "Zurück"
    TSpeedButton* SpeedButton4 = nullptr; // " zurück"
    TSpeedButton* SpeedButton5 = nullptr; // "vor "
    TSpeedButton* SpeedButton2 = nullptr; // first exercise of the page
    TSpeedButton* SpeedButton3 = nullptr; // second exercise of the page
    TSpeedButton* SpeedButton7 = nullptr; // prints the page
    TSpeedButton* LogButton = nullptr;
    TPanel* LogPanel = nullptr;
    TSpeedButton* LogbuchDrucken = nullptr;
    // Prints the page and the log: margins of 20 mm.
    TRPPrint* RPPrint1 = nullptr;
    TPrinterSetupDialog* psd = nullptr;

    // Pages 1 .. MaxSeiten; index 0 is unused.
    TAbschnitt Seite[MaxSeiten + 1];
    int Seitenanzahl = 1;
    int AktSeite = 1;
    // Used in KxNav only: the deep link's exercise choice and the log state.
    QString AutoOeffnen;
    bool LogGeaendert = false;
    // The master log until the rich-text log control takes its place.
    QStringList Logtext;

    // Fills the page table; section forms call this first, then set their pages.
    virtual void SeitenEinrichten();
    void FormActivate(TObject* Sender);
    void SeiteAnzeigen();
    // Every picture of the page sits in the middle of its line, a little raised.
    void BilderAusrichten();
    // The page file of the current page, relative to the data folder.
    QString SeitenDatei() const;
    // The path the current page is loaded from, empty when the file is in neither
    // the data folder nor the fallback folder.
    QString SeitenPfad() const { return m_seitenPfad; }

    void SpeedButton1Click(TObject* Sender);
    void SpeedButton4Click(TObject* Sender);
    void SpeedButton5Click(TObject* Sender);
    virtual void SpeedButton2Click(TObject* Sender);
    virtual void SpeedButton3Click(TObject* Sender);
    // Prints the shown page, and the log book.
    void SpeedButton7Click(TObject* Sender);
    void LogbuchDruckenClick(TObject* Sender);

    // Page jumps to the family's other programs (USeitenSprung.cpp). The page
    // view's jump event lands here and starts what the jump's text names.
    void WebbrowserxJump(TObject* Sender, int SprungNr);
    // The text of the page item that carries the jump.
    QString SprungText(int SprungNr) const;
    // Starts the program a jump text names at its place; true when started.
    bool SeitenSprungStarten(const QString& Sprungtext);
    // Row 1 .. 46 of the family table below the install root: the program's
    // path and its folder; false for another row or a missing folder.
    bool ProgrammPfad(int Zeile, QString& Pfad, QString& Ordner) const;

    // Starts the master log: the heading as given, then a line of stars.
    void LogbuchBeginnen(const QString& Titel);
    // Whether the program may end; asks when the log is unsaved.
    bool BeendenErlaubt();

private:
    // The first row whose program path holds Name.
    bool GeschwisterSuchen(const QString& Name, QString& Pfad, QString& Ordner) const;
    // Shows the page whose button carries the exercise caption and clicks it.
    bool UebungAufAndererSeite(const QString& Gross);
    QString m_seitenPfad;
    // Paginates Quelle and prints every page; a failure is reported to the pupil.
    void Drucken(TCustomRichPad* Quelle, const QString& Titel);
};

// The instance that lives for the whole run and is never shown: it holds the
// master log and hands the requested start page and the auto-open text to the
// next section form.
extern TKxNav* KxNav;
// The shell's own application directory, set at every section-form activation.
extern QString Anwendungsverzeichnis;
