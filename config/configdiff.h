#pragma once

#include "config/configuration.h"

#include <QList>
#include <QString>

// The fields in which a unit differs from a configuration.
namespace ConfigDiff {

struct Difference
{
    quint8 code;
    QString field;    // its name in the file; "Bytes" for bytes no field shows
    QString expected; // as the file holds it
    QString actual;   // as the unit holds it
    bool identity;    // an address or link setting, not cloned by default
};

// Every field of the commands both hold, in the order of the commands; the
// commands the unit cannot be read back for are not compared.
QList<Difference> compare(const Configuration &expected, const Configuration &actual);

// Whether the differences count: identity ones only when asked for.
bool differs(const QList<Difference> &differences, bool includeIdentity);

// "[$11: Current Control] Running: 80 in the file, 81 in the unit", one a line,
// the identity differences after the others under a heading of their own.
QString describe(const QList<Difference> &differences, bool includeIdentity);

} // namespace ConfigDiff
