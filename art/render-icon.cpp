// Renders the program's icon to PNG files for the desktop's icon theme:
//   kvx-render-icon ICON.svg OUTDIR SIZE...   writes OUTDIR/SIZE/kvx410.png
// The icon draws no text, so no window system is needed.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: kvx-render-icon ICON.svg OUTDIR SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "kvx-render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "kvx-render-icon: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            renderer.render(&p);
        }
        const QString folder = QString::number(size);
        const QString file = out.filePath(folder + QStringLiteral("/kvx410.png"));
        if (!out.mkpath(folder) || !image.save(file)) {
            std::fprintf(stderr, "kvx-render-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
