#pragma once

// The words the data file's reader and writer both use in their messages.

#include "platform/core/loose.h"

#include <QByteArray>
#include <QString>

namespace kvx::exchangetexts {

inline QString quoted(const QByteArray &bytes)
{
    QString s = displayText(bytes);
    if (s.size() > 40)
        s = s.left(40) + QStringLiteral("...");
    return QLatin1Char('"') + s + QLatin1Char('"');
}

inline QString rackLabel(const Loose &name, int s, int p)
{
    return QStringLiteral("rack %1 (shoot %2, place %3)").arg(name.str()).arg(s).arg(p);
}

inline QString cardLabel(int shelf, int n, const QString &rack)
{
    return QStringLiteral("shelf %1's card %2 of %3").arg(shelf).arg(n).arg(rack);
}

inline const char *const RingNames[] = {"MIS", "MAS1", "MAS2", "MAS3", "MAS4"};

} // namespace kvx::exchangetexts
