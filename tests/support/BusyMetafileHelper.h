#pragma once
// A stand-in for the metafile helper that uses up the CPU time of every run
// and so fails it, as a library running wild on a picture would. The record
// checks turn away the pictures known to keep a library that busy: what the
// program does meanwhile and afterwards is tested with this in its place.
//
//   TBusyMetafileHelper busy;
//   ... pictures loaded now take their whole CPU time and fail ...
#include "platform/MetafileConvert.h"
#include "support/StandInFolder.h"

#include <QDir>
#include <QFile>
#include <QString>

class TBusyMetafileHelper {
public:
    TBusyMetafileHelper() : m_previous(MetafileHelperPath()) {
        const QString script = QDir(StandInFolder()).filePath(QStringLiteral("helfer"));
        QFile f(script);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\nwhile :; do :; done\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        SetMetafileHelper(script);
    }
    // Puts the helper back; runs that started go on until their CPU time is up.
    ~TBusyMetafileHelper() { SetMetafileHelper(m_previous); }
    TBusyMetafileHelper(const TBusyMetafileHelper&) = delete;
    TBusyMetafileHelper& operator=(const TBusyMetafileHelper&) = delete;

private:
    QString m_previous;
};
