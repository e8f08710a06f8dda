#pragma once
// An enhanced metafile made into a Windows metafile by translating its
// records one by one, as the system does when it writes a picture in the
// older format: lines, figures, text, bitmaps, pens, brushes and fonts,
// clipping and the mapping keep their meaning, and the picture's frame
// becomes the window. The work grows with the bytes, never with what the
// picture covers.
//
//   const QByteArray wmf = WindowsMetafileOf(emf);
//   if (!wmf.isEmpty()) ... // a placeable Windows metafile of the same size
#include <QByteArray>

// The placeable Windows metafile (96 units per inch in its header) that
// draws what the enhanced metafile draws, at the same size; empty when the
// bytes fail the record checks, a record has no counterpart in the older
// format (paths, turned or sheared coordinates, glyph indexes, text that
// the font's code page cannot hold, ...), a coordinate does not fit into
// its 16 bits, the picture is drawn by records of the newer interface (in
// comments) alone, or the result would fail CheckWindowsMetafile. Lost, when
// given, tells whether records of the newer interface draw in a picture that
// is not dual (whose older records do not draw it whole): what they draw no
// Windows metafile holds, neither a translation nor a drawing of the picture.
QByteArray WindowsMetafileOf(const QByteArray& Emf, bool* Lost = nullptr);
