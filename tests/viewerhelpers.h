#pragma once

// For the main window's tests: data files of small rooms, a program folder to start the program in, and what a user
// does: click a control where it is seen (so a press lands on whatever covers it), let the shelf's timer tick.

#include "app/startup.h"
#include "controlshelpers.h"
#include "model/modmain.h"
#include "platform/lightcontrol.h"
#include "platform/picturebox.h"
#include "support/testhooks.h"
#include "viewer/frmswitch.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <optional>

namespace kvx::test {

// rows[s - 1][p - 1] is the rack at shoot s, place p ("" for an empty place).
// A rack gets the stations listed for it, otherwise NAME/1 .. NAME/5, and no
// cards. Ring members are written as listed, then "*" below 15 members.
struct TestRoom
{
    QByteArray site = "TEST ROOM";
    QList<QByteArrayList> rows;
    QMap<QByteArray, QByteArrayList> stations;
    int noOfMas = 2;
    std::array<QByteArrayList, 5> rings; // MIS, MAS1 .. MAS4
    std::array<quint32, 5> colours{0x00A000, 0x0000C0, 0xC00000, 0x008080, 0x800080};
};

inline QByteArray roomFile(const TestRoom &room)
{
    const qsizetype places = room.rows.isEmpty() ? 0 : room.rows.first().size();
    QByteArray out = '"' + room.site + "\"," + QByteArray::number(room.rows.size()) + ','
                     + QByteArray::number(places) + ',' + QByteArray::number(room.noOfMas) + "\r\n";
    for (const QByteArrayList &row : room.rows)
        out += row.join(',') + "\r\n";
    for (const QByteArrayList &row : room.rows) {
        for (const QByteArray &rack : row) {
            if (rack.isEmpty())
                continue;
            QByteArrayList stations = room.stations.value(rack);
            if (stations.isEmpty()) {
                for (int k = 1; k <= 5; ++k)
                    stations << rack + '/' + QByteArray::number(k);
            }
            out += rack + "\r\n" + stations.join(',') + "\r\n" + QByteArray("-1 \r\n").repeated(5);
        }
    }
    static const char *const names[] = {"MIS", "MAS1", "MAS2", "MAS3", "MAS4"};
    for (int k = 0; k <= room.noOfMas; ++k) {
        QByteArrayList members = room.rings[size_t(k)];
        if (members.size() < 15)
            members << "*";
        out += QByteArray(names[k]) + "\r\n" + members.join(',') + ", "
               + QByteArray::number(room.colours[size_t(k)]) + " \r\n";
    }
    return out;
}

// Every place a rack named Rsp (R11, R12 ...).
inline TestRoom fullRoom(int shoots, int places)
{
    TestRoom room;
    for (int s = 1; s <= shoots; ++s) {
        room.rows << QByteArrayList();
        for (int p = 1; p <= places; ++p)
            room.rows.last() << "R" + QByteArray::number(s) + QByteArray::number(p);
    }
    return room;
}

// Where screenshots land for people to look at.
inline QString screenshotFolder()
{
    const QString folder = qEnvironmentVariable("KVX_BUILD_DIR", QDir::currentPath()) + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    return folder;
}

// A fresh program folder with answering hooks and a screen of the given
// size; the main window and the model are thrown away afterwards.
class ProgramFixture
{
public:
    explicit ProgramFixture(int widthPixels = 1024, int heightPixels = 768)
    {
        setAppPath(m_dir.path());
        Screen::setSizeTwips(widthPixels * 15, heightPixels * 15);
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

    // Starts the program on a config.kvx of these bytes; true when the window is shown.
    bool start(const QByteArray &config)
    {
        if (!write(QStringLiteral("config.kvx"), config))
            return false;
        Main();
        return frmSwitch::isLoaded() && frmSwitch::get().isVisible();
    }
    bool start(const TestRoom &room) { return start(roomFile(room)); }

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

inline QWidget *widgetAt(QPoint roomPixel)
{
    QWidget *room = frmSwitch::get().PicRoom;
    QWidget *widget = room->childAt(roomPixel);
    return widget ? widget : room;
}

// The control a click at a pixel of the room reaches; none on a bare background.
inline const LightControl *controlAt(QPoint roomPixel)
{
    QWidget *widget = widgetAt(roomPixel);
    const auto *container = qobject_cast<const Container *>(widget);
    const QPoint local = widget->mapFrom(frmSwitch::get().PicRoom, roomPixel);
    return container ? container->itemAt(local - container->clientOrigin()) : nullptr;
}

inline bool inViewport(QPoint roomPixel)
{
    const frmSwitch &form = frmSwitch::get();
    return QRect(form.PicRoom->mapFrom(form.PicSwitch, QPoint(0, 0)), form.PicSwitch->size()).contains(roomPixel);
}

// A point of the control in the room's pixels; fx and fy pick it within the control.
inline QPoint pointOf(const LightControl &control, double fx = 0.5, double fy = 0.5)
{
    const QRect r = widgetRect(control);
    const QPoint local = r.topLeft() + QPoint(int(r.width() * fx), int(r.height() * fy));
    return control.container()->mapTo(frmSwitch::get().PicRoom, local);
}

inline std::optional<QPoint> visiblePointOf(const LightControl &control)
{
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const QPoint at = pointOf(control, x / 10.0, y / 10.0);
            if (inViewport(at) && controlAt(at) == &control)
                return at;
        }
    }
    return std::nullopt;
}

inline void clickRoom(QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QWidget *target = widgetAt(at);
    QTest::mouseClick(target, button, {}, target->mapFrom(frmSwitch::get().PicRoom, at));
}

// Clicks the control where it is seen; false when it is seen nowhere.
inline bool clickOn(const LightControl &control, Qt::MouseButton button = Qt::LeftButton)
{
    const std::optional<QPoint> at = visiblePointOf(control);
    if (at)
        clickRoom(*at, button);
    return at.has_value();
}

inline bool clickFloor()
{
    QWidget *room = frmSwitch::get().PicRoom;
    for (int y = 5; y < room->height(); y += 10) {
        for (int x = 5; x < room->width(); x += 10) {
            if (inViewport({x, y}) && widgetAt({x, y}) == room && !controlAt({x, y})) {
                clickRoom({x, y});
                return true;
            }
        }
    }
    return false;
}

// The first rack of the plan with this name.
inline int rackIndex(const QString &name)
{
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        if (frmSwitch::get().lblRack(i).Caption() == name)
            return i;
    }
    return 0;
}

inline bool openRack(const QString &name)
{
    const int index = rackIndex(name);
    return index > 0 && clickOn(frmSwitch::get().imgRack(index));
}

// The left door opens with the left button, the right door with the right.
inline bool openDoors()
{
    frmSwitch &form = frmSwitch::get();
    return clickOn(*form.ImgD_C_L, Qt::LeftButton) && clickOn(*form.ImgD_C_R, Qt::RightButton);
}

inline void growShelf(int ticks = 6)
{
    for (int t = 0; t < ticks; ++t)
        frmSwitch::get().TimShelfEnlarger->fireTick();
}

} // namespace kvx::test
