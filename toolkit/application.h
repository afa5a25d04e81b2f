#pragma once

#include <QApplication>
#include <QString>

namespace Toolkit {

// The program's title: task-bar text and caption of the error report.
QString applicationTitle();

} // namespace Toolkit

// The program's application object. Its notify() is the backstop of the
// top-level error report: an exception that escapes an event handler is
// reported there and the program goes on. Window handlers still connect
// through Toolkit::connectHandler so that nothing unwinds through Qt.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
