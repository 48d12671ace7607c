#pragma once
// The display list as an SVG drawing, written element by element while the
// shapes are drawn: nothing of the document is held in memory, so a drawing
// of any size streams to its file in the memory of the display list alone.
// True colours, text as text, hatched fills as patterns.

#include "DisplayList.h"
#include "Progress.h"

#include <QPolygonF>
#include <QRect>
#include <QString>

#include <cstdio>

namespace hexlane::render {

// Writes `region` of the picture drawn `scale` times the list's size (in
// pixels of that picture) to `out`, titled `title`. The progress is told as
// the shapes are drawn. With a non-empty `exact` outline (in pixels of the
// list, see ExactPart.h), only what lies inside it is drawn, and no text that
// belongs outside. A drawing of `pixelsPerInch` other than 96 gives its size
// in millimetres, so that it prints at the size it was drawn for. False
// when a write failed or the progress stopped.
bool WriteSvg(const DisplayList& list, std::FILE* out, const QRect& region, double scale, const QString& title,
              const ProgressFn& progress, const QPolygonF& exact = {}, double pixelsPerInch = 96);

}  // namespace hexlane::render
