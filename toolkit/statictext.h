#pragma once

#include <QLabel>

// A read-only text, centred in a sunken frame.
class StaticText : public QLabel
{
    Q_OBJECT

public:
    explicit StaticText(const QString &text = QString(), QWidget *parent = nullptr);
};
