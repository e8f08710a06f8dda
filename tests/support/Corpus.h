#pragma once
// The shared corpus of test files (RTF, GIF and metafiles from other
// projects and made for this one), and the heavy metafiles made of it.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The corpus folder: where PRAVOLIN_CORPUS says, else beside the checkout,
// else beside the folder of work trees (the first that exists).
QString SharedCorpusDir();
// Its RTF files.
QString CorpusRtfDir();

// Part Part (from 0) of Parts of Files, for a test over many files that
// runs as several tests, each in a process of its own: the files are dealt
// out largest first, to and fro, so that the parts cost about the same.
// Each part keeps the files' order; every file is in one part.
QStringList FilesOfPart(const QStringList& Files, int Part, int Parts);

// A file of the corpus, unpacked when its name ends in ".gz"; empty when
// it is not there.
QByteArray CorpusFile(const QString& Name);

// The metafiles of 2,000 polylines of 100 points each that cross their
// picture back and forth (metafile/heavy_*_2000x100.*.gz): quick to convert,
// slow to draw. Times > 1 repeats their drawing records that many times.
QByteArray HeavyEmf(int Times = 1);
QByteArray HeavyWmf(int Times = 1);
