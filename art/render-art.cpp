// Renders the program's art when it is built: the icon to PNG files for the
// desktop's icon theme, and to C++ sources the program is compiled with the
// window icon and the room plan's pictures at the sizes they are first shown.
//   kvx-render-art ICON.svg OUTDIR SIZE...               writes OUTDIR/SIZE/kvx410.png
//   kvx-render-art --source ICON.svg FILE.cpp SIZE...     writes FILE.cpp (see windowicon.h)
//   kvx-render-art --pictures FILE.cpp ARTDIR NAME:WxH... writes FILE.cpp (see roompictures.h)
//   kvx-render-art --gallery ARTDIR FILE.png              every picture, for people to review
// The art draws no text, so no window system is needed; the gallery's
// captions do, on Qt's offscreen platform.
#include "platform/svgrendering.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

QImage render(QSvgRenderer &renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        renderer.render(&p);
    }
    return image;
}

int sizeArgument(const char *arg)
{
    const int size = QByteArray(arg).toInt();
    if (size <= 0)
        std::fprintf(stderr, "kvx-render-art: bad size %s\n", arg);
    return size;
}

bool writeFile(const char *path, const QByteArray &text)
{
    QFile out(QString::fromLocal8Bit(path));
    if (out.open(QIODevice::WriteOnly) && out.write(text) == text.size())
        return true;
    std::fprintf(stderr, "kvx-render-art: cannot write %s\n", path);
    return false;
}

QByteArray pixelArray(const QByteArray &name, const QImage &image)
{
    QByteArray text = "const unsigned int " + name + "[] = {";
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        text += "\n   ";
        for (int x = 0; x < image.width(); ++x)
            text += " 0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + ",";
    }
    return text + "\n};\n";
}

// The room plan's pictures as renderSvg() draws them, each NAME.svg of the
// art folder at the pixel size given.
int writePictures(const char *path, const QDir &art, char **requests, int count)
{
    QByteArray text =
        "// Written by kvx-render-art from the art's SVG files when the program is built.\n"
        "#include \"art/roompictures.h\"\n\nnamespace kvx::Art {\nnamespace {\n";
    QByteArray table;
    for (int i = 0; i < count; ++i) {
        const QByteArray request(requests[i]);
        const qsizetype colon = request.indexOf(':');
        const QList<QByteArray> size = request.mid(colon + 1).split('x');
        const int width = size.size() == 2 ? size[0].toInt() : 0;
        const int height = size.size() == 2 ? size[1].toInt() : 0;
        const QByteArray name = request.left(colon);
        if (colon <= 0 || width <= 0 || height <= 0) {
            std::fprintf(stderr, "kvx-render-art: bad picture %s (NAME:WxH)\n", requests[i]);
            return 2;
        }
        QSvgRenderer renderer(art.filePath(QString::fromLatin1(name + ".svg")));
        if (!renderer.isValid()) {
            std::fprintf(stderr, "kvx-render-art: cannot read %s.svg\n", name.constData());
            return 1;
        }
        const QImage image = kvx::renderSvg(renderer, QSize(width, height));
        const QByteArray array = "picture" + QByteArray::number(i);
        text += pixelArray(array, image);
        table += "    {\"" + name + "\", " + QByteArray::number(width) + ", " + QByteArray::number(height) + ", "
                 + (image.hasAlphaChannel() ? "false" : "true") + ", " + array + "},\n";
    }
    text += "} // namespace\n\nconst RoomPicture RoomPictures[] = {\n" + table
            + "};\nconst int RoomPictureCount = " + QByteArray::number(count) + ";\n\n} // namespace kvx::Art\n";
    return writeFile(path, text) ? 0 : 1;
}

// The renderings as arrays of premultiplied ARGB pixels.
int writeSource(QSvgRenderer &renderer, const char *path, char **sizes, int count)
{
    QByteArray text =
        "// Written by kvx-render-art from icon.svg when the program is built.\n"
        "#include \"art/windowicon.h\"\n\nnamespace kvx::Art {\nnamespace {\n";
    QByteArray table;
    for (int i = 0; i < count; ++i) {
        const int size = sizeArgument(sizes[i]);
        if (size <= 0)
            return 2;
        text += pixelArray("pixels" + QByteArray::number(size), render(renderer, size));
        table += "    {" + QByteArray::number(size) + ", pixels" + QByteArray::number(size) + "},\n";
    }
    text += "} // namespace\n\nconst WindowIconImage WindowIconImages[] = {\n" + table
            + "};\nconst int WindowIconImageCount = " + QByteArray::number(count) + ";\n\n} // namespace kvx::Art\n";
    return writeFile(path, text) ? 0 : 1;
}

