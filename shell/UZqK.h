#pragma once
// The chapter selection and the three chapter forms that lead to the sections.
#include "platform/ControlsStd.h"
#include "platform/Forms.h"

class TZqK : public TForm {
public:
    explicit TZqK(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TZqK"); }
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
};

// A chapter form: one button per section of the chapter and "Zurück".
class TZqKapitel : public TForm {
public:
    TZqKapitel(TComponent* AOwner, int Kapitel);
    QString ClassName() const override { return QStringLiteral("TZqK%1").arg(m_kapitel); }
    TButton* Button[7] = {}; // Button1 .. Button6; index 0 unused
    TBitBtn* BitBtn1 = nullptr;

private:
    int m_kapitel;
};

class TZqK1 : public TZqKapitel {
public:
    explicit TZqK1(TComponent* AOwner) : TZqKapitel(AOwner, 1) {}
};
class TZqK2 : public TZqKapitel {
public:
    explicit TZqK2(TComponent* AOwner) : TZqKapitel(AOwner, 2) {}
};
class TZqK3 : public TZqKapitel {
public:
    explicit TZqK3(TComponent* AOwner) : TZqKapitel(AOwner, 3) {}
};

extern TZqK* ZqK;

// Creates the chapter form (1 to 3) with the application as owner, shows it
// modally and releases it. False for another number or while it is open.
bool KapitelOeffnen(int Kapitel);
// The open chapter form, or nullptr.
TZqKapitel* OffenesKapitel(int Kapitel);
