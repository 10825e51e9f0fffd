#include "art/art.h"
#include "art/roompictures.h"
#include "art/windowicon.h"

#include <QGuiApplication>
#include <QHash>
#include <QPixmap>

namespace kvx::Art {

namespace {

// The renderings made when the program was built, kept with the picture.
void addRoomRenderings(Picture &picture, const QString &name)
{
    for (int i = 0; i < RoomPictureCount; ++i) {
        const RoomPicture &room = RoomPictures[i];
        if (name != QLatin1String(room.name))
            continue;
        picture.addRendering(QImage(reinterpret_cast<const uchar *>(room.pixels), room.width, room.height,
                                    room.width * 4,
                                    room.opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied));
    }
}

// Each picture is parsed once, on first use; the copies handed out share it
// and its renderings. Pictures are used from the user-interface thread only.
Picture shared(const QString &name)
{
    static QHash<QString, Picture> pictures;
    auto it = pictures.find(name);
    if (it == pictures.end()) {
        Picture picture(QStringLiteral(":/art/%1.svg").arg(name));
        addRoomRenderings(picture, name);
        it = pictures.insert(name, picture);
    }
    return it.value();
}

} // namespace

Picture rack()
{
    return shared(QStringLiteral("rack"));
}
Picture endRight()
{
    return shared(QStringLiteral("end-right"));
}
Picture endLeft()
{
    return shared(QStringLiteral("end-left"));
}
Picture rackFrontSmt()
{
    return shared(QStringLiteral("rack-front-smt"));
}
Picture rackFrontOther()
{
    return shared(QStringLiteral("rack-front-other"));
}
Picture doorClosedLeft()
{
    return shared(QStringLiteral("door-closed-left"));
}
Picture doorClosedRight()
{
    return shared(QStringLiteral("door-closed-right"));
}
Picture doorOpenLeft()
{
    return shared(QStringLiteral("door-open-left"));
}
Picture doorOpenRight()
{
    return shared(QStringLiteral("door-open-right"));
}
Picture shelf()
{
    return shared(QStringLiteral("shelf"));
}
Picture shelfBig()
{
    return shared(QStringLiteral("shelf-big"));
}
Picture icon()
{
    return shared(QStringLiteral("icon"));
}
Picture aboutPicture()
{
    return shared(QStringLiteral("about"));
}
Picture doorCursorPicture()
{
    return shared(QStringLiteral("door-cursor"));
}

Picture card(int code)
{
    if (code < 0 || code >= CardCodes)
        return {};
    return shared(QStringLiteral("card-%1").arg(code));
}

QCursor doorCursor()
{
    const qreal dpr = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const Picture picture = doorCursorPicture();
    QPixmap pixmap = QPixmap::fromImage(picture.render(picture.naturalPixels(), dpr));
    // The tip of the arrow, in the picture's own pixels.
    return QCursor(pixmap, 1, 1);
}

QIcon windowIcon()
{
    // Rendered from icon.svg when the program was built; window managers
    // scale for the other sizes.
    QIcon result;
    for (int i = 0; i < WindowIconImageCount; ++i) {
        const WindowIconImage &rendering = WindowIconImages[i];
        const QImage image(reinterpret_cast<const uchar *>(rendering.pixels), rendering.size, rendering.size,
                           rendering.size * 4, QImage::Format_ARGB32_Premultiplied);
        result.addPixmap(QPixmap::fromImage(image));
    }
    return result;
}

} // namespace kvx::Art
