// Renders the program's icon to PNG files for the desktop's icon theme, or
// to a C++ source that compiles the renderings into the program:
//   kvx-render-icon ICON.svg OUTDIR SIZE...            writes OUTDIR/SIZE/kvx410.png
//   kvx-render-icon --source ICON.svg FILE.cpp SIZE...  writes FILE.cpp (see windowicon.h)
// The icon draws no text, so no window system is needed.
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
        std::fprintf(stderr, "kvx-render-icon: bad size %s\n", arg);
    return size;
}

// The renderings as arrays of premultiplied ARGB pixels.
int writeSource(QSvgRenderer &renderer, const char *path, char **sizes, int count)
{
    QByteArray text = "// Written by kvx-render-icon from icon.svg when the program is built.\n"
                      "#include \"art/windowicon.h\"\n\nnamespace kvx::Art {\nnamespace {\n";
    QByteArray table;
    for (int i = 0; i < count; ++i) {
        const int size = sizeArgument(sizes[i]);
        if (size <= 0)
            return 2;
        const QImage image = render(renderer, size);
        text += "const unsigned int pixels" + QByteArray::number(size) + "[] = {";
        for (int y = 0; y < size; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            text += "\n   ";
            for (int x = 0; x < size; ++x)
                text += " 0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + ",";
        }
        text += "\n};\n";
        table += "    {" + QByteArray::number(size) + ", pixels" + QByteArray::number(size) + "},\n";
    }
    text += "} // namespace\n\nconst WindowIconImage WindowIconImages[] = {\n" + table + "};\nconst int WindowIconImageCount = "
            + QByteArray::number(count) + ";\n\n} // namespace kvx::Art\n";
    QFile out(QString::fromLocal8Bit(path));
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) {
        std::fprintf(stderr, "kvx-render-icon: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool source = argc > 1 && QByteArray(argv[1]) == "--source";
    const int first = source ? 2 : 1;
    if (argc < first + 3) {
        std::fprintf(stderr, "usage: kvx-render-icon ICON.svg OUTDIR SIZE...\n"
                             "       kvx-render-icon --source ICON.svg FILE.cpp SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[first]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "kvx-render-icon: cannot read %s\n", argv[first]);
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
            std::fprintf(stderr, "kvx-render-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
