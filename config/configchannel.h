#pragma once

#include "protocol/replyframe.h"

#include <array>
#include <optional>

// One command–reply exchange at a time with the unit, under the rules of the
// panel's Send: at least 100 ms between frames, one reply awaited at a time,
// given up 1000 ms after its frame. Each call waits in the event loop, so the
// window stays live while an operation runs.
class ConfigChannel
{
public:
    using Frame = std::array<quint8, 9>;

    virtual ~ConfigChannel() = default;

    // Sends frame as soon as the pacing allows; for a frame that awaits a
    // reply, returns the reply, or nothing when none came in time. A frame
    // that awaits none returns nothing once it is out.
    virtual std::optional<Protocol::ReplyFrame> exchange(const Frame &frame) = 0;
};
