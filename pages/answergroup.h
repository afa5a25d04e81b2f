#pragma once

class QGroupBox;
class QWidget;
class RadioGroup;

// The " Last Answer " group of the "Get..." page: beside each query of
// commandGroup a row of read-only values and lamps. The reply decoding finds
// them by name and fills them in.
QGroupBox *addAnswerGroup(QWidget *sheet, const RadioGroup *commandGroup);
