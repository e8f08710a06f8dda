#include "app/Programmstart.h"

#include "exercises/chapter1/RegisterChapter1.h"
#include "exercises/chapter2/RegisterChapter2.h"
#include "exercises/chapter3/RegisterChapter3.h"
#include "imaging/RegisterImaging.h"
#include "platform/Application.h"
#include "platform/Fonts.h"
#include "shell/UNavigation.h"
#include "shell/UZq.h"

void ProgrammUmgebungVorbereiten() {
    PrepareGermanLocale();
}

void ProgrammVorbereiten() {
    RegisterProgramFonts();
    RegisterImagingFormats();
    Application()->Initialize();
    Application()->SetTitle(QStringLiteral("Pravolin - Grundschule"));
    Application()->CreateForm(Zq);
    ShellFormulareErzeugen();
    RegisterChapter1Exercises();
    RegisterChapter2Exercises();
    RegisterChapter3Exercises();
}
