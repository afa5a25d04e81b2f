#pragma once

#include <QObject>

class CommandBytes;
class QWidget;

// One page of the main window's page control: it builds its controls on its
// sheet, composes its commands into the shared command-bytes display and
// reads nothing of the other pages' controls.
class CommandPage : public QObject
{
    Q_OBJECT

public:
    CommandPage(CommandBytes &bytes, QWidget *sheet);

    // What runs when the operator turns to this page: the frame is
    // recomposed for the page's selected command.
    virtual void PageActivated() = 0;

protected:
    CommandBytes &bytes() const { return m_bytes; }
    QWidget *sheet() const { return m_sheet; }

private:
    CommandBytes &m_bytes;
    QWidget *m_sheet;
};
