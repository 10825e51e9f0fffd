#pragma once

#include <QFont>
#include <QString>

namespace kvx {

// A font as the windows name it: a classic face name and a size in points.
struct FontDesc
{
    QString name = QStringLiteral("MS Sans Serif");
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const FontDesc &) const = default;
};

// The installed face that stands in for a classic face name.
QString installedFace(const QString &classicName);

// The font to paint with. Sizes are points at 96 dots per inch, as the layout of
// the windows assumes, so 8.25 points are 11 pixels whatever the screen says.
QFont classicFont(const FontDesc &desc);

} // namespace kvx
