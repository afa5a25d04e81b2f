#pragma once

#include <QString>

// Conversions shared by the main window, the pages and the installer.
namespace KarvUtils {

inline constexpr const char *kSettingsFileName = "KarvControl.ini";

// Where the program's compiled-in version record lives.
inline constexpr const char *kVersionRecordPath = ":/version/KarvControl.rec";

// The text of "\StringFileInfo\<lang><codepage>\FileVersion" of the version
// record at recordPath, found through its first translation entry; empty when
// the record is missing or any lookup fails.
QString FileVersion(const QString &recordPath = QString::fromLatin1(kVersionRecordPath));

// The caption's short form of a version text: "2.1.6.0" gives "2.16".
QString ShortVersion(const QString &version);

// Reads the low SignBit+1 bits of value as a two's-complement field: when
// value is at least 2^SignBit, 2^(SignBit+1) is subtracted once. Higher bits
// of value are not masked off. SignBit outside 1..30 leaves value unchanged.
qint32 SignExtend(qint32 value, int signBit);

// Exactly digits characters of "0" and "1", bit digits-1 first; bits above
// bit 31 read as clear, digits below 1 give the empty text.
QString IntToBin(quint32 value, int digits);

// Reads base-2 digits: characters with codes up to 32 are trimmed at both
// ends, then the digits are read from the right until a blank, whatever is
// left of it being ignored. An empty text gives 0. Throws EConvertError for
// any other character.
qint32 BinToInt(const QString &text);

// value as upper-case hexadecimal digits, zero-padded to minDigits; negative
// values as the eight digits of their 32-bit two's complement.
QString HexText(qint32 value, int minDigits = 2);

// text (without "$") read as a 32-bit hexadecimal number; values above
// 7FFFFFFF come back as their two's-complement negative. Throws
// EConvertError naming "$" + text when text is empty, holds anything but
// hexadecimal digits (blanks included) or exceeds 32 bits.
qint32 HexTextToInt(const QString &text);

// text read as a signed 32-bit decimal number. Throws EConvertError naming
// text when it is empty, holds anything but an optional sign and decimal
// digits, or lies outside 32 bits.
qint32 DecimalTextToInt(const QString &text);

// The low 8 bits of HexTextToInt(text): a frame byte from its display text.
quint8 HexTextToByte(const QString &text);

} // namespace KarvUtils
