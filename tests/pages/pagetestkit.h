#pragma once

#include "app/formmain.h"
#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/dialogs.h"
#include "toolkit/maskedit.h"
#include "toolkit/radiogroup.h"
#include "toolkit/spinedit.h"

#include <QLabel>
#include <QMap>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// The step of PageTestKit::operate that turns to a page.
inline QString page(int index)
{
    return QStringLiteral("page=%1").arg(index);
}

// The main window as the operator meets it: its controls are found by name
// and driven with mouse and keys, the result read from the command-bytes
// display.
class PageTestKit
{
public:
    PageTestKit()
        : m_window(m_dir.filePath(QStringLiteral("KarvControl.ini")))
    {
    }

    // Shows the window, active, so that keys and focus work as for the
    // operator.
    bool show()
    {
        m_window.show();
        return QTest::qWaitForWindowActive(&m_window);
    }

    // The error boxes shown so far.
    const QList<Dialogs::Box> &boxes() const { return m_dialogs.boxes(); }

    template <typename Widget = QWidget>
    Widget *control(const QString &name) const
    {
        return m_window.findChild<Widget *>(name);
    }

    // CMD and P0..P6 as the display shows them, separated by blanks.
    QString frame() const
    {
        QStringList texts;
        for (const char *name : {"StaticCMD", "StaticP0", "StaticP1", "StaticP2", "StaticP3", "StaticP4",
                                 "StaticP5", "StaticP6"})
            texts << control<QLabel>(QLatin1String(name))->text();
        return texts.join(QLatin1Char(' '));
    }

    // Operates controls in order, each step "name=value": a radio group's
    // item is clicked, a list's item (by its text, else its index) chosen
    // with the arrow keys, a spin or
    // masked edit cleared and the value typed, a check box clicked into the
    // state 1 or 0; "page=n" clicks the tab of page n.
    bool operate(const QStringList &steps)
    {
        for (const QString &step : steps) {
            const QString name = step.section(QLatin1Char('='), 0, 0);
            const QString value = step.section(QLatin1Char('='), 1);
            if (!operate(name, value)) {
                qWarning("cannot operate %s", qPrintable(step));
                return false;
            }
        }
        return true;
    }

    // The item index of every " Modifier " list, by name.
    QMap<QString, int> modifiers() const
    {
        QMap<QString, int> indices;
        for (const ComboList *list : m_window.findChildren<ComboList *>()) {
            if (list->objectName().startsWith(QLatin1String("CbModifier")))
                indices.insert(list->objectName(), list->ItemIndex());
        }
        return indices;
    }

private:
    bool operate(const QString &name, const QString &value)
    {
        if (name == QLatin1String("page")) {
            QTabBar *tabs = control<QTabWidget>(QStringLiteral("PageCommands"))->tabBar();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(value.toInt()).center());
            return true;
        }
        QWidget *widget = control(name);
        if (auto *group = qobject_cast<RadioGroup *>(widget)) {
            const auto buttons = group->findChildren<QRadioButton *>();
            clickIndicator(buttons.value(value.toInt()), QStyle::SE_RadioButtonIndicator);
        } else if (auto *list = qobject_cast<ComboList *>(widget)) {
            const int item = list->findText(value) >= 0 ? list->findText(value) : value.toInt();
            for (int steps = item - list->ItemIndex(); steps != 0; steps += steps < 0 ? 1 : -1)
                QTest::keyClick(list, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
        } else if (auto *check = qobject_cast<CheckBox *>(widget)) {
            if (check->isChecked() != (value == QLatin1String("1")))
                clickIndicator(check, QStyle::SE_CheckBoxIndicator);
        } else if (auto *spinEdit = qobject_cast<SpinEdit *>(widget)) {
            typeInto(spinEdit, value);
        } else if (auto *maskEdit = qobject_cast<MaskEdit *>(widget)) {
            typeInto(maskEdit, value);
        } else {
            return false;
        }
        return true;
    }

    static void clickIndicator(QAbstractButton *button, QStyle::SubElement indicator)
    {
        if (!button)
            return;
        QStyleOptionButton option;
        option.initFrom(button);
        QTest::mouseClick(button, Qt::LeftButton, {},
                          button->style()->subElementRect(indicator, &option, button).center());
    }

    // Clears the entry, as after a triple click and Backspace, and types.
    template <typename Edit>
    static void typeInto(Edit *edit, const QString &typed)
    {
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
    }

    QTemporaryDir m_dir;
    // No box is ever shown: an error that reaches the top-level report is
    // recorded instead.
    DialogRecorder m_dialogs;
    TFormMain m_window;
};
