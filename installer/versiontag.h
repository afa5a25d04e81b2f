#pragma once

#include "installer/heximage.h"

#include <QChar>
#include <QString>
#include <QStringView>

namespace Installer {

// One comparison of the tag search: a '#' in the pattern stands for a
// decimal digit (and matches a literal '#' too); every other character
// matches itself, case-sensitively.
bool TagCharMatches(QChar data, QChar pattern);

// Searches the image for pattern at start addresses 1 through 32,759 (never
// 0, so that an 8-character tag ends at 0x7FFE at most); the first match
// wins. found receives the matched image characters, or is emptied.
bool FindTag(const HexImage::Bytes &image, QStringView pattern, QString &found);

// The version line of the firmware tag in the image: "Karvel-2 V1.07" for a
// tag "KV2V1.07", else "HLXL V1.07" for "K2TV1.07". Throws EHexCheckError
// when the image carries neither.
QString FindVersionText(const HexImage::Bytes &image);

} // namespace Installer
