#pragma once

#include <QChar>

// The key filter of the hexadecimal entries (the unit address and the pages'
// identifier fields): passes Backspace, Tab, Enter, Escape and hexadecimal
// digits; discards any other key with the default beep. The entries'
// masks upper-case the letters that pass.
void EditAddrKeyPress(QChar &Key);
