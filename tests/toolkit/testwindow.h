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
        setGeometry(100, 100, 300, 120);
        elsewhere->setObjectName(QStringLiteral("elsewhere"));
        elsewhere->setGeometry(10, 80, 100, 21);
    }

    // Places control, shows the window and gives the control the focus.
    bool showWithFocusOn(QWidget *control)
    {
        control->setParent(this);
        control->setGeometry(10, 10, 120, 24);
        show();
        if (!QTest::qWaitForWindowActive(this))
            return false;
        control->setFocus(Qt::TabFocusReason);
        return control->hasFocus();
    }

    // The operator clicks into the other entry.
    void clickElsewhere() { QTest::mouseClick(elsewhere, Qt::LeftButton); }

    QLineEdit *elsewhere;
};
