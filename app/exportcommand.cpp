#include "app/exportcommand.h"

#include "app/startup.h"
#include "model/exchangereader.h"
#include "model/modmain.h"
#include "platform/application.h"
#include "platform/core/errors.h"
#include "platform/core/services.h"
#include "platform/qtservices.h"
#include "viewer/exportview.h"
#include "viewer/frmswitch.h"
#include "viewer/loadexchange.h"

#include <QFile>
#include <QScopeGuard>

#include <cstdio>
#include <optional>

namespace kvx {

const char ExportUsage[] =
    "       kvx410 --export VIEW OUT [--file DATA.kvx] [--rack NAME] [--shelf N]\n"
    "                                [--ring NAME] [--scale F]\n";

namespace {

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

constexpr double MaxScale = 8;

struct ExportArguments
{
    QStringList positional; // VIEW OUT
    std::optional<QByteArray> file;
    std::optional<QString> rack, shelf, ring, scale;
};

void printError(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

int fail(const QString &why, int code = ExitFailed)
{
    printError("kvx410: " + why.toUtf8());
    return code;
}

// The words of the command line; an error in a sentence, or nothing.
QString readArguments(int argc, char *argv[], ExportArguments &args)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--export")
            continue;
        if (!arg.startsWith("--")) {
            args.positional << QString::fromLocal8Bit(arg);
            continue;
        }
        std::optional<QString> *const option = arg == "--rack"    ? &args.rack
                                               : arg == "--shelf" ? &args.shelf
                                               : arg == "--ring"  ? &args.ring
                                               : arg == "--scale" ? &args.scale
                                                                  : nullptr;
        if (!option && arg != "--file")
            return QStringLiteral("unknown option %1").arg(QString::fromLocal8Bit(arg));
        if (i + 1 == argc)
            return QStringLiteral("%1 needs a value").arg(QString::fromLatin1(arg));
        const QByteArray value(argv[++i]);
        if (option)
            *option = QString::fromLocal8Bit(value);
        else
            args.file = value;
    }
    if (args.positional.size() != 2)
        return QStringLiteral("--export takes a view and a file: kvx410 --export VIEW OUT");
    return {};
}

// What the arguments ask for; an error in a sentence, or nothing.
QString readRequest(const ExportArguments &args, ViewRequest &request, double &scale)
{
    static const QStringList views{QStringLiteral("room"), QStringLiteral("rack"), QStringLiteral("shelf"),
                                   QStringLiteral("ring")};
    const qsizetype kind = views.indexOf(args.positional[0]);
    if (kind < 0)
        return QStringLiteral("unknown view \"%1\": room, rack, shelf or ring").arg(args.positional[0]);
    request.kind = ViewRequest::Kind(kind);
    if (!pictureFormatOf(args.positional[1]))
        return QStringLiteral("%1: its extension chooses the format: .png, .svg or .pdf").arg(args.positional[1]);
    const bool ofRack = request.kind == ViewRequest::Rack || request.kind == ViewRequest::Shelf;
    if (args.rack.has_value() != ofRack)
        return ofRack ? QStringLiteral("the %1 view needs --rack NAME").arg(views[kind])
                      : QStringLiteral("--rack is for the rack and shelf views");
    if (args.shelf.has_value() != (request.kind == ViewRequest::Shelf))
        return args.shelf ? QStringLiteral("--shelf is for the shelf view")
                          : QStringLiteral("the shelf view needs --shelf N");
    if (args.ring.has_value() != (request.kind == ViewRequest::Ring))
        return args.ring ? QStringLiteral("--ring is for the ring view")
                         : QStringLiteral("the ring view needs --ring NAME");
    request.rack = args.rack.value_or(QString());
    bool number = true;
    request.shelf = args.shelf ? args.shelf->toInt(&number) : 0;
    if (!number || (args.shelf && (request.shelf < 1 || request.shelf > ShelvesPerRack)))
        return QStringLiteral("--shelf takes a shelf from 1 to 5, not \"%1\"").arg(*args.shelf);
    static const QStringList rings{QStringLiteral("MIS"), QStringLiteral("MAS1"), QStringLiteral("MAS2"),
                                   QStringLiteral("MAS3"), QStringLiteral("MAS4")};
    request.ring = args.ring ? int(rings.indexOf(args.ring->toUpper())) : 0;
    if (request.ring < 0)
        return QStringLiteral("--ring takes MIS or MAS1 to MAS4, not \"%1\"").arg(*args.ring);
    scale = args.scale ? args.scale->toDouble(&number) : 2;
    if (!number || !(scale > 0 && scale <= MaxScale))
        return QStringLiteral("--scale takes a number above 0 and at most %1, not \"%2\"")
            .arg(MaxScale)
            .arg(*args.scale);
    return {};
}

// The exchange shown, built on the 1024 x 768 layout; false when the file
// is refused, which has then been said.
bool loadExchange(const std::optional<QByteArray> &file)
{
    const QByteArray name = file ? *file : QFile::encodeName(startDataFile());
    std::optional<Exchange> x = readDataFile(name, printError);
    if (!x)
        return false;
    if (const QString large = roomTooLarge(*x); !large.isEmpty()) {
        printError(name + ": " + large.toUtf8());
        return false;
    }
    ModMain.DataFile = name;
    adoptExchange(std::move(*x));
    return true;
}

} // namespace

int exportCommand(int argc, char *argv[])
{
    ExportArguments args;
    ViewRequest request;
    double scale = 2;
    QString wrong = readArguments(argc, argv, args);
    if (wrong.isEmpty())
        wrong = readRequest(args, request, scale);
    if (!wrong.isEmpty())
        return fail(wrong, ExitUsage);
    // No window is shown: without a display Qt's offscreen platform paints.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the command's own lines only, not Qt's remarks
    // on the machine (a runtime folder not set, a font not found).
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            printError(message.toUtf8());
    });
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvx410"));
    installQtServices();
    setMsgBoxHook([](const MsgBoxCall &call) {
        fail(call.text);
        return int(vbOK);
    });
    Screen::setSizeTwips(1024 * TwipsPerPixel, 768 * TwipsPerPixel);
    const auto discard = qScopeGuard([] { frmSwitch::discard(); });
    try {
        if (!loadExchange(args.file))
            return ExitFailed;
        frmSwitch &form = frmSwitch::get();
        QString error;
        if (!openView(form, request, &error) || !exportView(shownView(form), args.positional[1], scale, &error))
            return fail(error);
    } catch (const PlatformError &e) {
        return fail(e.description());
    }
    return ExitOk;
}

} // namespace kvx
