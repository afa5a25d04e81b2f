#pragma once

#include <QLatin1StringView>
#include <QList>
#include <QtGlobal>

#include <span>

namespace Protocol {
struct ReplyFrame;
}

// The quantities a plot can show: each is one value of a query's reply, as
// the panel's decoding writes it into the window.
struct Quantity
{
    quint8 code;            // the query that brings it
    QLatin1StringView control; // where the decoding writes it
    QLatin1StringView name;
    bool step; // a switch: drawn as a step trace
};

std::span<const Quantity> Quantities();

// The queries a plot can poll, in the order the window offers them.
QList<quint8> PlotQueries();

struct QuantityValue
{
    int quantity; // index into Quantities()
    double value;
};

// The quantities a reply carries, decoded as the window decodes it.
QList<QuantityValue> QuantitiesOf(const Protocol::ReplyFrame &reply);
