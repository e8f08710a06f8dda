#include "Arbeitsplatz.h"

#include <QRegularExpression>
#include <QTemporaryFile>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

extern char** environ;

namespace {

using Uhr = std::chrono::steady_clock;

// Starts a program with its arguments; its output goes to Ausgabe (a pipe's
// end) or nowhere, its error output to Fehler or nowhere, and Drei (if
// given) becomes its descriptor 3. -1 when it could not be started, with
// the cause in errno.
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
    const int Fehlschlag = posix_spawnp(&pid, argv[0], &Aktionen, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&Aktionen);
    if (Fehlschlag != 0) {
        errno = Fehlschlag;
        return -1;
    }
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

// Whether a process started here has ended; then it is collected and pid
// becomes -1, and the answer says how it ended.
bool Beendet(pid_t& pid, QString& Wie) {
    int Status = 0;
    const pid_t r = pid > 0 ? waitpid(pid, &Status, WNOHANG) : -1;
    if (r == 0) return false;
    if (r != pid)
        Wie = QStringLiteral("ist nicht mehr da");
    else if (WIFSIGNALED(Status))
        Wie = QStringLiteral("endete durch Signal %1 (%2)")
                  .arg(WTERMSIG(Status))
                  .arg(QString::fromLocal8Bit(strsignal(WTERMSIG(Status))));
    else
        Wie = QStringLiteral("endete mit Code %1").arg(WEXITSTATUS(Status));
    pid = -1;
    return true;
}

// The last lines a program wrote into its file of messages.
QString Meldungen(QTemporaryFile& Datei, int Zeilen = 8) {
    if (!Datei.isOpen() || !Datei.seek(0)) return QString();
    QStringList Alle = QString::fromLocal8Bit(Datei.readAll()).trimmed().split(QLatin1Char('\n'));
    if (Alle.size() > Zeilen) Alle = Alle.mid(Alle.size() - Zeilen);
    const QString Text = Alle.join(QStringLiteral(" | ")).trimmed();
    return Text.isEmpty() ? QStringLiteral("keine Meldung") : Text;
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
    // What the server says goes to a file, for the reason when it fails.
    QTemporaryFile ServerMeldungen;
    ServerMeldungen.open();
    // The server's end must survive its exec; the spawn duplicates it onto fd 3.
    pid_t Server = Starte({QStringLiteral("Xvfb"), QStringLiteral("-displayfd"), QStringLiteral("3"),
                           QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                          -1, Rohr[1], ServerMeldungen.isOpen() ? ServerMeldungen.handle() : -1);
    const int StartFehler = errno;
    close(Rohr[1]);
    if (Server < 0) {
        close(Rohr[0]);
        Grund = QStringLiteral("Xvfb lässt sich nicht starten (%1; scripts/setup installiert es)")
                    .arg(QString::fromLocal8Bit(strerror(StartFehler)));
        return false;
    }
    QByteArray Nummer;
    pollfd Warte{Rohr[0], POLLIN, 0};
    const auto Ende = Uhr::now() + std::chrono::seconds(60);
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
    QString Wie;
    if (!Zahl || Beendet(Server, Wie)) {
        Stoppen(Server);
        Grund = QStringLiteral("Xvfb nennt keinen Bildschirm (%1): %2")
                    .arg(Wie.isEmpty() ? QStringLiteral("nach 60 s") : Wie, Meldungen(ServerMeldungen));
        return false;
    }
    m_server = Server;
    m_anzeige = n;
    setenv("DISPLAY", QStringLiteral(":%1").arg(n).toLatin1().constData(), 1);
    // A window manager that fails to start (it could not be spawned, it
    // ended at once, it never named itself) gets a second try.
    QStringList Versuche;
    for (int Versuch = 1; Versuch <= 2; ++Versuch) {
        QString Fehler;
        if (FensterverwaltungStarten(Fehler)) {
            if (!Versuche.isEmpty())
                std::fprintf(stderr, "openbox kam erst beim zweiten Versuch: %s\n",
                             qPrintable(Versuche.front()));
            return true;
        }
        Versuche << QStringLiteral("Versuch %1: %2").arg(Versuch).arg(Fehler);
        if (Beendet(m_server, Wie)) {
            Versuche << QStringLiteral("Xvfb %1: %2").arg(Wie, Meldungen(ServerMeldungen));
            break;
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    Grund = QStringLiteral("openbox startet nicht auf :%1 (scripts/setup installiert es): %2")
                .arg(m_anzeige)
                .arg(Versuche.join(QStringLiteral("; ")));
    Beenden();
    return false;
}

bool Arbeitsplatz::FensterverwaltungStarten(QString& Fehler) {
    // What the window manager says goes to a file, for the reason when it fails.
    QTemporaryFile Ausgaben;
    Ausgaben.open();
    m_verwalter = Starte({QStringLiteral("openbox"), QStringLiteral("--sm-disable")}, -1, -1,
                         Ausgaben.isOpen() ? Ausgaben.handle() : -1);
    if (m_verwalter < 0) {
        Fehler = QStringLiteral("lässt sich nicht starten (%1)").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    // The window manager is at work once it names itself on the root window.
    const auto Angemeldet = [] {
        return Fenster(Ausfuehren({QStringLiteral("xprop"), QStringLiteral("-root"),
                                   QStringLiteral("_NET_SUPPORTING_WM_CHECK")})) != 0;
    };
    QString Wie;
    const bool Da = Bis([&] { return Beendet(m_verwalter, Wie) || Angemeldet(); }, 60);
    if (Da && m_verwalter > 0 && !Beendet(m_verwalter, Wie)) return true;
    if (m_verwalter > 0) {
        Wie = QStringLiteral("nennt sich nach 60 s nicht");
        Stoppen(m_verwalter);
    }
    Fehler = Wie + QStringLiteral(": ") + Meldungen(Ausgaben);
    return false;
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
