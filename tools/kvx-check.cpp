// kvx-check: loads exchange data files with the program's own reader and says
// whether the program would load them, and where and why not. With
// --normalize it prints the bytes the editor's Save would write for a file;
// with --diff, how a trainee's exchange differs from the expected one.

#include "model/exchangediff.h"
#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "platform/core/files.h"

#include <QFile>

#include <cstdio>
#include <optional>

namespace {

const char *const Usage =
    "usage: kvx-check FILE...\n"
    "       kvx-check --normalize FILE\n"
    "       kvx-check --diff [--csv] EXPECTED ACTUAL\n";

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
    QFile file;
    QString reason;
    if (!kvx::Files::openRegularFile(file, QFile::decodeName(name), &reason)) {
        printLine(stderr, name + ": cannot open: " + utf8(reason));
        return std::nullopt;
    }
    kvx::Exchange x;
    kvx::ExchangeReader reader;
    reader.setNameMismatchHandler([&](const QByteArray &found, int shoot, int place, int line) {
        const QString text = QStringLiteral(
                                 "warning: the record of the rack at shoot %1, place %2 is named \"%3\", "
                                 "the rack grid says \"%4\"; the record is read all the same")
                                 .arg(shoot)
                                 .arg(place)
                                 .arg(kvx::displayText(found), x.RackName(shoot, place).str());
        printLine(stderr, name + ':' + QByteArray::number(line) + ": " + utf8(text));
    });
    if (reader.read(file, x))
        return x;
    QByteArray where = name + ':';
    if (reader.errorLine() > 0)
        where += QByteArray::number(reader.errorLine()) + ':' + QByteArray::number(reader.errorColumn()) + ':';
    printLine(stderr, where + ' ' + utf8(reader.errorString()));
    return std::nullopt;
}

int check(const QList<QByteArray> &names)
{
    int result = ExitOk;
    for (const QByteArray &name : names) {
        const std::optional<kvx::Exchange> x = load(name);
        if (!x) {
            result = ExitFailed;
            continue;
        }
        const QString summary = QStringLiteral("ok (%1 shoots x %2 places, %3 racks, %4 MAS rings)")
                                    .arg(x->shoots())
                                    .arg(x->racks())
                                    .arg(rackCount(*x))
                                    .arg(x->NoOfMas.toInt());
        printLine(stdout, name + ": " + utf8(summary));
    }
    return result;
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

// A spreadsheet's field: quoted when it holds a comma, a quote or a line end.
QByteArray csvField(const QString &value)
{
    QByteArray field = utf8(value);
    if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r'))
        field = '"' + field.replace('"', "\"\"") + '"';
    return field;
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
        printLine(stdout, csv ? csvField(d.what) + ',' + csvField(d.where) + ',' + csvField(d.expected) + ','
                                    + csvField(d.actual)
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
        if (normalizing)
            return usageError("--diff and --normalize do not go together");
        if (names.size() != 2)
            return usageError("--diff takes exactly two files");
        return diff(names.front(), names.back(), csv);
    }
    if (csv)
        return usageError("--csv goes with --diff");
    if (!normalizing)
        return check(names);
    if (names.size() != 1)
        return usageError("--normalize takes exactly one file");
    return normalize(names.front());
}
