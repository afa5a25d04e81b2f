#pragma once

#include <QStringList>

class QWidget;

// What does not fit in a window or on a sheet of it: captions, list items
// or values clipped, controls reaching outside their parent, closer than 4
// pixels to the frame of their group or overlapping a sibling.
QStringList layoutFaults(const QWidget *sheet);
