// The leak checker sees Qt objects that our code loses: the suppressions
// pass over the system libraries' own caches, not everything Qt allocates.
#include <QCoreApplication>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLeakChecked = true;
#else
constexpr bool kLeakChecked = false;
#endif

TEST(LeakReports, AQtObjectThatOurCodeLosesIsReported) {
    if (!kLeakChecked) GTEST_SKIP() << "a build without AddressSanitizer checks no leaks";
    if (qEnvironmentVariableIsSet("PRAVOLIN_LEAK_PROBE")) {
        // The run below: a window-less object with a child, lost.
        auto* lost = new QObject(nullptr);
        lost->setObjectName(QStringLiteral("verloren"));
        new QObject(lost);
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PRAVOLIN_LEAK_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=1"));
    env.insert(QStringLiteral("LSAN_OPTIONS"),
               QStringLiteral("suppressions=" PRAVOLIN_SOURCE_DIR "/tests/lsan.supp"));
    QProcess run;
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=LeakReports.AQtObjectThatOurCodeLosesIsReported")});
    ASSERT_TRUE(run.waitForFinished(120000));
    const QByteArray out = run.readAll();
    EXPECT_NE(run.exitCode(), 0);
    EXPECT_TRUE(out.contains("LeakSanitizer: detected memory leaks")) << out.toStdString();
}
