#pragma once

#include <cstddef>
#include <memory>

namespace karvsim {
class SimulatedUnit;
}

namespace Bench {

// Stop-and-wait requests from a client with nothing between it and the line:
// blocking reads on the port, no event loop, no threads. What it takes above
// the line's floor is what the pseudo-terminal, the simulated unit and the
// machine's wake-ups cost, which no real client can avoid either.
struct BareExchange
{
    bool answered = false; // every request got its reply
    double seconds = 0.0;
    std::size_t requests = 0;
    std::size_t bytes = 0; // sent and received on the boot line

    // (bytes × 10 bits) / 9600 baud.
    double floorSeconds() const;
};

// A simulated unit in its boot loader, its line paced by byte time.
std::unique_ptr<karvsim::SimulatedUnit> pacedBootLoader();

// `requests` requests ('C' and 'R' in turn) to `unit`, whose boot loader must
// be active with byte time on.
BareExchange bareBootExchanges(karvsim::SimulatedUnit &unit, std::size_t requests);

} // namespace Bench
