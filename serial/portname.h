#pragma once

#include <QString>

// The device path a port name stands for: an absolute path as it is;
// "COM1".."COM9" (any case) as mapped in section [Ports] of PortMapFile
// (key "COM3", value an absolute device path), or /dev/ttyS(n-1) without an
// entry. Empty for any other name and for a mapping that is no absolute
// path: a name must never reach a file relative to the working directory.
QString ResolvePortName(const QString &Name, const QString &PortMapFile);
