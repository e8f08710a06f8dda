#pragma once
// Starting companion programs. Never through a shell and never by changing this
// process's current directory: the program, its arguments and the working directory
// are handed over as they are.
#include <QString>
#include <QStringList>

// Starts program (a program path, mapped through the path mapper when it names an
// existing file) detached, with arguments and working directory (mapped likewise;
// empty: the current directory). False when it could not be started.
bool StartProgram(const QString& program, const QStringList& arguments,
                  const QString& workingDir = QString());
