#pragma once
// Pictures, icons and cursors by the file names the descriptions give,
// built into the program (resources.h). JPEG files go through our own
// loader (jpeg.h); GIF, ICO and CUR through Qt's readers.

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <string_view>

#include "platform/ui/style.h"

namespace platform::qt {

// A null image when the file is missing or cannot be read. Kept once read.
QImage loadImage(std::string_view name);
QPixmap loadPixmap(std::string_view name);
// Every size an icon file holds; the four message-box names ("information",
// "exclamation", "question", "stop") give the style's own icons. A null
// icon when the file is missing.
QIcon loadIcon(std::string_view name);
// Whether every pixel of the icon is transparent (a null icon included).
bool drawsNothing(const QIcon& icon);
// A cursor from a CUR file with its hot spot; `fallback` when it is missing.
QCursor loadCursor(std::string_view name, Qt::CursorShape fallback);
// The cursor for a shape of the model; the hand is the program's own
// "~hand.cur".
QCursor cursorFor(CursorShape shape);
// Forgets what was read (after a test put a folder in place of the
// built-in files).
void clearImageCache();

}  // namespace platform::qt
