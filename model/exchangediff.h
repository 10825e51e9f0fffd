#pragma once

// How two exchanges differ, in the words an instructor uses when checking a
// trainee's work: racks by place, shelves, cards and rings, not bytes.

#include "model/modmain.h"

#include <QList>
#include <QString>

namespace kvx {

// One difference: the line a person reads, and the same as a row of a table
// (what, where, its value in each exchange; empty where it is not there).
struct ExchangeDifference
{
    QString line;
    QString what, where, expected, actual;
};

} // namespace kvx

// A list of 80,000 lines grows by moving its strings' pointers.
Q_DECLARE_TYPEINFO(kvx::ExchangeDifference, Q_RELOCATABLE_TYPE);

namespace kvx {

// The differences, in this order: site name, room size, racks by place
// (added, removed, another rack in its place), then the shelves and cards of
// each rack standing at the same place in both, then the rings. Values compare
// as the program reads them, so two files that load alike have none.
QList<ExchangeDifference> diffExchanges(const Exchange &expected, const Exchange &actual);

} // namespace kvx
