#include "toolkit/spinedit.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

SpinEdit::SpinEdit(QWidget *parent)
    : QAbstractSpinBox(parent)
{
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::changed);
}

void SpinEdit::setRange(int minValue, int maxValue)
{
    setMinValue(minValue);
    setMaxValue(maxValue);
}

int SpinEdit::Value() const
{
    bool ok = false;
    const int value = text().trimmed().toInt(&ok, 10);
    return ok ? value : m_minValue;
}

void SpinEdit::setValue(int value)
{
    // QLineEdit reports no change when the text stays the same.
    lineEdit()->setText(QString::number(clipped(value)));
}

void SpinEdit::stepBy(int steps)
{
    // 64-bit sum: stepping past the int range must not overflow.
    lineEdit()->setText(QString::number(clipped(qint64(Value()) + steps)));
}

QValidator::State SpinEdit::validate(QString &input, int &) const
{
    // A sign and digits, while they are typed. Never "Acceptable": that would
    // hand the text to QAbstractSpinBox's own value handling, which this
    // class does not use.
    static const QRegularExpression partialNumber(QStringLiteral("^\\s*[+-]?[0-9]*\\s*$"));
    return partialNumber.match(input).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const
{
    return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

void SpinEdit::focusOutEvent(QFocusEvent *event)
{
    QAbstractSpinBox::focusOutEvent(event);
    const int value = Value();
    if (clipped(value) != value)
        setValue(value);
}

int SpinEdit::clipped(qint64 value) const
{
    // Compared one bound at a time: a range set the wrong way round must not
    // be undefined behaviour.
    if (m_maxValue != m_minValue) {
        if (value < m_minValue)
            value = m_minValue;
        else if (value > m_maxValue)
            value = m_maxValue;
    }
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
