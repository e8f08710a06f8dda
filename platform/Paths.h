#pragma once
// The program names its files the Windows way ("Zqk1\ZqK1_1A.rtf", "c:\Orvandel",
// GetCurrentDir() + "\..\OrvandelSetup.txt"). Every such path goes through MapPath,
// which turns it into a path of this file system:
// - '\' becomes '/';
// - a drive prefix ("c:") stands for the drive root, configurable (default: the
//   user's home folder, else "/");
// - a leading '\' without a drive is taken relative to the current directory;
// - each component is looked up without regard to case where the exact name is missing.
#include <QString>

namespace Paths {

void SetDriveRoot(const QString& root);
QString DriveRoot();

// The native path for a program path; components that do not exist keep their spelling.
QString MapPath(const QString& programPath);

} // namespace Paths

bool FileExists(const QString& programPath);
bool DirectoryExists(const QString& programPath);
// The current directory, native separators ('/'), no trailing separator.
QString GetCurrentDir();
