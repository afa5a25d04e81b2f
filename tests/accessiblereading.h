#pragma once

// What assistive technology reads of a control, for suites that check a value
// text through Qt's accessibility layer. (Its change events reach no handler
// on the headless platform, which has no accessibility bridge to activate.)

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QObject>
#include <QString>

namespace AccessibleReading {

// "name|value|text": the name, the value and the whole text of the text
// interface.
inline QString of(QObject *control)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    if (!iface)
        return QStringLiteral("no interface");
    QAccessibleTextInterface *text = iface->textInterface();
    return iface->text(QAccessible::Name) + QLatin1Char('|') + iface->text(QAccessible::Value) + QLatin1Char('|')
           + (text ? text->text(0, text->characterCount()) : QStringLiteral("no text interface"));
}

} // namespace AccessibleReading
