#include "toolkit/application.h"

#include "toolkit/errorreport.h"

namespace Toolkit {

QString applicationTitle()
{
    return QStringLiteral("Karvel II");
}

} // namespace Toolkit

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(Toolkit::applicationTitle());
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    Toolkit::runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
