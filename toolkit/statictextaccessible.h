#pragma once

#include <QAccessibleTextInterface>
#include <QAccessibleWidget>

class StaticText;

// What assistive technology reads of a StaticText: its caption (the
// accessible name) as name, and the text shown as its value and as a
// read-only text. A plain label's interface gives only one of the two.
class StaticTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit StaticTextAccessible(StaticText *text);

    // Makes Qt create this interface for every StaticText; once is enough.
    static void install();

    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface: no selection, no cursor, no attributes.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    QString shown() const;
};
