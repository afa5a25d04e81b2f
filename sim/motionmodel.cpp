#include "sim/motionmodel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace karvsim {

namespace {

constexpr double kTick = 0.001; // seconds per integration step while the velocity changes
constexpr double kForever = std::numeric_limits<double>::infinity();

int sign(double v)
{
    return (v > 0) - (v < 0);
}

} // namespace

MotionModel::MotionModel(std::int32_t travel)
    : travel_(travel)
{
}

void MotionModel::advanceTo(Time now, const MotionProfile &profile)
{
    if (!clockStarted_ || now < last_) {
        last_ = now;
        clockStarted_ = true;
        return;
    }
    double left = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    while (left > 0 && mode_ != Mode::Idle) {
        const double steady = std::min(left, cruiseTime(profile));
        const double dt = steady >= kTick ? steady : std::min(left, kTick);
        if (steady >= kTick)
            cruise(dt);
        else
            integrate(dt, profile);
        left -= dt;
    }
}

void MotionModel::rampTo(std::int32_t target)
{
    mode_ = Mode::Ramp;
    target_ = target;
}

void MotionModel::rotate(std::int32_t velocity)
{
    mode_ = velocity == 0 ? Mode::Stop : Mode::Rotate;
    rotation_ = velocity;
}

void MotionModel::softStop()
{
    if (mode_ != Mode::Idle)
        mode_ = Mode::Stop;
}

void MotionModel::emergencyStop()
{
    halt();
}

void MotionModel::searchReference()
{
    mode_ = Mode::Reference;
    settle(axis_);
}

void MotionModel::setPosition(std::int32_t position)
{
    origin_ = position - axis_;
}

void MotionModel::reset()
{
    halt();
    origin_ = -axis_;
}

std::int64_t MotionModel::position() const
{
    return std::llround(axis_ + origin_);
}

std::int64_t MotionModel::encoderCount() const
{
    return std::llround(axis_);
}

std::int32_t MotionModel::velocity() const
{
    return static_cast<std::int32_t>(std::lround(velocity_));
}

std::int32_t MotionModel::acceleration() const
{
    return static_cast<std::int32_t>(std::lround(acceleration_));
}

bool MotionModel::searchingReference() const
{
    return mode_ == Mode::Reference;
}

Switches MotionModel::switches() const
{
    return {axis_ <= -travel_, axis_ >= travel_, std::abs(axis_) < 0.5};
}

double MotionModel::desiredVelocity(const MotionProfile &profile) const
{
    switch (mode_) {
    case Mode::Rotate:
        return rotation_;
    case Mode::Reference:
        return -sign(axis_) * profile.referenceVelocity;
    case Mode::Ramp: {
        // Follow the braking curve: never faster than what still stops at the target.
        const double remaining = target_ - origin_ - axis_;
        double speed = profile.maxVelocity;
        if (profile.acceleration > 0)
            speed = std::min(speed, std::sqrt(2 * profile.acceleration * std::abs(remaining)));
        return sign(remaining) * speed;
    }
    case Mode::Idle:
    case Mode::Stop:
        break;
    }
    return 0;
}

double MotionModel::cruiseTime(const MotionProfile &profile) const
{
    if (velocity_ != desiredVelocity(profile))
        return 0;
    if (velocity_ == 0)
        return kForever;
    const double speed = std::abs(velocity_);
    // Distance to the end switch ahead, the reference switch or the braking point.
    double distance = velocity_ > 0 ? travel_ - axis_ : axis_ + travel_;
    if (mode_ == Mode::Reference)
        distance = std::min(distance, std::abs(axis_));
    if (mode_ == Mode::Ramp) {
        double braking = 0;
        if (profile.acceleration > 0)
            braking = velocity_ * velocity_ / (2 * profile.acceleration);
        distance = std::min(distance, std::abs(target_ - origin_ - axis_) - braking - speed * kTick);
    }
    return std::max(distance, 0.0) / speed;
}

void MotionModel::integrate(double dt, const MotionProfile &profile)
{
    const double desired = desiredVelocity(profile);
    double next = desired;
    acceleration_ = 0; // without a ramp the velocity steps, and no acceleration is reported
    if (profile.acceleration > 0) {
        const double change = profile.acceleration * dt;
        next = std::clamp(desired, velocity_ - change, velocity_ + change);
        acceleration_ = (next - velocity_) / dt;
    }
    const double before = axis_;
    axis_ += (velocity_ + next) / 2 * dt;
    velocity_ = next;
    settle(before);
}

void MotionModel::cruise(double dt)
{
    const double before = axis_;
    axis_ += velocity_ * dt;
    acceleration_ = 0;
    settle(before);
}

// Ends the motion where it reaches its goal or an end switch.
void MotionModel::settle(double before)
{
    const auto reached = [&](double goal) {
        return axis_ == goal || sign(goal - axis_) != sign(goal - before);
    };
    if (mode_ == Mode::Ramp && reached(target_ - origin_)) {
        axis_ = target_ - origin_;
        halt();
    } else if (mode_ == Mode::Reference && reached(0)) {
        axis_ = 0;
        origin_ = 0;
        halt();
    } else if (mode_ == Mode::Stop && velocity_ == 0) {
        halt();
    }
    if ((axis_ >= travel_ && velocity_ > 0) || (axis_ <= -travel_ && velocity_ < 0)) {
        axis_ = std::clamp(axis_, -travel_, travel_);
        halt();
    }
}

void MotionModel::halt()
{
    mode_ = Mode::Idle;
    velocity_ = 0;
    acceleration_ = 0;
}

} // namespace karvsim
