#include "platform/fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace kvx {

namespace {

QStringList candidatesFor(const QString &classicName)
{
    const QString name = classicName.toLower();
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                              QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
    if (name == QLatin1String("ms sans serif") || name == QLatin1String("arial")
        || name == QLatin1String("arial black") || name == QLatin1String("tahoma"))
        return sans;
    // Its letters must still be told apart at 7 pixels: the face with the
    // largest x-height wins over a narrow one.
    if (name == QLatin1String("small fonts"))
        return {QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")};
    if (name == QLatin1String("ms serif") || name == QLatin1String("times new roman"))
        return {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"), QStringLiteral("Nimbus Roman"),
                QStringLiteral("DejaVu Serif")};
    if (name == QLatin1String("courier new") || name == QLatin1String("courier"))
        return {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"), QStringLiteral("Nimbus Mono PS"),
                QStringLiteral("DejaVu Sans Mono")};
    return {classicName, QStringLiteral("DejaVu Sans")};
}

QString fontKey(const FontDesc &desc)
{
    return QStringLiteral("%1|%2|%3%4%5")
        .arg(desc.name.toLower())
        .arg(desc.size)
        .arg(int(desc.bold))
        .arg(int(desc.italic))
        .arg(int(desc.underline));
}

} // namespace

QString installedFace(const QString &classicName)
{
    static QHash<QString, QString> faces;
    const auto found = faces.constFind(classicName);
    if (found != faces.constEnd())
        return *found;
    const QStringList candidates = candidatesFor(classicName);
    const auto installed = std::find_if(candidates.begin(), candidates.end(),
                                        [](const QString &face) { return QFontDatabase::hasFamily(face); });
    const QString face = installed != candidates.end() ? *installed : candidates.constLast();
    faces.insert(classicName, face);
    return face;
}

QFont classicFont(const FontDesc &desc)
{
    static QHash<QString, QFont> fonts;
    const QString key = fontKey(desc);
    const auto found = fonts.constFind(key);
    if (found != fonts.constEnd())
        return *found;
    QFont font(installedFace(desc.name));
    const int pixels = std::max(1, int(std::lround(desc.size * 96.0 / 72.0)));
    font.setPixelSize(pixels);
    // Tiny sizes stay readable when their stems are snapped to whole pixels.
    if (pixels < 9)
        font.setHintingPreference(QFont::PreferFullHinting);
    const bool black = desc.name.compare(QLatin1String("Arial Black"), Qt::CaseInsensitive) == 0;
    font.setWeight(black ? QFont::Black : desc.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(desc.italic);
    font.setUnderline(desc.underline);
    fonts.insert(key, font);
    return font;
}

} // namespace kvx
