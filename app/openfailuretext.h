#pragma once

#include <QString>

struct TC32OpenFailure;

// The message of a port that could not be opened: "Could not open port
// COMn!" and, in further lines, the device and the system's reason, with
// what to do about a missing permission (the device's group) or a port
// another program holds. Lines are separated by "\r".
QString OpenFailureText(const QString &portName, const TC32OpenFailure &failure);
// The system's reason alone: the device and what went wrong, with what to
// do about it; the device must not be empty.
QString OpenFailureReason(const TC32OpenFailure &failure);
// "Could not open port COMn!" and, unless empty, the reason in further lines
// (such as why the name stands for no device).
QString OpenFailureText(const QString &portName, const QString &reason);
