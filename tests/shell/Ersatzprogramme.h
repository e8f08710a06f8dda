#pragma once
// Stand-ins for the family's programs and tools: small executables in a
// temporary install root that write down how they were started (their working
// directory, their arguments one per line, then the number of arguments).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include "platform/Paths.h"

class Ersatzprogramme {
public:
    // The root every path below is relative to.
    QString Wurzel() const { return m_dir.path(); }
    QString Pfad(const QString& Relativ) const { return m_dir.filePath(Relativ); }

    // A folder below the root (with its parents).
    QString Ordner(const QString& Relativ) const {
        QDir().mkpath(Pfad(Relativ));
        return Pfad(Relativ);
    }

    // An executable stand-in at the relative path; its record goes beside it.
    void Anlegen(const QString& Relativ) const {
        const QString Datei = Pfad(Relativ);
        QDir().mkpath(QFileInfo(Datei).path());
        QFile f(Datei);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n"
                "out=\"$(dirname \"$0\")/aufruf.txt\"\n"
                "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo \"$#\"; } > \"$out.tmp\"\n"
                "mv \"$out.tmp\" \"$out\"\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // The record of the stand-in at the relative path: the lines it wrote,
    // waited for up to a minute (a loaded machine starts programs slowly);
    // empty when it did not run.
    QStringList Aufruf(const QString& Relativ, int WarteMs = 60000) const {
        const QString Datei = QFileInfo(Pfad(Relativ)).path() + QStringLiteral("/aufruf.txt");
        QElapsedTimer t;
        t.start();
        while (!QFile::exists(Datei) && t.elapsed() < WarteMs) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
        QFile f(Datei);
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList Zeilen = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        if (!Zeilen.isEmpty() && Zeilen.last().isEmpty()) Zeilen.removeLast();
        f.close();
        QFile::remove(Datei);
        return Zeilen;
    }

private:
    QTemporaryDir m_dir;
};

// Changes the test's current directory for its lifetime.
class VerzeichnisScope {
public:
    explicit VerzeichnisScope(const QString& Ordner) : m_alt(QDir::currentPath()) {
        QDir::setCurrent(Ordner);
    }
    ~VerzeichnisScope() { QDir::setCurrent(m_alt); }
    VerzeichnisScope(const VerzeichnisScope&) = delete;
    VerzeichnisScope& operator=(const VerzeichnisScope&) = delete;

private:
    QString m_alt;
};

// Lets "c:\" stand for a folder for its lifetime.
class LaufwerkScope {
public:
    explicit LaufwerkScope(const QString& Ordner) : m_alt(Paths::DriveRoot()) { Paths::SetDriveRoot(Ordner); }
    ~LaufwerkScope() { Paths::SetDriveRoot(m_alt); }
    LaufwerkScope(const LaufwerkScope&) = delete;
    LaufwerkScope& operator=(const LaufwerkScope&) = delete;

private:
    QString m_alt;
};
