#pragma once

#include <QFont>
#include <QString>

#include <future>
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

// Sets up the fonts on a thread of its own while the program starts: created
// before the application object, it reads the system's font configuration
// while the display is being connected; told that the application object
// exists, it goes on to fill Qt's font database while the window is built.
// The first text the program measures then finds both done.
class FontSetUpAhead
{
public:
    FontSetUpAhead();
    // Waits for the thread; call wait() before the application object goes.
    ~FontSetUpAhead();
    FontSetUpAhead(const FontSetUpAhead &) = delete;
    FontSetUpAhead &operator=(const FontSetUpAhead &) = delete;

    // The application object exists: the font database may be filled.
    void applicationReady();
    void wait();

private:
    void signal(bool ready);

    std::promise<bool> m_ready;
    bool m_signalled = false;
    std::thread m_thread;
};

} // namespace kvx
