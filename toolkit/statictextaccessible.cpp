#include "toolkit/statictextaccessible.h"

#include "toolkit/statictext.h"

namespace {

QAccessibleInterface *createFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("StaticText"))
        if (auto *text = qobject_cast<StaticText *>(object))
            return new StaticTextAccessible(text);
    return nullptr;
}

} // namespace

StaticTextAccessible::StaticTextAccessible(StaticText *text)
    : QAccessibleWidget(text, QAccessible::StaticText)
{
}

void StaticTextAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createFor);
        return true;
    }();
    Q_UNUSED(installed);
}

QString StaticTextAccessible::shown() const
{
    return static_cast<const StaticText *>(widget())->text();
}

QString StaticTextAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        // Without a caption the text names itself, as a label's does.
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? shown() : name;
    }
    case QAccessible::Value:
        return shown();
    default:
        return QAccessibleWidget::text(t);
    }
}

void *StaticTextAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void StaticTextAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

int StaticTextAccessible::selectionCount() const
{
    return 0;
}

void StaticTextAccessible::addSelection(int, int) {}

void StaticTextAccessible::removeSelection(int) {}

void StaticTextAccessible::setSelection(int, int, int) {}

int StaticTextAccessible::cursorPosition() const
{
    return 0;
}

void StaticTextAccessible::setCursorPosition(int) {}

QString StaticTextAccessible::text(int startOffset, int endOffset) const
{
    return shown().mid(startOffset, endOffset - startOffset);
}

int StaticTextAccessible::characterCount() const
{
    return int(shown().size());
}

QRect StaticTextAccessible::characterRect(int) const
{
    return {};
}

int StaticTextAccessible::offsetAtPoint(const QPoint &) const
{
    return -1;
}

void StaticTextAccessible::scrollToSubstring(int, int) {}

QString StaticTextAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = offset;
    *endOffset = offset;
    return {};
}
