#pragma once

#include <QLineEdit>
#include <QTest>
#include <QWidget>

// A shown, active window for a control under test, with a second entry to
// which the operator can move the focus.
class TestWindow : public QWidget
{
public:
    TestWindow()
        : elsewhere(new QLineEdit(this))
    {
        setGeometry(100, 100, 340, 160);
        elsewhere->setObjectName(QStringLiteral("elsewhere"));
        elsewhere->setGeometry(10, 130, 100, 21);
    }

    // Places control and shows the window, active.
    bool showWith(QWidget *control, const QSize &size = QSize(120, 24))
    {
        control->setParent(this);
        control->setGeometry(QRect(QPoint(10, 10), size));
        show();
        return QTest::qWaitForWindowActive(this);
    }

    // The same, and gives the control the focus.
    bool showWithFocusOn(QWidget *control, const QSize &size = QSize(120, 24))
    {
        if (!showWith(control, size))
            return false;
        control->setFocus(Qt::TabFocusReason);
        return control->hasFocus();
    }

    // The operator clicks into the other entry.
    void clickElsewhere() { QTest::mouseClick(elsewhere, Qt::LeftButton); }

    QLineEdit *elsewhere;
};
