// Renders the program's art when it is built: the icon to PNG files for the
// desktop's icon theme, and to C++ sources the program is compiled with the
// window icon and the room plan's pictures at the sizes they are first shown.
//   kvx-render-art ICON.svg OUTDIR SIZE...               writes OUTDIR/SIZE/kvx410.png
//   kvx-render-art --source ICON.svg FILE.cpp SIZE...     writes FILE.cpp (see windowicon.h)
//   kvx-render-art --pictures FILE.cpp ARTDIR NAME:WxH... writes FILE.cpp (see roompictures.h)
// The art draws no text, so no window system is needed.
#include "platform/svgrendering.h"

#include <QDir>
#include <QFile>
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
    QByteArray text = "// Written by kvx-render-art from the art's SVG files when the program is built.\n"
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
    QByteArray text = "// Written by kvx-render-art from icon.svg when the program is built.\n"
                      "#include \"art/windowicon.h\"\n\nnamespace kvx::Art {\nnamespace {\n";
    QByteArray table;
    for (int i = 0; i < count; ++i) {
        const int size = sizeArgument(sizes[i]);
        if (size <= 0)
            return 2;
        text += pixelArray("pixels" + QByteArray::number(size), render(renderer, size));
        table += "    {" + QByteArray::number(size) + ", pixels" + QByteArray::number(size) + "},\n";
    }
    text += "} // namespace\n\nconst WindowIconImage WindowIconImages[] = {\n" + table + "};\nconst int WindowIconImageCount = "
            + QByteArray::number(count) + ";\n\n} // namespace kvx::Art\n";
    return writeFile(path, text) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool pictures = argc > 1 && QByteArray(argv[1]) == "--pictures";
    const bool source = argc > 1 && QByteArray(argv[1]) == "--source";
    const int first = source || pictures ? 2 : 1;
    if (argc < first + 3) {
        std::fprintf(stderr, "usage: kvx-render-art ICON.svg OUTDIR SIZE...\n"
                             "       kvx-render-art --source ICON.svg FILE.cpp SIZE...\n"
                             "       kvx-render-art --pictures FILE.cpp ARTDIR NAME:WxH...\n");
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
