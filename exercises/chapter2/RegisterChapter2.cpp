#include "exercises/chapter2/RegisterChapter2.h"

#include "exercises/chapter2/UZqK2_1A1.h"
#include "exercises/chapter2/UZqK2_1A2.h"
#include "exercises/chapter2/UZqK2_1B1.h"
#include "exercises/chapter2/UZqK2_1C1.h"
#include "exercises/chapter2/UZqK2_2A1.h"
#include "exercises/chapter2/UZqK2_2B1.h"
#include "exercises/chapter2/UZqK2_3A1.h"
#include "exercises/chapter2/UZqK2_3B1.h"
#include "exercises/chapter2/UZqK2_4A1.h"
#include "exercises/chapter2/UZqK2_4A2.h"
#include "exercises/chapter2/UZqK2_4B1.h"
#include "exercises/chapter2/UZqK2_5A1.h"
#include "exercises/chapter2/UZqK2_5B1.h"
#include "exercises/chapter2/UZqK2_6A1.h"
#include "shell/ExerciseRegistry.h"

void RegisterChapter2Exercises() {
    AufgabeRegistrieren<TZqK2_1A1>(QStringLiteral("TZqK2_1A1"));
    AufgabeRegistrieren<TZqK2_1A2>(QStringLiteral("TZqK2_1A2"));
    AufgabeRegistrieren<TZqK2_1B1>(QStringLiteral("TZqK2_1B1"));
    AufgabeRegistrieren<TZqK2_1C1>(QStringLiteral("TZqK2_1C1"));
    AufgabeRegistrieren<TZqK2_2A1>(QStringLiteral("TZqK2_2A1"));
    AufgabeRegistrieren<TZqK2_2B1>(QStringLiteral("TZqK2_2B1"));
    AufgabeRegistrieren<TZqK2_3A1>(QStringLiteral("TZqK2_3A1"));
    AufgabeRegistrieren<TZqK2_3B1>(QStringLiteral("TZqK2_3B1"));
    AufgabeRegistrieren<TZqK2_4A1>(QStringLiteral("TZqK2_4A1"));
    AufgabeRegistrieren<TZqK2_4A2>(QStringLiteral("TZqK2_4A2"));
    AufgabeRegistrieren<TZqK2_4B1>(QStringLiteral("TZqK2_4B1"));
    AufgabeRegistrieren<TZqK2_5A1>(QStringLiteral("TZqK2_5A1"));
    AufgabeRegistrieren<TZqK2_5B1>(QStringLiteral("TZqK2_5B1"));
    AufgabeRegistrieren<TZqK2_6A1>(QStringLiteral("TZqK2_6A1"));
}
