// The controls of the largest room (15 shoots of 15 racks): 225 rack images,
// 225 name labels, 450 end panels, and the ring grid's 225 shapes and 225
// labels, made through control arrays and removed again, each statement run
// through skipError as the room plan builder runs them. Also the cost of
// painting the built room once.

#include "platform/controlarray.h"
#include "platform/form.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/picturebox.h"
#include "platform/shape.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kvx;

namespace {

constexpr int Shoots = 15;
constexpr int Racks = 15;

Picture rackPicture(const QTemporaryDir &dir, const QString &name, int width)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='263'>"
                                  "<rect width='%1' height='263' fill='#8a9096' stroke='#3b3f44' stroke-width='2'/>"
                                  "<rect x='4' y='8' width='%2' height='16' fill='#e8e8d8'/></svg>")
                       .arg(width)
                       .arg(std::max(1, width - 8))
                       .toUtf8());
        file.close();
    }
    return Picture(path);
}

// The main window's room and ring pictures with their design-time templates.
struct Room
{
    QTemporaryDir dir;
    Form form;
    PictureBox *PicRoom = new PictureBox(form.clientArea());
    PictureBox *PicRing = new PictureBox(form.clientArea());
    Image *imgEFL0 = PicRoom->create<Image>();
    Image *imgEF0 = PicRoom->create<Image>();
    Image *imgRack0 = PicRoom->create<Image>();
    Label *lblRack0 = PicRoom->create<Label>();
    Shape *shpRack0 = PicRing->create<Shape>();
    Label *lblRingRack0 = PicRing->create<Label>();
    ControlArray<Image> imgRack{imgRack0};
    ControlArray<Label> lblRack{lblRack0};
    ControlArray<Image> imgEFL{imgEFL0};
    ControlArray<Image> imgEF{imgEF0};
    ControlArray<Shape> shpRack{shpRack0};
    ControlArray<Label> lblRingRack{lblRingRack0};
    int rackIndex = 0;
    int eflCount = 0;
    int efCount = 0;

    Room()
    {
        form.resize(1024, 740);
        PicRoom->Move(255, 0, 14850, 9000);
        PicRing->Move(255, 0, 14850, 9000);
        imgRack0->setStretch(true);
        imgRack0->setPicture(rackPicture(dir, QStringLiteral("rack.svg"), 140));
        imgRack0->Move(0, 9000 - 2.5 * 3945, 2160, 3945);
        imgEF0->setStretch(true);
        imgEF0->setPicture(rackPicture(dir, QStringLiteral("ef.svg"), 10));
        imgEF0->Move(0, 0, 165, 3945);
        imgEFL0->setStretch(true);
        imgEFL0->setPicture(rackPicture(dir, QStringLiteral("efl.svg"), 8));
        imgEFL0->Move(0, 0, 120, 3945);
        lblRack0->setFontDesc({QStringLiteral("MS Sans Serif"), 9.75, true});
        lblRack0->setForeColor(0xFF0000);
        lblRack0->setBackStyle(Label::Transparent);
        lblRack0->setAutoSize(true);
        lblRack0->setCaption(QStringLiteral("XXXX"));
        shpRack0->Move(0, 0, 14850 * 0.6 / Racks, 9000 * 0.6 / Shoots);
        lblRingRack0->setFontDesc({QStringLiteral("MS Sans Serif"), 9.75, true});
        lblRingRack0->setBackStyle(Label::Transparent);
        lblRingRack0->setAutoSize(true);
        for (LightControl *t :
             std::initializer_list<LightControl *>{imgEFL0, imgEF0, imgRack0, lblRack0, shpRack0, lblRingRack0})
            t->setVisible(false);
        PicRing->setVisible(false);
        form.show();
        QCoreApplication::processEvents();
    }

