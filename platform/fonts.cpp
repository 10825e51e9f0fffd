#include "platform/fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QStringList>

#include <system_error>

#include <algorithm>
#include <cmath>

namespace kvx {

namespace {

QStringList candidatesFor(const QString &classicName)
{
    const QString name = classicName.toLower();
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans"),
                              QStringLiteral("DejaVu Sans")};
    if (name == QLatin1String("ms sans serif") || name == QLatin1String("arial") || name == QLatin1String("arial black")
        || name == QLatin1String("tahoma"))
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

QFont classicFont(const FontDesc &desc)
{
    static QHash<QString, QFont> fonts;
    const QString key = fontKey(desc);
    const auto found = fonts.constFind(key);
    if (found != fonts.constEnd())
        return *found;
    QFont font;
    // Qt takes the first of them that is installed; asking the font database
    // which one that is would cost a fontconfig substitution per name.
    font.setFamilies(candidatesFor(desc.name));
    const int pixels = std::max(1, int(std::lround(desc.size * 96.0 / 72.0)));
    font.setPixelSize(pixels);
    // Tiny sizes stay readable when their stems are snapped to whole pixels.
    if (pixels < 9)
        font.setHintingPreference(QFont::PreferFullHinting);
    const bool black = desc.name.compare(QLatin1String("Arial Black"), Qt::CaseInsensitive) == 0;
    font.setWeight(black ? QFont::Black : desc.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(desc.italic);
    font.setUnderline(desc.underline);
    // The classic faces were set without kerning; the windows' captions are
    // measured on that understanding.
    font.setKerning(false);
    fonts.insert(key, font);
    return font;
}

FontDatabaseAhead::FontDatabaseAhead()
{
    try {
        m_thread = std::thread([] {
            QFontDatabase::families();
            // Loading a stand-in face here also settles its fallback faces,
            // which the database keeps for every thread; the face itself is
            // loaded again by the thread that draws with it.
            QFont face;
            face.setFamilies(candidatesFor(FontDesc{}.name));
            face.setPixelSize(11);
            QFontMetricsF(face).height();
        });
    } catch (const std::system_error &) {
        // Without a thread the database is filled where the first font needs it.
    }
}

FontDatabaseAhead::~FontDatabaseAhead()
{
    wait();
}

void FontDatabaseAhead::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace kvx
