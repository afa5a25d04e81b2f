#pragma once

#include <QByteArray>

// Firmware files as a build would write them, for tests and screenshots.
namespace FirmwareFiles {

// An image of size bytes with the Karvel 2 version tag "KV2V1.07" at
// address 1 and a pattern elsewhere.
QByteArray taggedImage(int size);
// image as an Intel HEX file: data records of 16 bytes from address 0, then
// the end-of-file record.
QByteArray hexFile(const QByteArray &image);

} // namespace FirmwareFiles
