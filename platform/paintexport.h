#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QPainter;
class QPrinter;

namespace kvx {

// A view painted into a file or onto paper by the painters of the screen.
// PNG renders its pixels at a scale; SVG and PDF keep pictures as vectors and
// text as text, one pixel of the screen a 96th of an inch.
enum class PictureFormat { Png, Svg, Pdf };

// The format a file name's extension asks for: .png, .svg or .pdf, any case.
std::optional<PictureFormat> pictureFormatOf(const QString &fileName);

// Paints a picture of a given size in pixels from (0, 0).
using PaintPicture = std::function<void(QPainter &)>;

// The file's bytes; false, with *error saying why, when it cannot be made.
bool renderPicture(QSize size, const PaintPicture &paint, PictureFormat format, double scale, const QString &title,
                   QByteArray *out, QString *error);

// Whether the painter draws on a vector device (SVG, PDF, a printer): there
// pictures are drawn from their source and text is written as text.
bool paintsVectors(const QPainter &painter);

// One page: the header line at its top, the picture fitted below it with its
// proportions kept. False when the printer cannot be written to.
bool printPicture(QPrinter &printer, QSize size, const PaintPicture &paint, const QString &header);

// The print dialog, a hook like the file dialogs: it sets the printer up and
// says whether to print. Without a hook nothing is printed.
using PrintDialogHook = std::function<bool(QPrinter &)>;
void setPrintDialogHook(PrintDialogHook hook);
bool showPrintDialog(QPrinter &printer);

} // namespace kvx
