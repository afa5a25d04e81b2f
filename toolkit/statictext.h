#pragma once

#include <QLabel>

// A read-only text, centred in a sunken frame. What it shows comes from
// outside (files, the unit, devices), so it is always plain text. Assistive
// technology gets the caption that names it as its name and the text shown
// as its value and text; set the text through this class (not through
// QLabel) so that a change is announced.
class StaticText : public QLabel
{
    Q_OBJECT

public:
    explicit StaticText(const QString &text = QString(), QWidget *parent = nullptr);

    void setText(const QString &text);
    void clear();
};
