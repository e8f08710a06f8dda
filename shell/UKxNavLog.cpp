// The log book of the section forms: the panel with its check boxes and
// buttons, the copy of the master log that the panel edits, and saving,
// loading and printing the log.
//
// The log is the one place where the program keeps the pupil's own work:
// a copy goes back to the master only when this showing of the form took
// one, a load replaces the log only when the file was read, and every change
// marks the log as unsaved.
#include "UKxNav.h"

#include "platform/CodePage.h"
#include "platform/ControlsStd.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "richtext/edit/RichPadEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/rtf/RPRTFReaderProperties.h"
#include "shell/USeitenstil.h"

#include <QFile>

namespace {

const QString LogFilter = QStringLiteral("RichText Format Files (*.rtf)|*.rtf");
// The log's dividing line and the line to write on.
const QString Sternzeile(80, u'*');
const QString Schreiblinie(57, u'_');

void SchriftArial16(TControl* C) {
    C->SetParentFont(false);
    C->Font()->SetName(QStringLiteral("Arial"));
    C->Font()->SetHeight(-16);
}

TCheckBox* Kasten(TKxNav* Form, TWinControl* Parent, const char* Name, int Top, int Breite) {
    auto* c = new TCheckBox(Form);
    c->SetName(QString::fromLatin1(Name));
    c->SetParent(Parent);
    c->SetBounds(8, Top, Breite, 17);
    SchriftArial16(c);
    return c;
}

TBitBtn* Knopf(TKxNav* Form, TWinControl* Parent, const char* Name, const QString& Caption, int Links, int Oben,
               int Breite, int Hoehe, bool Gross) {
    auto* b = new TBitBtn(Form);
    b->SetName(QString::fromLatin1(Name));
    b->SetParent(Parent);
    b->SetBounds(Links, Oben, Breite, Hoehe);
    b->SetCaption(Caption);
    // The small buttons beside the label keep to the label's size of text.
    b->SetParentFont(false);
    b->Font()->SetName(Gross ? QStringLiteral("Times New Roman") : QStringLiteral("Arial"));
    b->Font()->SetHeight(Gross ? -19 : -12);
    return b;
}

TSpeedButton* LeistenKnopf(TKxNav* Form, TWinControl* Parent, const char* Name, const QString& Caption, int Links) {
    TSpeedButton* b = KxNavKnopf(Form, Parent, Name, Caption, Links, 203);
    b->SetHint(Caption);
    b->SetShowHint(true);
    return b;
}

// Item bytes of a log line: the log's styles are code page 1252.
std::string LogText(const QString& s) {
    return CodePage::ToCp1252(s);
}

// Whether the file starts as an RTF file does (a log book is never anything else).
bool IstRTFDatei(const QString& Pfad) {
    QFile f(Pfad);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray Anfang = f.read(64).trimmed();
    return Anfang.startsWith("{\\rtf");
}

// Copies a log into another through the suite's own stream format; false
// (the target unchanged) when the target cannot read the stream.
bool LogKopieren(TRichPadEdit* Von, TRichPadEdit* Nach) {
    std::string s;
    Von->SaveRPFToStream(s, false);
    // Read once on the side: a stream the target cannot take leaves it as it was.
    TRichPadEdit Probe(nullptr);
    Probe.SetStyle(Nach->Style());
    Probe.RPFOptions = Nach->RPFOptions;
    Probe.Clear();
    if (!Probe.LoadRPFFromStream(s)) return false;
    Nach->Clear();
    return Nach->LoadRPFFromStream(s);
}

// Writes a log as RTF; false when the file could not be written.
bool LogbuchRTFSchreiben(TRichPadEdit* Log, const QString& Pfad) {
    return Log->SaveRTF(Paths::MapPath(Pfad).toStdString(), false);
}

} // namespace

