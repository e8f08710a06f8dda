#include "exercises/chapter1/RegisterChapter1.h"

#include "exercises/chapter1/UZqK1_1A1.h"
#include "exercises/chapter1/UZqK1_1A2.h"
#include "exercises/chapter1/UZqK1_1B1.h"
#include "exercises/chapter1/UZqK1_1C1.h"
#include "exercises/chapter1/UZqK1_1D1.h"
#include "exercises/chapter1/UZqK1_2A1.h"
#include "exercises/chapter1/UZqK1_2B1.h"
#include "exercises/chapter1/UZqK1_2C1.h"
#include "exercises/chapter1/UZqK1_3A1.h"
#include "exercises/chapter1/UZqK1_3B1.h"
#include "exercises/chapter1/UZqK1_3C1.h"
#include "exercises/chapter1/UZqK1_3D1.h"
#include "exercises/chapter1/UZqK1_3E1.h"
#include "exercises/chapter1/UZqK1_3F1.h"
#include "exercises/chapter1/UZqK1_4A1.h"
#include "exercises/chapter1/UZqK1_4B1.h"
#include "exercises/chapter1/UZqK1_3G1.h"
#include "exercises/chapter1/UZqK1_3H1.h"
#include "shell/ExerciseRegistry.h"

void RegisterChapter1Exercises() {
    AufgabeRegistrieren<TZqK1_1A1>(QStringLiteral("TZqK1_1A1"));
    AufgabeRegistrieren<TZqK1_1A2>(QStringLiteral("TZqK1_1A2"));
    AufgabeRegistrieren<TZqK1_1B1>(QStringLiteral("TZqK1_1B1"));
    AufgabeRegistrieren<TZqK1_1C1>(QStringLiteral("TZqK1_1C1"));
    AufgabeRegistrieren<TZqK1_1D1>(QStringLiteral("TZqK1_1D1"));
    AufgabeRegistrieren<TZqK1_2A1>(QStringLiteral("TZqK1_2A1"));
    AufgabeRegistrieren<TZqK1_2B1>(QStringLiteral("TZqK1_2B1"));
    AufgabeRegistrieren<TZqK1_2C1>(QStringLiteral("TZqK1_2C1"));
    AufgabeRegistrieren<TZqK1_3A1>(QStringLiteral("TZqK1_3A1"));
    AufgabeRegistrieren<TZqK1_3B1>(QStringLiteral("TZqK1_3B1"));
    AufgabeRegistrieren<TZqK1_3C1>(QStringLiteral("TZqK1_3C1"));
    AufgabeRegistrieren<TZqK1_3D1>(QStringLiteral("TZqK1_3D1"));
    AufgabeRegistrieren<TZqK1_3E1>(QStringLiteral("TZqK1_3E1"));
    AufgabeRegistrieren<TZqK1_3F1>(QStringLiteral("TZqK1_3F1"));
    AufgabeRegistrieren<TZqK1_4A1>(QStringLiteral("TZqK1_4A1"));
    AufgabeRegistrieren<TZqK1_4B1>(QStringLiteral("TZqK1_4B1"));
    AufgabeRegistrieren<TZqK1_3G1>(QStringLiteral("TZqK1_3G1"));
    AufgabeRegistrieren<TZqK1_3H1>(QStringLiteral("TZqK1_3H1"));
}
