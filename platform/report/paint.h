#pragma once
// Painting a laid-out page: the one function the preview, the printer, PDF
// files and images all draw pages with.

#include <QRectF>

#include "platform/report/page.h"

class QPainter;

namespace platform::report {

// Paints `page` into `target` (in the painter's device coordinates): the
// sheet is scaled to the target's width, a white sheet under the items.
// Texts use the fonts the layout measured with (text_metrics.h), scaled
// with the sheet, so a text that fit its box at layout fits it here.
void paintPage(QPainter& painter, const Page& page, const QRectF& target);

}  // namespace platform::report