void TKxNav::LogPanelErzeugen() {
    LogPanel = new TPanel(this);
    LogPanel->SetName(QStringLiteral("LogPanel"));
    LogPanel->SetParent(this);
    LogPanel->SetAlign(alClient);
    LogPanel->SetBevelOuter(bvNone);
    LogPanel->SetCaption(QString());
    LogPanel->SetVisible(false);

    Panel2 = new TPanel(this);
    Panel2->SetName(QStringLiteral("Panel2"));
    Panel2->SetParent(LogPanel);
    Panel2->SetAlign(alTop);
    Panel2->SetHeight(169);
    Panel2->SetColor(static_cast<TColor>(14995896));
    Panel2->SetCaption(QString());
    cbAbschnitt = Kasten(this, Panel2, "cbAbschnitt", 8, 785);
    cbUebung1 = Kasten(this, Panel2, "cbUebung1", 32, 777);
    cbUebung2 = Kasten(this, Panel2, "cbUebung2", 56, 737);
    cbLinie = Kasten(this, Panel2, "cbLinie", 80, 561);
    cbLinie->SetCaption(QString(30, u'_'));
    cbLinie->SetChecked(true);
    LogUebernehmen = Knopf(this, Panel2, "LogUebernehmen", QStringLiteral("übernehmen"), 8, 112, 145, 33, true);
    LogVerwerfen = Knopf(this, Panel2, "LogVerwerfen", QStringLiteral("verwerfen"), 168, 112, 145, 33, true);
    BitBtn1 = Knopf(this, Panel2, "BitBtn1", QStringLiteral("Logbuch schließen"), 328, 112, 169, 33, true);
    Label1 = new TLabel(this);
    Label1->SetName(QStringLiteral("Label1"));
    Label1->SetParent(Panel2);
    Label1->SetLeft(8);
    Label1->SetTop(150);
    SchriftArial16(Label1);
    Label1->SetCaption(QStringLiteral("Die Logbucheintragungen können beliebig bearbeitet / ergänzt werden."));
    BitBtn2 = Knopf(this, Panel2, "BitBtn2", QStringLiteral("Bearbeitet am (Datum)"), 512, 144, 145, 25, false);
    BitBtn3 = Knopf(this, Panel2, "BitBtn3", QString(10, u'*'), 664, 144, 57, 25, false);
    BitBtn4 = Knopf(this, Panel2, "BitBtn4", QString(8, u'_'), 728, 144, 57, 25, false);

    Panel4 = new TPanel(this);
    Panel4->SetName(QStringLiteral("Panel4"));
    Panel4->SetParent(LogPanel);
    Panel4->SetAlign(alBottom);
    Panel4->SetHeight(55);
    Panel4->SetBevelOuter(bvNone);
    Panel4->SetCaption(QString());
    Image2 = new TImage(this);
    Image2->SetName(QStringLiteral("Image2"));
    Image2->SetParent(Panel4);
    Image2->SetAlign(alClient);
    Image2->SetStretch(true);
    Image2->Picture()->LoadFromFile(QStringLiteral(":/hgbuttonliste.png"));
    for (int i = 0; i < 2; ++i) {
        auto* t = new TShape(this);
        t->SetName(QStringLiteral("Shape%1").arg(i + 9));
        t->SetParent(Panel4);
        t->SetBounds(i == 0 ? 218 : 432, 4, 2, 48);
        t->Pen()->SetColor(clSilver);
        t->Brush()->SetColor(clSilver);
    }
    LogbuchSpeichern = LeistenKnopf(this, Panel4, "LogbuchSpeichern", QStringLiteral("Logbuch speichern"), 11);
    LogbuchLaden = LeistenKnopf(this, Panel4, "LogbuchLaden", QStringLiteral("Logbuch laden"), 224);
    LogbuchDrucken = LeistenKnopf(this, Panel4, "LogbuchDrucken", QStringLiteral("Logbuch drucken"), 438);
    // The print component prints the log from here (UKxNav.cpp).

    Panel3 = new TPanel(this);
    Panel3->SetName(QStringLiteral("Panel3"));
    Panel3->SetParent(LogPanel);
    Panel3->SetAlign(alClient);
    Panel3->SetBevelOuter(bvNone);
    Panel3->SetCaption(QString());
    RPStyle2 = SeitenstilErzeugen();
    Logtext = new TRichPadEdit(this);
    Logtext->SetName(QStringLiteral("Logtext"));
    Logtext->SetParent(Panel3);
    Logtext->SetAlign(alClient);
    Logtext->SetStyle(RPStyle2.get());
    LogbuchEinstellen(*Logtext);
    // Every change of the log makes it unsaved.
    Logtext->OnChange = [](TObject*) {
        if (KxNav) KxNav->LogGeaendert = true;
    };

    sd = new TSaveDialog(this);
    sd->SetDefaultExt(QStringLiteral("rtf"));
    sd->SetFilter(LogFilter);
    od = new TOpenDialog(this);
    od->SetDefaultExt(QStringLiteral("rtf"));
    od->SetFilter(LogFilter);

    LogButton->OnClick = [this](TObject* s) { LogButtonClick(s); };
    LogUebernehmen->OnClick = [this](TObject* s) { LogUebernehmenClick(s); };
    LogVerwerfen->OnClick = [this](TObject* s) { LogVerwerfenClick(s); };
    BitBtn1->OnClick = [this](TObject* s) { BitBtn1Click(s); };
    BitBtn2->OnClick = [this](TObject* s) { BitBtn2Click(s); };
    BitBtn3->OnClick = [this](TObject* s) { BitBtn3Click(s); };
    BitBtn4->OnClick = [this](TObject* s) { BitBtn4Click(s); };
    LogbuchSpeichern->OnClick = [this](TObject* s) { LogbuchSpeichernClick(s); };
    LogbuchLaden->OnClick = [this](TObject* s) { LogbuchLadenClick(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

void TKxNav::LogbuchBeginnen(const QString& Titel) {
    LogGeaendert = false;
    Logtext->Clear();
    Logtext->AddText(LogText(Titel), 0, 0);
    Logtext->AddText(LogText(Sternzeile), 0, 0);
    Logtext->Format();
}

bool TKxNav::BeendenErlaubt() {
    if (!LogGeaendert) return true;
    return MessageDlg(
               QStringLiteral(
                   "Das Logbuch wurde noch nicht gespeichert.\rSoll das Programm trotzdem beendet werden ?"),
               mtConfirmation, mbYes | mbNo) == mrYes;
}

void TKxNav::LogPanelZeigen(bool Zeigen) {
    // The page behind the log goes with the button bar: covered by the log,
    // it must not take the focus, by Tab or otherwise, where nothing shows it.
    Seitenplatz->SetVisible(!Zeigen);
    Panel1->SetVisible(!Zeigen);
    LogPanel->SetVisible(Zeigen);
}

void TKxNav::LogButtonClick(TObject*) {
    Panel1->SetVisible(false);
    if (KxNav && KxNav != this) {
        // One style component for all copies: styles that a loaded file adds
        // stay valid in the master.
        Logtext->SetStyle(KxNav->Logtext->Style());
        LogKopieren(KxNav->Logtext, Logtext);
    }
    m_logKopie = true;
    const QString Abschnitt = Caption().mid(10) + QLatin1Char('.');
    QString Titel = Caption();
    for (int i = 0; i < Webbrowserx->ItemCount(); ++i) {
        // Only text items name the section.
        if (Webbrowserx->GetItemStyle(i) < 0) continue;
        const QString t = SeitenText(i);
        if (t.contains(Abschnitt)) {
            Titel = t;
            break;
        }
    }
    cbAbschnitt->SetCaption(Titel);
    cbUebung1->SetCaption(SpeedButton2->Caption());
    cbUebung2->SetCaption(SpeedButton3->Caption());
    cbAbschnitt->SetChecked(true);
    cbUebung1->SetChecked(true);
    cbUebung2->SetChecked(true);
    cbUebung1->SetVisible(!cbUebung1->Caption().isEmpty());
    cbUebung2->SetVisible(!cbUebung2->Caption().isEmpty());
    LogPanelZeigen(true);
    LogPanel->BringToFront();
    Logtext->Format();
}

void TKxNav::LogZeilenAnfuegen(const QStringList& Zeilen) {
    if (KxNav) KxNav->LogGeaendert = true;
    for (const QString& z : Zeilen)
        Logtext->AddText(LogText(z), 0, 0);
    Logtext->Format();
}

void TKxNav::LogUebernehmenClick(TObject*) {
    QStringList Zeilen;
    if (cbAbschnitt->Checked()) Zeilen << cbAbschnitt->Caption();
    if (cbUebung1->Checked() && cbUebung1->Visible()) Zeilen << Caption() + QStringLiteral(", ") + cbUebung1->Caption();
    if (cbUebung2->Checked() && cbUebung2->Visible()) Zeilen << Caption() + QStringLiteral(", ") + cbUebung2->Caption();
    if (cbLinie->Checked()) Zeilen << Schreiblinie;
    LogZeilenAnfuegen(Zeilen);
}

void TKxNav::BitBtn2Click(TObject*) {
    LogZeilenAnfuegen({QStringLiteral("Bearbeitet am ") + Heute().toString(QStringLiteral("dd.MM.yyyy"))});
}

void TKxNav::BitBtn3Click(TObject*) {
    LogZeilenAnfuegen({Sternzeile});
}

void TKxNav::BitBtn4Click(TObject*) {
    LogZeilenAnfuegen({Schreiblinie});
}

void TKxNav::LogVerwerfenClick(TObject*) {
    LogPanelZeigen(false);
    // Only the panel goes: the copy, with what the pupil took over, still
    // goes back to the master when the form closes.
}

void TKxNav::LogZurueckgeben() {
    if (!m_logKopie || !KxNav || KxNav == this) return;
    m_logKopie = false;
    if (LogKopieren(Logtext, KxNav->Logtext)) return;
    // The master could not take the copy: the pupil's entries of this section
    // must not go without a word, and may still be kept as a file.
    if (MessageDlg(
            QStringLiteral("Die Logbucheintragungen dieses Abschnitts konnten nicht in das Logbuch "
                           "übernommen werden.\rSollen sie in einer eigenen Datei gespeichert werden ?"),
            mtWarning, mbYes | mbNo) != mrYes)
        return;
    while (sd->Execute() && !LogbuchRTFSchreiben(Logtext, sd->FileName()))
        MessageDlg(QStringLiteral("Das Logbuch konnte nicht gespeichert werden:\r") + sd->FileName(), mtError,
                   mbOK);
}

void TKxNav::BitBtn1Click(TObject*) {
    LogPanelZeigen(false);
    LogZurueckgeben();
}

void TKxNav::FormClose(TObject*, TCloseAction&) {
    LogPanelZeigen(false);
    // Only a copy taken in this showing goes back; the empty log of a form
    // whose log button was not used must not wipe the master.
    LogZurueckgeben();
}

void TKxNav::LogbuchSpeichernClick(TObject*) {
    if (!sd->Execute()) return;
    if (LogbuchRTFSchreiben(Logtext, sd->FileName())) {
        if (KxNav) KxNav->LogGeaendert = false;
    } else {
        MessageDlg(QStringLiteral("Das Logbuch konnte nicht gespeichert werden:\r") + sd->FileName(), mtError, mbOK);
    }
}

void TKxNav::LogbuchLadenClick(TObject*) {
    if (KxNav && KxNav->LogGeaendert)
        MessageDlg(QStringLiteral("Das aktuelle Logbuch wurde noch nicht gespeichert.\rWenn jetzt ein Logbuch geladen "
                                  "wird, gehen die \raktuellen Logbucheintragungen verloren."),
                   mtWarning, mbOK);
    if (!od->Execute()) return;
    // Read into a document of its own: a file that cannot be read leaves the log as it is.
    TRichPadEdit Gelesen(nullptr);
    Gelesen.SetStyle(Logtext->Style());
    Gelesen.RPFOptions = Logtext->RPFOptions;
    Gelesen.SetRTFReadProperties(Logtext->GetRTFReadProperties());
    Gelesen.Clear();
    const QString Pfad = Paths::MapPath(od->FileName());
    int Ergebnis = rtfCannotOpen;
    try {
        // A log the pupil emptied is written as a document without
        // paragraphs: read, it is an empty log, not a failure.
        if (IstRTFDatei(Pfad)) Ergebnis = Gelesen.RPData()->LoadRTF(Pfad.toStdString());
    } catch (...) {
        Ergebnis = rtfException;
    }
    // A save cut short ends inside the document's group, perhaps right after a
    // backslash: the entries read up to the cut are the pupil's and are kept,
    // but the file is no whole log.
    const bool Abgeschnitten = Ergebnis == rtfUnmatchedBrace || Ergebnis == rtfEndOfFile;
    const bool Unvollstaendig = Abgeschnitten && Gelesen.ItemCount() > 0;
    const bool ok = (Ergebnis == rtfOK || Unvollstaendig) && LogKopieren(&Gelesen, Logtext);
    if (!ok) {
        MessageDlg(QStringLiteral("Das Logbuch konnte nicht geladen werden:\r") + od->FileName(), mtError, mbOK);
        return;
    }
    Logtext->Format();
    // An incomplete file stays unsaved, so that saving writes a whole log again.
    if (KxNav) KxNav->LogGeaendert = Unvollstaendig;
    if (Unvollstaendig)
        MessageDlg(QStringLiteral("Das Logbuch war unvollständig. Geladen wurde, was gelesen werden konnte:\r") +
                       od->FileName(),
                   mtWarning, mbOK);
}