// Every picture of the art folder at its natural size and enlarged two and a
// half times, each captioned with its name and size, in rows on a grey
// ground: screenshots/art-gallery.png, to review the art at a glance.
int writeGallery(const QDir &art, const char *path)
{
    constexpr int Gap = 12, Caption = 14;
    constexpr double Enlarged = 2.5;
    struct Tile
    {
        QString name;
        QImage natural, large;
    };
    QList<Tile> tiles;
    for (const QString &file : art.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        QSvgRenderer renderer(art.filePath(file));
        const QSize size = renderer.viewBox().size();
        if (!renderer.isValid() || size.isEmpty())
            continue;
        tiles.append({file.chopped(4), kvx::renderSvg(renderer, size), kvx::renderSvg(renderer, size * Enlarged)});
    }
    // As wide as the widest pair, and at least 2700 pixels.
    int Width = 2700;
    for (const Tile &t : tiles)
        Width = std::max(Width, t.natural.width() + t.large.width() + 3 * Gap);
    // Laid out twice: once to measure the height, once to draw.
    QImage sheet;
    for (int pass = 0; pass < 2; ++pass) {
        QPainter p;
        if (pass == 1) {
            p.begin(&sheet);
            p.setPen(QColor(0xE8, 0xE8, 0xE8));
            p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
        }
        int x = Gap, y = Gap, rowHeight = 0;
        for (const Tile &t : tiles) {
            const int w = t.natural.width() + Gap + t.large.width();
            if (x + w > Width - Gap && x > Gap) {
                x = Gap;
                y += rowHeight + Gap;
                rowHeight = 0;
            }
            if (pass == 1) {
                p.drawText(x, y + Caption - 4,
                           QStringLiteral("%1  %2x%3").arg(t.name).arg(t.natural.width()).arg(t.natural.height()));
                p.drawImage(x, y + Caption, t.natural);
                p.drawImage(x + t.natural.width() + Gap, y + Caption, t.large);
            }
            rowHeight = std::max(rowHeight, Caption + t.large.height());
            x += w + 2 * Gap;
        }
        if (pass == 0) {
            sheet = QImage(Width, y + rowHeight + Gap, QImage::Format_ARGB32_Premultiplied);
            sheet.fill(QColor(0x5A, 0x60, 0x66));
        }
    }
    if (!sheet.save(QString::fromLocal8Bit(path))) {
        std::fprintf(stderr, "kvx-render-art: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--gallery") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return writeGallery(QDir(QString::fromLocal8Bit(argv[2])), argv[3]);
    }
    const bool pictures = argc > 1 && QByteArray(argv[1]) == "--pictures";
    const bool source = argc > 1 && QByteArray(argv[1]) == "--source";
    const int first = source || pictures ? 2 : 1;
    if (argc < first + 3) {
        std::fprintf(stderr,
                     "usage: kvx-render-art ICON.svg OUTDIR SIZE...\n"
                     "       kvx-render-art --source ICON.svg FILE.cpp SIZE...\n"
                     "       kvx-render-art --pictures FILE.cpp ARTDIR NAME:WxH...\n"
                     "       kvx-render-art --gallery ARTDIR FILE.png\n");
        return 2;
    }
    if (pictures)
        return writePictures(argv[2], QDir(QString::fromLocal8Bit(argv[3])), argv + 4, argc - 4);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[first]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "kvx-render-art: cannot read %s\n", argv[first]);
        return 1;
    }
    if (source)
        return writeSource(renderer, argv[first + 1], argv + first + 2, argc - first - 2);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = sizeArgument(argv[i]);
        if (size <= 0)
            return 2;
        const QImage image = render(renderer, size);
        const QString folder = QString::number(size);
        const QString file = out.filePath(folder + QStringLiteral("/kvx410.png"));
        if (!out.mkpath(folder) || !image.save(file)) {
            std::fprintf(stderr, "kvx-render-art: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
