#include "Arbeitsplatz.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

extern char** environ;

namespace {

using Uhr = std::chrono::steady_clock;

// Starts a program with its arguments; its output goes to Ausgabe (a pipe's
// end) or nowhere. -1 when it could not be started.
pid_t Starte(const QStringList& Befehl, int Ausgabe) {
    std::vector<std::string> Teile;
    for (const QString& t : Befehl)
        Teile.push_back(t.toStdString());
    std::vector<char*> argv;
    for (std::string& t : Teile)
        argv.push_back(t.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t Aktionen;
    posix_spawn_file_actions_init(&Aktionen);
    posix_spawn_file_actions_addopen(&Aktionen, 0, "/dev/null", O_RDONLY, 0);
    if (Ausgabe >= 0)
        posix_spawn_file_actions_adddup2(&Aktionen, Ausgabe, 1);
    else
        posix_spawn_file_actions_addopen(&Aktionen, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Aktionen, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &Aktionen, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&Aktionen);
    return pid;
}

// Ends a process started here and collects it.
void Stoppen(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    const auto Ende = Uhr::now() + std::chrono::seconds(10);
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (Uhr::now() > Ende) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid = -1;
}

bool Laeuft(pid_t pid) {
    return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0;
}

// Polls until the condition holds or the seconds have passed.
template <class F> bool Bis(F Bedingung, int Sekunden) {
    const auto Ende = Uhr::now() + std::chrono::seconds(Sekunden);
    for (;;) {
        if (Bedingung()) return true;
        if (Uhr::now() > Ende) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// The window ids in an xprop answer ("... window id # 0x400006, 0x40000d").
std::vector<FensterId> Fensterliste(const QString& Antwort) {
    std::vector<FensterId> Liste;
    const int Raute = Antwort.indexOf(QLatin1Char('#'));
    if (Raute < 0) return Liste;
    static const QRegularExpression Zahl(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = Zahl.globalMatch(Antwort, Raute); it.hasNext();)
        Liste.push_back(it.next().captured().toULong(nullptr, 16));
    return Liste;
}

FensterId Fenster(const QString& Antwort) {
    const std::vector<FensterId> l = Fensterliste(Antwort);
    return l.empty() ? 0 : l.front();
}

QString Hex(FensterId f) {
    return QStringLiteral("0x%1").arg(f, 0, 16);
}

} // namespace

QString Ausfuehren(const QStringList& Befehl, int* Ergebnis) {
    if (Ergebnis) *Ergebnis = -1;
    int Rohr[2];
    if (Befehl.isEmpty() || pipe2(Rohr, O_CLOEXEC) != 0) return QString();
    const pid_t pid = Starte(Befehl, Rohr[1]);
    close(Rohr[1]);
    QByteArray Ausgabe;
    char Puffer[4096];
    for (ssize_t n; pid > 0 && (n = read(Rohr[0], Puffer, sizeof Puffer)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        Ausgabe.append(Puffer, n);
    }
    close(Rohr[0]);
    int Status = 0;
    if (pid > 0 && waitpid(pid, &Status, 0) == pid && WIFEXITED(Status) && Ergebnis)
        *Ergebnis = WEXITSTATUS(Status);
    return QString::fromLocal8Bit(Ausgabe);
}

bool Arbeitsplatz::Starten(int Ab, QString& Grund) {
    for (int n = Ab; n < Ab + 100 && m_server < 0; ++n) {
        // A display in use (or left behind) keeps its lock file or socket.
        const QString Sockel = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        if (QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) || QFileInfo::exists(Sockel)) continue;
        const QString Name = QStringLiteral(":%1").arg(n);
        pid_t Server =
            Starte({QStringLiteral("Xvfb"), Name, QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                   -1);
        if (Server < 0) {
            Grund = QStringLiteral("Xvfb lässt sich nicht starten (scripts/setup installiert es)");
            return false;
        }
        // Another program may have taken the number meanwhile: then the server ends at once.
        const bool Bereit = Bis(
            [&] {
                if (!Laeuft(Server)) return true;
                int rc = -1;
                Ausfuehren({QStringLiteral("xprop"), QStringLiteral("-display"), Name,
                            QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTED")},
                           &rc);
                return rc == 0;
            },
            30);
        if (!Bereit || !Laeuft(Server)) {
            Stoppen(Server);
            continue;
        }
        m_server = Server;
        m_anzeige = n;
        setenv("DISPLAY", Name.toLatin1().constData(), 1);
    }
    if (m_server < 0) {
        Grund = QStringLiteral("kein freier Bildschirm ab :%1 (oder xprop fehlt)").arg(Ab);
        return false;
    }
    m_verwalter = Starte({QStringLiteral("openbox"), QStringLiteral("--sm-disable")}, -1);
    // The window manager is at work once it names itself on the root window.
    const auto Angemeldet = [] {
        return Fenster(Ausfuehren({QStringLiteral("xprop"), QStringLiteral("-root"),
                                   QStringLiteral("_NET_SUPPORTING_WM_CHECK")})) != 0;
    };
    const bool Da = m_verwalter > 0 && Bis([&] { return !Laeuft(m_verwalter) || Angemeldet(); }, 30);
    if (!Da || !Laeuft(m_verwalter)) {
        Grund = QStringLiteral("openbox startet nicht (scripts/setup installiert es)");
        Beenden();
        return false;
    }
    return true;
}

void Arbeitsplatz::Beenden() {
    Stoppen(m_verwalter);
    Stoppen(m_server);
    m_anzeige = -1;
}

FensterId AktivesFenster() {
    return Fenster(
        Ausfuehren({QStringLiteral("xprop"), QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")}));
}

FensterId AktivesFensterLautXdotool() {
    return Ausfuehren({QStringLiteral("xdotool"), QStringLiteral("getactivewindow")}).trimmed().toULong();
}

FensterId Besitzer(FensterId f) {
    return Fenster(Ausfuehren(
        {QStringLiteral("xprop"), QStringLiteral("-id"), Hex(f), QStringLiteral("WM_TRANSIENT_FOR")}));
}

std::vector<FensterId> Stapel() {
    return Fensterliste(Ausfuehren(
        {QStringLiteral("xprop"), QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")}));
}

bool IstModal(FensterId f) {
    return Ausfuehren(
               {QStringLiteral("xprop"), QStringLiteral("-id"), Hex(f), QStringLiteral("_NET_WM_STATE")})
        .contains(QStringLiteral("_NET_WM_STATE_MODAL"));
}

bool Ueber(FensterId Oben, FensterId Unten) {
    const std::vector<FensterId> s = Stapel();
    int o = -1, u = -1;
    for (int i = 0; i < int(s.size()); ++i) {
        if (s[size_t(i)] == Oben) o = i;
        if (s[size_t(i)] == Unten) u = i;
    }
    return o >= 0 && u >= 0 && o > u;
}
