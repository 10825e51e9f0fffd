#pragma once

#include <QFont>
#include <QString>

#include <thread>

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

// The font to paint with. Sizes are points at 96 dots per inch, as the layout of
// the windows assumes, so 8.25 points are 11 pixels whatever the screen says.
QFont classicFont(const FontDesc &desc);

// Fills Qt's font database on a thread of its own while the program reads
// its data file and builds its window: reading the system's font
// configuration takes milliseconds, and the first text measured then finds
// it done. Made after the application object; wait() before that object goes.
class FontDatabaseAhead
{
public:
    FontDatabaseAhead();
    ~FontDatabaseAhead();
    FontDatabaseAhead(const FontDatabaseAhead &) = delete;
    FontDatabaseAhead &operator=(const FontDatabaseAhead &) = delete;

    void wait();

private:
    std::thread m_thread;
};

} // namespace kvx
