#include "support/Readers.h"

#include <gtest/gtest.h>

// The programs that read what we write run for minutes on a loaded machine;
// the tests wait for them by the work they do, not by the clock.

TEST(ReaderRun, AReaderIsWaitedForWhileWhatItStartedWorks) {
    // The outer shell only waits, as soffice's script waits for the program
    // it starts; the inner one works for longer than the idle limit.
    QByteArray out;
    int exit = -1;
    const QString busy = "end=$(($(date +%s) + 4)); while [ $(date +%s) -lt $end ]; do :; done";
    EXPECT_EQ(RunReader("sh", {"-c", "sh -c '" + busy + "'; echo fertig"}, &out, nullptr, 1500, &exit),
              QString());
    EXPECT_EQ(out, "fertig\n");
    EXPECT_EQ(exit, 0);
}

TEST(ReaderRun, AReaderThatDoesNothingIsGivenUpAfterTheIdleLimit) {
    QByteArray out;
    const QString failed = RunReader("sh", {"-c", "sleep 600; echo fertig"}, &out, nullptr, 1500);
    EXPECT_TRUE(failed.startsWith("sh used no CPU time")) << failed.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

TEST(ReaderRun, TheExitCodeAndAMissingProgramAreReported) {
    int exit = 0;
    EXPECT_EQ(RunReader("sh", {"-c", "exit 3"}, nullptr, nullptr, 60000, &exit), QString());
    EXPECT_EQ(exit, 3);
    EXPECT_TRUE(RunReader("pravolin-kein-leser", {}, nullptr, nullptr, 60000).contains("is not installed"));
}
