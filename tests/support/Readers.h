#pragma once
// Running the programs that read what we write (LibreOffice, xmllint,
// pdftotext); the tests need them installed and never skip without them.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Runs Program with Args and waits while it works: until it ends, or until
// it (with what it started) has used no CPU time for IdleMs, or until the
// time of the test entry (PRAVOLIN_ENTRY_SECONDS) runs out. Out and Err (when
// given) get its output, Exit its exit code (-1 when it crashed). Answers what
// went wrong, empty when it ran to its end.
QString RunReader(const QString& Program, const QStringList& Args, QByteArray* Out, QByteArray* Err,
                  int IdleMs, int* Exit = nullptr);

// The text of each page of a PDF as poppler's pdftotext reads it (-layout;
// form feeds split the pages, the empty rest after the last one is dropped).
// Answers what went wrong, empty when pdftotext read the file.
QString PdfTextPages(const QString& Pdf, QStringList& Pages);

// Page Page (from 1) of a PDF as poppler's pdftoppm draws it at Dpi dots
// per inch. Answers what went wrong, empty when Image holds the page.
QString PdfPageImage(const QString& Pdf, int Page, int Dpi, QImage& Image);
