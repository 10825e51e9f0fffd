// kvx-check: loads exchange data files with the program's own reader and says
// whether the program would load them, and where and why not. With
// --normalize it prints the bytes the editor's Save would write for a file;
// with --diff, how a trainee's exchange differs from the expected one; with
// --inventory every card of the files, as CSV.

#include "model/exchangediff.h"
#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "platform/core/files.h"

#include <QFile>

#include <cstdio>
#include <functional>
#include <optional>

namespace {

const char *const Usage =
    "usage: kvx-check FILE...\n"
    "       kvx-check --normalize FILE\n"
    "       kvx-check --diff [--csv] EXPECTED ACTUAL\n"
    "       kvx-check --inventory FILE...\n";

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };
// --diff answers as diff does, for scripts grading a class.
enum DiffExit { DiffSame = 0, DiffDiffers = 1, DiffTrouble = 2 };

void printLine(FILE *stream, const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fputc('\n', stream);
    // Reports go to two streams; flushing keeps them in order on one terminal.
    std::fflush(stream);
}

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}

int rackCount(const kvx::Exchange &x)
{
    int racks = 0;
    for (int s = 1; s <= x.shoots(); ++s) {
        for (int p = 1; p <= x.racks(); ++p)
            racks += x.RackName(s, p) == "" ? 0 : 1;
    }
    return racks;
}

// Loads one file, printing its warnings and, on failure, where and why it
// failed. `name` is the file as given on the command line.
std::optional<kvx::Exchange> load(const QByteArray &name)
{
    return kvx::readDataFile(name, [](const QByteArray &line) { printLine(stderr, line); });
}

// Loads the files in turn and hands each that loads to `use`; ExitFailed when one did not.
int eachLoaded(const QList<QByteArray> &names,
               const std::function<void(const QByteArray &, const kvx::Exchange &)> &use)
{
    int result = ExitOk;
    for (const QByteArray &name : names) {
        const std::optional<kvx::Exchange> x = load(name);
        if (x)
            use(name, *x);
        else
            result = ExitFailed;
    }
    return result;
}

int check(const QList<QByteArray> &names)
{
    return eachLoaded(names, [](const QByteArray &name, const kvx::Exchange &x) {
        const QString summary = QStringLiteral("ok (%1 shoots x %2 places, %3 racks, %4 MAS rings)")
                                    .arg(x.shoots())
                                    .arg(x.racks())
                                    .arg(rackCount(x))
                                    .arg(x.NoOfMas.toInt());
        printLine(stdout, name + ": " + utf8(summary));
    });
}

int normalize(const QByteArray &name)
{
    const std::optional<kvx::Exchange> x = load(name);
    if (!x)
        return ExitFailed;
    kvx::ExchangeWriter writer;
    QByteArray bytes;
    if (!writer.write(*x, kvx::ModelRingControls(*x), &bytes)) {
        printLine(stderr, name + ": cannot be saved: " + utf8(writer.errorString()));
        return ExitFailed;
    }
    // stdout is a byte stream here: CR LF stays as the writer made it.
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0) {
        printLine(stderr, name + ": cannot write to standard output");
        return ExitFailed;
    }
    return ExitOk;
}

QByteArray csvField(const QByteArray &field)
{
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n') && !field.contains('\r'))
        return field;
    return '"' + QByteArray(field).replace('"', "\"\"") + '"';
}

// One CSV row a card, in the file's order: racks shoot by shoot and place by
// place, their shelves, then the cards up to the end of each shelf's list.
// `file` is the first field when several files are listed.
void printCards(const QByteArray &file, const kvx::Exchange &x)
{
    for (int s = 1; s <= x.shoots(); ++s) {
        for (int p = 1; p <= x.racks(); ++p) {
            if (x.RackName(s, p) == "")
                continue;
            for (int shelf = 1; shelf <= kvx::ShelvesPerRack; ++shelf) {
                for (int n = 1; n <= kvx::CardsPerShelf && !(x.SlotNo(s, p, shelf, n) == -1); ++n) {
                    const QByteArrayList row{QByteArray::number(s),
                                             QByteArray::number(p),
                                             x.RackName(s, p).text(),
                                             QByteArray::number(shelf),
                                             x.StationName(s, p, shelf).text(),
                                             x.SlotNo(s, p, shelf, n).text(),
                                             x.CardName(s, p, shelf, n).text(),
                                             x.CardType(s, p, shelf, n).text()};
                    QByteArray line = file.isNull() ? QByteArray() : csvField(file) + ',';
                    for (const QByteArray &field : row)
                        line += csvField(field) + ',';
                    line.chop(1);
                    printLine(stdout, line);
                }
            }
        }
    }
}

int inventory(const QList<QByteArray> &names)
{
    const bool named = names.size() > 1;
    printLine(stdout, QByteArray(named ? "file," : "") + "shoot,place,rack,shelf,station,slot,card,image");
    return eachLoaded(
        names, [named](const QByteArray &name, const kvx::Exchange &x) { printCards(named ? name : QByteArray(), x); });
}

int diff(const QByteArray &expectedName, const QByteArray &actualName, bool csv)
{
    // Both are loaded whatever the first gives: each broken file is reported.
    const std::optional<kvx::Exchange> expected = load(expectedName);
    const std::optional<kvx::Exchange> actual = load(actualName);
    if (!expected || !actual)
        return DiffTrouble;
    const QList<kvx::ExchangeDifference> differences = kvx::diffExchanges(*expected, *actual);
    if (csv)
        printLine(stdout, "what,where,expected,actual");
    for (const kvx::ExchangeDifference &d : differences) {
        printLine(stdout, csv ? csvField(utf8(d.what)) + ',' + csvField(utf8(d.where)) + ',' + csvField(utf8(d.expected)) + ','
                                    + csvField(utf8(d.actual))
                              : utf8(d.line));
    }
    if (std::ferror(stdout)) {
        printLine(stderr, "kvx-check: cannot write to standard output");
        return DiffTrouble;
    }
    return differences.isEmpty() ? DiffSame : DiffDiffers;
}

int usageError(const QByteArray &why = {})
{
    if (!why.isEmpty())
        printLine(stderr, "kvx-check: " + why);
    std::fputs(Usage, stderr);
    return ExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    bool normalizing = false;
    bool diffing = false, csv = false;
    bool inventorying = false;
    bool optionsDone = false;
    QList<QByteArray> names;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (optionsDone || !arg.startsWith('-') || arg == "-") {
            names << arg;
        } else if (arg == "--") {
            optionsDone = true;
        } else if (arg == "--normalize") {
            normalizing = true;
        } else if (arg == "--diff") {
            diffing = true;
        } else if (arg == "--csv") {
            csv = true;
        } else if (arg == "--inventory") {
            inventorying = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return ExitOk;
        } else {
            return usageError("unknown option " + arg);
        }
    }
    if (names.isEmpty())
        return usageError();
    if (diffing) {
        if (normalizing || inventorying)
            return usageError("--diff goes with no other option but --csv");
        if (names.size() != 2)
            return usageError("--diff takes exactly two files");
        return diff(names.front(), names.back(), csv);
    }
    if (csv)
        return usageError("--csv goes with --diff");
    if (inventorying && normalizing)
        return usageError("--normalize and --inventory do not go together");
    if (inventorying)
        return inventory(names);
    if (!normalizing)
        return check(names);
    if (names.size() != 1)
        return usageError("--normalize takes exactly one file");
    return normalize(names.front());
}
