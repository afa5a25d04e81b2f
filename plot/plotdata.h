#pragma once

#include "plot/quantities.h"

#include <QByteArray>

#include <deque>

// The polled values in the order they came, bounded: once full, the oldest
// go, so that hours of polling keep memory flat.
class PlotData
{
public:
    struct Sample
    {
        double seconds; // since polling first started
        int quantity;
        double value;
    };

    // About 24 hours of four quantities at 10 Hz.
    static constexpr std::size_t DefaultCapacity = 4'000'000;

    explicit PlotData(std::size_t capacity = DefaultCapacity);

    void add(double seconds, const QuantityValue &value);
    void clear() { m_samples.clear(); }

    const std::deque<Sample> &samples() const { return m_samples; }

    // A heading record (the time and each quantity present, in catalogue
    // order) and a record per moment, its other cells empty; RFC 4180 line
    // ends, the time in seconds to six decimals.
    QByteArray toCsv() const;

private:
    std::size_t m_capacity;
    std::deque<Sample> m_samples;
};
