#include "platform/paintexport.h"

#include "platform/fonts.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPrinter>
#include <QSvgGenerator>

#include <cmath>

namespace kvx {

namespace {

// The screen's pixels per inch, as the windows are laid out.
constexpr int ScreenDpi = 96;

PrintDialogHook &printDialogHook()
{
    static PrintDialogHook hook;
    return hook;
}

bool renderPng(QSize size, const PaintPicture &paint, double scale, const QString &title, QBuffer &buffer,
               QString *error)
{
    const QSize pixels(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale)));
    QImage image(pixels, QImage::Format_RGB32);
    if (image.isNull()) {
        *error = QStringLiteral("a picture of %1 x %2 pixels is more than the memory holds")
                     .arg(pixels.width())
                     .arg(pixels.height());
        return false;
    }
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter);
    }
    QImageWriter writer(&buffer, "png");
    writer.setText(QStringLiteral("Title"), title);
    if (writer.write(image))
        return true;
    *error = writer.errorString();
    return false;
}

// Paints the picture stretched over `page` pixels of the device, its own size when empty.
bool paintOn(QPaintDevice &device, QSize size, const PaintPicture &paint, QString *error, QSizeF page = {})
{
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QStringLiteral("the picture of %1 x %2 pixels cannot be drawn").arg(size.width()).arg(size.height());
        return false;
    }
    if (!page.isEmpty())
        painter.scale(page.width() / size.width(), page.height() / size.height());
    paint(painter);
    return painter.end();
}

bool renderSvg(QSize size, const PaintPicture &paint, const QString &title, QBuffer &buffer, QString *error)
{
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(), size));
    generator.setResolution(ScreenDpi);
    generator.setTitle(title);
    return paintOn(generator, size, paint, error);
}

bool renderPdf(QSize size, const PaintPicture &paint, const QString &title, QBuffer &buffer, QString *error)
{
    QPdfWriter writer(&buffer);
    writer.setResolution(ScreenDpi);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("kvx410"));
    // A page the picture's own size, not a paper size near it.
    const QPageSize page(QSizeF(size) * 72.0 / ScreenDpi, QPageSize::Point, QString(), QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    // A page measures whole points: the picture covers the fraction of a point left over.
    return paintOn(writer, size, paint, error, QSizeF(writer.pageLayout().fullRectPoints().size()) * ScreenDpi / 72.0);
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    if (suffix == QLatin1String("svg"))
        return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf"))
        return PictureFormat::Pdf;
    return std::nullopt;
}

bool renderPicture(QSize size, const PaintPicture &paint, PictureFormat format, double scale, const QString &title,
                   QByteArray *out, QString *error)
{
    out->clear();
    QBuffer buffer(out);
    buffer.open(QIODevice::WriteOnly);
    QString why;
    bool made = false;
    if (size.isEmpty())
        why = QStringLiteral("the view is empty");
    else if (format == PictureFormat::Png)
        made = renderPng(size, paint, scale, title, buffer, &why);
    else if (format == PictureFormat::Svg)
        made = renderSvg(size, paint, title, buffer, &why);
    else
        made = renderPdf(size, paint, title, buffer, &why);
    if (!made) {
        out->clear();
        if (error)
            *error = why;
    }
    return made;
}

bool paintsVectors(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    if (!engine)
        return false;
    switch (engine->type()) {
    case QPaintEngine::SVG:
    case QPaintEngine::Pdf:
    case QPaintEngine::Picture:
    case QPaintEngine::Windows:
    case QPaintEngine::MacPrinter:
        return true;
    default:
        return false;
    }
}

bool printPicture(QPrinter &printer, QSize size, const PaintPicture &paint, const QString &header)
{
    QPainter painter;
    if (size.isEmpty() || !painter.begin(&printer))
        return false;
    const QRectF page(QPointF(), printer.pageRect(QPrinter::DevicePixel).size());
    // The header in points of the paper; the picture in the screen's pixels, scaled.
    QFont font = classicFont({QStringLiteral("Arial"), 11, true});
    font.setPointSizeF(11);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    painter.drawText(QRectF(0, 0, page.width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                     metrics.elidedText(header, Qt::ElideRight, page.width()));
    const double top = 1.5 * metrics.height();
    const double fit = std::min(page.width() / size.width(), (page.height() - top) / size.height());
    if (fit > 0) {
        // Widgets rendered straight onto a printer go through a bitmap of the
        // page's size; recorded first, they reach it as shapes and text.
        QPicture recording;
        QPainter recorder(&recording);
        paint(recorder);
        recorder.end();
        painter.translate((page.width() - size.width() * fit) / 2, top);
        painter.scale(fit, fit);
        painter.drawPicture(0, 0, recording);
    }
    return painter.end();
}

void setPrintDialogHook(PrintDialogHook hook)
{
    printDialogHook() = std::move(hook);
}

bool showPrintDialog(QPrinter &printer)
{
    return printDialogHook() && printDialogHook()(printer);
}

} // namespace kvx
