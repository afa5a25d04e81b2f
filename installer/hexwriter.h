#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace Installer {

// Intel HEX text of bytes placed from address 0 on: data records of 16
// bytes with 16-bit addresses, then the end-of-file record, each line ended
// by CR LF as firmware builds write them. At most 64 KiB.
QByteArray HexFileText(QByteArrayView bytes);

} // namespace Installer
