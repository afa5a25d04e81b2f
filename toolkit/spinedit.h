#pragma once

#include <QAbstractSpinBox>

// A whole-number entry with up and down buttons. Unlike QSpinBox it lets
// the operator type any number, in range or not: its value is the number
// its text holds (MinValue while the text is not a number), and it clips to
// MinValue..MaxValue only when it loses the focus or is set by the program.
// With MinValue equal to MaxValue nothing is clipped.
class SpinEdit : public QAbstractSpinBox
{
    Q_OBJECT
    // Under the names of Qt's spin boxes, so that assistive technology reads
    // the value and range.
    Q_PROPERTY(int value READ Value WRITE setValue NOTIFY changed USER true)
    Q_PROPERTY(int minimum READ MinValue WRITE setMinValue)
    Q_PROPERTY(int maximum READ MaxValue WRITE setMaxValue)

public:
    explicit SpinEdit(QWidget *parent = nullptr);

    int MinValue() const { return m_minValue; }
    int MaxValue() const { return m_maxValue; }
    // Changing the range does not clip the text; the next focus loss does.
    void setMinValue(int minValue) { m_minValue = minValue; }
    void setMaxValue(int maxValue) { m_maxValue = maxValue; }
    void setRange(int minValue, int maxValue);

    int Value() const;
    void setValue(int value);

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

signals:
    // Every change of the text, the program's writes included.
    void changed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int clipped(qint64 value) const;

    int m_minValue = 0;
    int m_maxValue = 0;
};
