#pragma once

#include <chrono>
#include <cstdint>

namespace karvsim {

// The ramp settings the motor runs with, taken from the working parameters.
struct MotionProfile
{
    double acceleration = 0;      // steps/s², 0 = change velocity at once
    double maxVelocity = 0;       // steps/s, for ramps to a position
    double referenceVelocity = 0; // steps/s, for the reference search
};

struct Switches
{
    bool left = false;
    bool right = false;
    bool reference = false;
};

// One motor on a linear axis: the reference switch sits at the axis origin,
// the left and right end switches `travel` steps to either side. The
// position register counts from wherever it was last set ($27, reference
// search, reset), the encoder counts axis steps.
//
// The model is advanced lazily to the time of each command: velocity
// changes are integrated in 1 ms ticks, stretches of constant velocity are
// jumped in one go, so even a long idle or cruise costs next to nothing.
class MotionModel
{
public:
    using Time = std::chrono::nanoseconds;

    explicit MotionModel(std::int32_t travel);

    void advanceTo(Time now, const MotionProfile &profile);

    void rampTo(std::int32_t target);
    void rotate(std::int32_t velocity);
    void softStop();
    void emergencyStop();
    void searchReference();
    void setPosition(std::int32_t position);
    // Stops and clears the position register, as the firmware does on reset.
    void reset();

    std::int64_t position() const;
    std::int64_t encoderCount() const;
    std::int32_t velocity() const;
    std::int32_t acceleration() const;
    bool searchingReference() const;
    Switches switches() const;

private:
    enum class Mode { Idle, Ramp, Rotate, Stop, Reference };

    double desiredVelocity(const MotionProfile &profile) const;
    // Seconds that can pass at the present velocity before anything but time changes.
    double cruiseTime(const MotionProfile &profile) const;
    void integrate(double dt, const MotionProfile &profile);
    void cruise(double dt);
    void settle(double before);
    void halt();

    double travel_;
    Mode mode_ = Mode::Idle;
    double axis_ = 0;   // steps from the reference switch
    double origin_ = 0; // position register minus axis position
    double velocity_ = 0;
    double acceleration_ = 0;
    double target_ = 0;   // ramp target, position-register value
    double rotation_ = 0; // constant-rotation velocity
    Time last_{};
    bool clockStarted_ = false;
};

} // namespace karvsim
