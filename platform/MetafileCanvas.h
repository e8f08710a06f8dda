#pragma once
// A canvas that records what is drawn on it as a metafile instead of drawing
// it: lines, figures, text with its pen, brush and font, and pictures as
// device-independent bitmaps.
//
//   TMetafile mf;
//   mf.SetWidth(200);
//   mf.SetHeight(100);
//   {
//       TMetafileCanvas c(&mf);
//       c.Rectangle(0, 0, 200, 100);
//       c.Draw(10, 10, picture);
//   } // mf holds the records now
//
// The metafile keeps its width and height. An enhanced metafile receives
// enhanced records, any other a placeable Windows metafile (96 units per
// inch), as the metafile is when the canvas is made.
#include "platform/Graphics.h"

#include <QByteArray>

#include <memory>

class TMetafile;
class TMetafileRecorder;

class TMetafileCanvas : public TCanvas {
public:
    explicit TMetafileCanvas(TMetafile* Metafile);
    ~TMetafileCanvas();
    // Hands the records to the metafile; later drawing is not recorded.
    void Finish();
    // False when a metafile drawn on the canvas was too heavy to render (or
    // could not be converted) and its frame was recorded in its place.
    bool PicturesDrawn() const;
    // True when a metafile drawn on the canvas rendered as nothing but the
    // white ground: its records here show none of it (a picture drawn by
    // records that nothing here draws, say).
    bool PicturesBlank() const;

private:
    TMetafile* m_metafile;
    bool m_picturesDrawn = true;
    bool m_picturesBlank = false;
    std::unique_ptr<TMetafileRecorder> m_recorder;
};
