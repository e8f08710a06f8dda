#include "Arbeitsplatz.h"

#include <QRegularExpression>
#include <QTemporaryFile>

#include <fcntl.h>
#include <poll.h>
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
// end) or nowhere, its error output to Fehler or nowhere, and Drei (if
// given) becomes its descriptor 3. -1 when it could not be started.
pid_t Starte(const QStringList& Befehl, int Ausgabe, int Drei = -1, int Fehler = -1) {
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
    if (Fehler >= 0)
        posix_spawn_file_actions_adddup2(&Aktionen, Fehler, 2);
    else
        posix_spawn_file_actions_addopen(&Aktionen, 2, "/dev/null", O_WRONLY, 0);
    if (Drei >= 0) posix_spawn_file_actions_adddup2(&Aktionen, Drei, 3);
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

bool Arbeitsplatz::Starten(QString& Grund) {
    // The server picks a free display itself and names it on the pipe once it
    // takes connections. Looking for a free number here cannot see a server of
    // another mount namespace (its socket is abstract, its lock file elsewhere):
    // the tests would then talk to that server and its window manager.
    int Rohr[2];
    if (pipe2(Rohr, O_CLOEXEC) != 0) {
        Grund = QStringLiteral("keine Pipe für Xvfb");
        return false;
    }
    // The server's end must survive its exec; the spawn duplicates it onto fd 3.
    pid_t Server = Starte({QStringLiteral("Xvfb"), QStringLiteral("-displayfd"), QStringLiteral("3"),
                           QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                          -1, Rohr[1]);
    close(Rohr[1]);
    if (Server < 0) {
        close(Rohr[0]);
        Grund = QStringLiteral("Xvfb lässt sich nicht starten (scripts/setup installiert es)");
        return false;
    }
    QByteArray Nummer;
    pollfd Warte{Rohr[0], POLLIN, 0};
    const auto Ende = Uhr::now() + std::chrono::seconds(30);
    while (!Nummer.endsWith('\n') && Uhr::now() < Ende) {
        if (poll(&Warte, 1, 100) <= 0) continue;
        char Puffer[32];
        const ssize_t n = read(Rohr[0], Puffer, sizeof Puffer);
        if (n == 0) break; // the server ended before it was ready
        if (n > 0) Nummer.append(Puffer, n);
    }
    close(Rohr[0]);
    bool Zahl = false;
    const int n = Nummer.trimmed().toInt(&Zahl);
    if (!Zahl || !Laeuft(Server)) {
        Stoppen(Server);
        Grund = QStringLiteral("Xvfb nennt keinen Bildschirm");
        return false;
    }
    m_server = Server;
    m_anzeige = n;
    setenv("DISPLAY", QStringLiteral(":%1").arg(n).toLatin1().constData(), 1);
    // What the window manager says goes to a file, for the reason when it fails.
    QTemporaryFile Meldungen;
    Meldungen.open();
    m_verwalter = Starte({QStringLiteral("openbox"), QStringLiteral("--sm-disable")}, -1, -1,
                         Meldungen.isOpen() ? Meldungen.handle() : -1);
    // The window manager is at work once it names itself on the root window.
    const auto Angemeldet = [] {
        return Fenster(Ausfuehren({QStringLiteral("xprop"), QStringLiteral("-root"),
                                   QStringLiteral("_NET_SUPPORTING_WM_CHECK")})) != 0;
    };
    const bool Da = m_verwalter > 0 && Bis([&] { return !Laeuft(m_verwalter) || Angemeldet(); }, 30);
    if (!Da || !Laeuft(m_verwalter)) {
        Grund =
            QStringLiteral("openbox startet nicht auf :%1 (scripts/setup installiert es): %2")
                .arg(m_anzeige)
                .arg(Meldungen.seek(0) ? QString::fromLocal8Bit(Meldungen.readAll()).trimmed() : QString());
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