    void placeRacks()
    {
        rackIndex = eflCount = efCount = 0;
        double x = imgRack0->Left();
        double y = imgRack0->Top();
        const double w = imgRack0->Width();
        const double h = imgRack0->Height();
        for (int s = Shoots; s >= 1; --s) {
            for (int p = 1; p <= Racks; ++p) {
                ++rackIndex;
                const int i = rackIndex;
                skipError([&] { lblRack.Load(i); });
                skipError([&] { imgRack.Load(i); });
                skipError([&] { imgRack(i).Move(x + p * w, y); });
                skipError([&] { imgRack(i).setVisible(true); });
                skipError([&] { lblRack(i).setTop(imgRack(i).Top() + 200); });
                skipError([&] { lblRack(i).setVisible(true); });
                skipError([&] { lblRack(i).setCaption(QStringLiteral("UC-%1").arg(i, 2, 10, QLatin1Char('0'))); });
                skipError([&] { lblRack(i).setLeft(imgRack(i).Left() + (w - lblRack(i).Width()) / 2); });
                skipError([&] { imgRack(i).setToolTipText(QStringLiteral("RackPosition %1 x %2").arg(s).arg(p)); });
                // Every rack a run of its own: one left and one right end panel each.
                const int l = ++eflCount;
                skipError([&] { imgEFL.Load(l); });
                skipError([&] { imgEFL(l).Move(imgRack(i).Left() - imgEFL(l).Width(), y); });
                skipError([&] { imgEFL(l).setVisible(true); });
                const int r = ++efCount;
                skipError([&] { imgEF.Load(r); });
                skipError([&] { imgEF(r).Move(imgRack(i).Left() + w, y); });
                skipError([&] { imgEF(r).setVisible(true); });
            }
            x += w / 6;
            y -= h / 4;
        }
    }

    void buildRingGrid()
    {
        const double pitchX = 14850 * 0.7 / Racks;
        const double pitchY = 9000 * 0.7 / Shoots;
        int i = 0;
        for (int r = 1; r <= Shoots; ++r) {
            for (int c = 1; c <= Racks; ++c) {
                const int k = ++i;
                skipError([&] { shpRack.Load(k); });
                skipError([&] { lblRingRack.Load(k); });
                skipError([&] { shpRack(k).Move(c * pitchX, r * pitchY); });
                skipError([&] { shpRack(k).setBorderStyle((k % 7) ? 1 : 3); });
                skipError([&] { shpRack(k).setVisible(true); });
                skipError([&] { lblRingRack(k).setCaption(QStringLiteral("UC-%1").arg(k)); });
                skipError([&] {
                    lblRingRack(k).Move(shpRack(k).Left() + (shpRack(k).Width() - lblRingRack(k).Width()) / 2,
                                        shpRack(k).Top());
                });
                skipError([&] { lblRingRack(k).setVisible(true); });
            }
        }
    }

    void clear()
    {
        for (int i = 1; i <= rackIndex; ++i) {
            lblRack.Unload(i);
            imgRack.Unload(i);
        }
        for (int i = 1; i <= eflCount; ++i)
            imgEFL.Unload(i);
        for (int i = 1; i <= efCount; ++i)
            imgEF.Unload(i);
        for (int i = 1; i <= Shoots * Racks; ++i) {
            shpRack.Unload(i);
            lblRingRack.Unload(i);
        }
        PicRing->Cls();
    }
};

void BM_BuildAndClearRoom(benchmark::State &state)
{
    Room room;
    for (auto _ : state) {
        room.placeRacks();
        room.buildRingGrid();
        room.clear();
        // Lets the pending repaint requests go, as the event loop would between rebuilds.
        QCoreApplication::processEvents();
    }
    state.counters["controls"] = 4 * Shoots * Racks + 2 * Shoots * Racks;
}
BENCHMARK(BM_BuildAndClearRoom)->Unit(benchmark::kMillisecond);

void BM_BuildRoom(benchmark::State &state)
{
    Room room;
    for (auto _ : state) {
        room.placeRacks();
        room.buildRingGrid();
        state.PauseTiming();
        room.clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildRoom)->Unit(benchmark::kMillisecond);

void BM_PaintBuiltRoom(benchmark::State &state)
{
    Room room;
    room.placeRacks();
    QImage target(room.PicRoom->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        room.PicRoom->render(&painter);
    }
}
BENCHMARK(BM_PaintBuiltRoom)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
