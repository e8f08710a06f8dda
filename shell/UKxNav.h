#pragma once
// The base of every section form and of the instructions: one page of a section
// at a time, page stepping and the two exercise buttons of the page.
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Forms.h"
#include "shell/UAbschnittstabellen.h"

#include <QDate>
#include <QStringList>

#include <functional>
#include <memory>

class TRPStyle;
class TCustomRichPad;
class TRichPadEdit;
class TRPPrint;
class TPrinterSetupDialog;
class TCheckBox;
class TBitBtn;
class TLabel;
class TOpenDialog;
class TSaveDialog;

class TKxNav : public TForm {
public:
    explicit TKxNav(TComponent* AOwner);
    ~TKxNav() override;
    QString ClassName() const override { return QStringLiteral("TKxNav"); }

    // Where the page view sits.
    TPanel* Seitenplatz = nullptr;
    // The page view, read-only; its style component RPStyle1.
    TRichPadEdit* Webbrowserx = nullptr;
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
    // Prints the page and the log: margins of 20 mm.
    TRPPrint* RPPrint1 = nullptr;
    TPrinterSetupDialog* psd = nullptr;

    // ---- the log panel (UKxNavLog.cpp)
    TPanel* LogPanel = nullptr;
    TPanel* Panel2 = nullptr;
    TCheckBox* cbAbschnitt = nullptr;
    TCheckBox* cbUebung1 = nullptr;
    TCheckBox* cbUebung2 = nullptr;
    TCheckBox* cbLinie = nullptr;
    TBitBtn* LogUebernehmen = nullptr;
    TBitBtn* LogVerwerfen = nullptr;
    TBitBtn* BitBtn1 = nullptr; // "Logbuch schließen"
    TLabel* Label1 = nullptr;
    TBitBtn* BitBtn2 = nullptr; // the date
    TBitBtn* BitBtn3 = nullptr; // a line of stars
    TBitBtn* BitBtn4 = nullptr; // a line to write on
    TPanel* Panel3 = nullptr;
    // The log: in KxNav the master log, in a section form its copy.
    TRichPadEdit* Logtext = nullptr;
    std::unique_ptr<TRPStyle> RPStyle2;
    TPanel* Panel4 = nullptr;
    TImage* Image2 = nullptr;
    TSpeedButton* LogbuchSpeichern = nullptr;
    TSpeedButton* LogbuchLaden = nullptr;
    TSpeedButton* LogbuchDrucken = nullptr;
    TSaveDialog* sd = nullptr;
    TOpenDialog* od = nullptr;
    // Today, for the date button (tests set a day of their own).
    std::function<QDate()> Heute = [] { return QDate::currentDate(); };

    // Pages 1 .. MaxSeiten; index 0 is unused.
    TAbschnitt Seite[MaxSeiten + 1];
    int Seitenanzahl = 1;
    int AktSeite = 1;
    // Used in KxNav only: the deep link's exercise choice and the log state.
    QString AutoOeffnen;
    bool LogGeaendert = false;

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
    // The text of page item Nr (empty for a number out of range).
    QString SeitenText(int Nr) const;
    // Starts the program a jump text names at its place; true when started.
    bool SeitenSprungStarten(const QString& Sprungtext);
    // Row 1 .. 46 of the family table below the install root: the program's
    // path and its folder; false for another row or a missing folder.
    bool ProgrammPfad(int Zeile, QString& Pfad, QString& Ordner) const;

    // Starts the master log: the heading as given, then a line of stars.
    void LogbuchBeginnen(const QString& Titel);
    // Whether the program may end; asks when the log is unsaved.
    bool BeendenErlaubt();

    void LogButtonClick(TObject* Sender);
    void LogUebernehmenClick(TObject* Sender);
    void LogVerwerfenClick(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void LogbuchSpeichernClick(TObject* Sender);
    void LogbuchLadenClick(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    // Whether this showing took a copy of the master log that goes back at the end.
    bool LogKopieGenommen() const { return m_logKopie; }

private:
    // The first row whose program path holds Name.
    bool GeschwisterSuchen(const QString& Name, QString& Pfad, QString& Ordner) const;
    QString m_seitenPfad;
    bool m_logKopie = false;
    void LogPanelErzeugen();
    // The log panel in place of the page and its button bar, or back.
    void LogPanelZeigen(bool Zeigen);
    // Adds paragraphs to the log copy and lays it out; the log becomes unsaved.
    void LogZeilenAnfuegen(const QStringList& Zeilen);
    // Hands the copy back to the master log.
    void LogZurueckgeben();
    // Paginates Quelle and prints every page; a failure is reported to the pupil.
    void Drucken(TCustomRichPad* Quelle, const QString& Titel);
};

// The instance that lives for the whole run and is never shown: it holds the
// master log and hands the requested start page and the auto-open text to the
// next section form.
extern TKxNav* KxNav;
// The shell's own application directory, set at every section-form activation.
extern QString Anwendungsverzeichnis;

// A button of the section form's bars: flat, bold teal "Times New Roman".
TSpeedButton* KxNavKnopf(TKxNav* Form, TWinControl* Parent, const char* Name, const QString& Caption, int Links,
                         int Breite);
