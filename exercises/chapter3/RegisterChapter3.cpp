#include "exercises/chapter3/RegisterChapter3.h"

#include "exercises/chapter3/UZqK3_1A1.h"
#include "exercises/chapter3/UZqK3_1B1.h"
#include "exercises/chapter3/UZqK3_1C1.h"
#include "exercises/chapter3/UZqK3_2A1.h"
#include "exercises/chapter3/UZqK3_2B1.h"
#include "exercises/chapter3/UZqK3_2C1.h"
#include "exercises/chapter3/UZqK3_2D1.h"
#include "shell/ExerciseRegistry.h"

void RegisterChapter3Exercises() {
    AufgabeRegistrieren<TZqK3_1A1>(QStringLiteral("TZqK3_1A1"));
    AufgabeRegistrieren<TZqK3_1B1>(QStringLiteral("TZqK3_1B1"));
    AufgabeRegistrieren<TZqK3_1C1>(QStringLiteral("TZqK3_1C1"));
    AufgabeRegistrieren<TZqK3_2A1>(QStringLiteral("TZqK3_2A1"));
    AufgabeRegistrieren<TZqK3_2B1>(QStringLiteral("TZqK3_2B1"));
    AufgabeRegistrieren<TZqK3_2C1>(QStringLiteral("TZqK3_2C1"));
    AufgabeRegistrieren<TZqK3_2D1>(QStringLiteral("TZqK3_2D1"));
}
