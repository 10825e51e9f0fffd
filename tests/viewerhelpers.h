#pragma once

// Helpers shared by the main window's tests: data files of small rooms
// written the way the reader expects them, a program folder with hooks to
// start the program in, and where a lightweight control lies in pixels.

#include "app/modmain.h"
#include "app/startup.h"
#include "platform/lightcontrol.h"
#include "platform/picturebox.h"
#include "controlshelpers.h"
#include "support/testhooks.h"
#include "viewer/frmswitch.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>

#include <array>
#include <memory>

namespace kvx::test {

// A room for a data file: rows[s - 1][p - 1] is the rack at shoot s, place p
// ("" for an empty place). A rack gets the stations listed for it, otherwise
// NAME/1 .. NAME/5, and no cards. Ring members are written as listed, then "*" unless a list
// already has 15 members.
struct TestRoom
{
    QByteArray site = "TEST ROOM";
    QList<QByteArrayList> rows;
    QMap<QByteArray, QByteArrayList> stations;
    int noOfMas = 2;
    std::array<QByteArrayList, 5> rings;                                 // MIS, MAS1 .. MAS4
    std::array<quint32, 5> colours{0x00A000, 0x0000C0, 0xC00000, 0x008080, 0x800080};
};

inline QByteArray stationName(const QByteArray &rack, int shelf)
{
    return rack + '/' + QByteArray::number(shelf);
}

inline QByteArray roomFile(const TestRoom &room)
{
    const int shoots = int(room.rows.size());
    const int places = shoots ? int(room.rows.first().size()) : 0;
    QByteArray out = '"' + room.site + "\"," + QByteArray::number(shoots) + ',' + QByteArray::number(places) + ','
                     + QByteArray::number(room.noOfMas) + "\r\n";
    for (const QByteArrayList &row : room.rows)
        out += row.join(',') + "\r\n";
    for (const QByteArrayList &row : room.rows) {
        for (const QByteArray &rack : row) {
            if (rack.isEmpty())
                continue;
            out += rack + "\r\n";
            QByteArrayList stations = room.stations.value(rack);
            if (stations.isEmpty()) {
                for (int k = 1; k <= 5; ++k)
                    stations << stationName(rack, k);
            }
            out += stations.join(',') + "\r\n";
            for (int shelf = 1; shelf <= 5; ++shelf)
                out += "-1 \r\n";
        }
    }
    static const char *const names[] = {"MIS", "MAS1", "MAS2", "MAS3", "MAS4"};
    for (int k = 0; k <= room.noOfMas; ++k) {
        QByteArrayList members = room.rings[size_t(k)];
        if (members.size() < 15)
            members << "*";
        out += QByteArray(names[k]) + "\r\n" + members.join(',') + ", " + QByteArray::number(room.colours[size_t(k)])
               + " \r\n";
    }
    return out;
}

// A room of the given size with every place a rack named Rsp (R11, R12 ...).
inline TestRoom fullRoom(int shoots, int places)
{
    TestRoom room;
    for (int s = 1; s <= shoots; ++s) {
        QByteArrayList row;
        for (int p = 1; p <= places; ++p)
            row << "R" + QByteArray::number(s) + QByteArray::number(p);
        room.rows << row;
    }
    return room;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A fresh program folder, answering hooks and a 1024 x 768 screen for each
// test; the main window and the model are thrown away afterwards.
class ProgramFixture
{
public:
    explicit ProgramFixture(int screenWidthPixels = 1024, int screenHeightPixels = 768)
    {
        setAppPath(m_dir.path());
        Screen::setSizeTwips(screenWidthPixels * 15, screenHeightPixels * 15);
        ModMain = ModMainState();
    }
    ~ProgramFixture()
    {
        frmSwitch::discard();
        setPopupMenuHook({});
        ModMain = ModMainState();
    }
    ProgramFixture(const ProgramFixture &) = delete;
    ProgramFixture &operator=(const ProgramFixture &) = delete;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool write(const QString &name, const QByteArray &bytes) const { return writeFile(path(name), bytes); }

    // Starts the program on a config.kvx holding the room; true when the window is shown.
    bool start(const TestRoom &room)
    {
        if (!write(QStringLiteral("config.kvx"), roomFile(room)))
            return false;
        Main();
        return frmSwitch::isLoaded() && frmSwitch::get().isVisible();
    }

    Hooks hooks;

private:
    QTemporaryDir m_dir;
};

// Where a lightweight control lies in its container widget's pixels.
inline QRect widgetRect(const LightControl &control)
{
    return control.pixelRect().translated(control.container()->clientOrigin());
}

// A &HBBGGRR colour as Qt shows it.
inline QColor qtColor(quint32 bgr)
{
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

} // namespace kvx::test
