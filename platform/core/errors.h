#pragma once

#include <QString>

#include <stdexcept>

namespace kvx {

// Run-time error numbers, kept to the classic values so that handlers that
// test a number (a cancelled dialog, a missing element) read naturally.
enum ErrorNumber {
    ErrOverflow = 6,
    ErrSubscript = 9,
    ErrTypeMismatch = 13,
    ErrBadFileNumber = 52,
    ErrFileNotFound = 53,
    ErrFileAlreadyOpen = 55,
    ErrPastEnd = 62,
    ErrPathAccess = 75,
    ErrBadData = 1001,      // a value that a data file cannot hold or did not hold
    ErrNoElement = 340,     // control array element does not exist
    ErrElementExists = 360, // control array element already loaded
    ErrDesignElement = 362, // control array element made at design time cannot be unloaded
    ErrInvalidProperty = 380,
    ErrCancel = 32755, // the user cancelled a common dialog
};

class PlatformError : public std::runtime_error
{
public:
    PlatformError(int number, const QString &description)
        : std::runtime_error(description.toStdString()),
          m_number(number),
          m_description(description)
    {
    }
    int number() const { return m_number; }
    QString description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// Thrown by the end-of-program hook that tests install, so that a test can
// see the program end without the process going away.
struct ProgramEnded
{
    int code = 0;
};

[[noreturn]] void raiseError(int number, const QString &description = {});

} // namespace kvx
