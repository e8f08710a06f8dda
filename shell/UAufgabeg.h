#pragma once
// The base form of every exercise: the task page, the bottom button bar with the
// task counter, the on-screen keypad on the right, and at activation the setup
// switches and the window scaling.
#include "platform/ControlsExt.h"
#include "platform/ControlsStd.h"
#include "platform/Forms.h"
#include "shell/UArbeitsblatt.h"

#include <cstdint>
#include <utility>
#include <vector>

class TAufgabeg : public TForm {
public:
    explicit TAufgabeg(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TAufgabeg"); }

    TPageControl* B_PageControl1 = nullptr;
    TTabSheet* TSAufgabe = nullptr;
    TTabSheet* TSHelp = nullptr;
    TTabSheet* TSUser1 = nullptr;
    TScrollBox* B_ScrollBox = nullptr; // the exercise's own controls sit here
    TShape* B_ShapeFormgroesse = nullptr;
    TImage* Druckimage = nullptr;
    TImage* Screenimage = nullptr;
    TMemo* B_Scriptmemo = nullptr;

    TPanel* B_BtnPanel = nullptr;
    TImage* B_BtnPanelBild = nullptr;
    TSpeedButton* B_NeueAufgabe = nullptr;
    TSpeedButton* B_Neuer_Typ = nullptr;
    TSpeedButton* B_BtnAufgabenNr = nullptr;
    TSpeedButton* B_speichern = nullptr;
    TSpeedButton* B_drucken = nullptr;
    TSpeedButton* B_Kurvenwerk = nullptr;
    TSpeedButton* B_Raumschau = nullptr;
    TSpeedButton* B_Taschenrechner = nullptr;
    TSpeedButton* B_weitere_Werkzeuge = nullptr;
    TSpeedButton* ProgrammEnde = nullptr;

    // The keypad panel and its two pages.
    TPanel* B_Tastatur = nullptr;
    TPageControl* B_PageControl2 = nullptr;
    TTabSheet* B_TS_Tastatur1 = nullptr;
    TTabSheet* B_TS_Tastatur3 = nullptr;
    TImage* B_TastaturBild = nullptr;
    TSpeedButton* SpeedButtonLinks = nullptr;
    TSpeedButton* SpeedButtonRechts = nullptr;
    TSpeedButton* SpeedButtonClearZ = nullptr;
    TSpeedButton* SpeedButtonZ[10] = {}; // SpeedButtonZ0 .. SpeedButtonZ9
    TSpeedButton* SpeedButtonKomma = nullptr;
    TSpeedButton* SpeedButtonReturn = nullptr;
    TSpeedButton* B_Termlotse = nullptr;
    TSpeedButton* B_Zufallslotse = nullptr;
    TSpeedButton* B_Bildkalk = nullptr;
    TSpeedButton* B_Skizzbrett = nullptr;
    TSpeedButton* B_Findeling = nullptr;
    TSpeedButton* B_Lichtstudio = nullptr;
    TSpeedButton* B_zurueck_zur_Tastatur = nullptr;

    // The number of tasks; each exercise sets it in NeueAufgabe before calling the base.
    int32_t Aufgabenanzahl = 1;

    // The activation of every exercise form; overrides call it first.
    virtual void FormActivate(TObject* Sender);
    // Shows the task page and advances the task counter; every exercise overrides it.
    virtual void NeueAufgabe();
    void B_NeueAufgabeClick(TObject* Sender);
    void ProgrammEndeClick(TObject* Sender);
    void FormMouseWheelDown(TObject* Sender);
    void FormMouseWheelUp(TObject* Sender);
    void SpeedButton1hhMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SpeedButton1hhMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void SpeedButtonLinksClick(TObject* Sender);
    void B_weitere_WerkzeugeClick(TObject* Sender);
    void B_zurueck_zur_TastaturClick(TObject* Sender);

    // Splits a colour (system colours and "no colour" resolved first) into its parts.
    static void FarbeInRGB(TColor Farbe, int& R, int& G, int& B);

    // Companion tools (UWerkzeuge.cpp). The path of a tool below StartPfad,
    // with its folder; the launchers answer whether the tool was there.
    QString WerkzeugPfad(int Index, QString* Ordner = nullptr) const;
    bool KurvenwerkStarten(bool Skriptimport);
    bool RaumschauStarten(bool Skriptimport);
    bool TermlotseStarten(bool Skriptimport, int Modus);
    bool TaschenrechnerStarten();
    bool ZufallslotseStarten();
    bool WerkzeugStarten(int Index);
    void B_KurvenwerkClick(TObject* Sender);
    void B_druckenClick(TObject* Sender);
    // How long the button bar rests after a tool button, in milliseconds.
    static constexpr uint32_t WerkzeugPause = 1000;

    // The screenshot of the task page (UArbeitsblatt.cpp); false when none
    // reached the clipboard. The form looks as before in any case.
    void B_speichernClick(TObject* Sender);
    bool ScreenshotErstellen();
    bool BildInZwischenablage();
    std::vector<TSteuerzustand> Steuerzustaende;

    // A place or size of the form's design in the window's scale. What an
    // exercise moves or resizes after activation goes through here, so that it
    // lands where the scaled design has it, to the pixel.
    int Skaliert(int Entwurf) const;

    int32_t AufgabenNrWert() const { return AufgabenNr; }
    int32_t SkalierungZaehlerWert() const { return SkalierungZaehler; }
    int32_t SkalierungNennerWert() const { return SkalierungNenner; }
    // The virtual key a keypad key sends, 0 for other senders.
    uint16_t TastenCode(TObject* Sender) const;

protected:
    int32_t AufgabenNr = 0;
    int32_t SkalierungZaehler = 1;
    int32_t SkalierungNenner = 1;
    int32_t TermlotseModus = 5;
    QString StartPfad;
    QString Arbeitsverzeichnis;

private:
    // Every scaling the controls went through, M/D in order.
    std::vector<std::pair<int, int>> Skalierschritte;
    void Skalieren();
    void Zentrieren();
    bool WerkzeugAufrufen(int Index, const QString& Parameter);
    // Hides the buttons of tools that are not installed.
    void WerkzeugknoepfeEinrichten();
    // The drawing script onto the clipboard, unless a picture waits there.
    void SkriptAnbieten();
};

// Waits the given milliseconds while the program stays responsive.
void Verzoegerung(uint32_t Millisekunden);
// The height of the task bar at the bottom of the screen, -1 when there is none.
int TaskleistenHoehe();
