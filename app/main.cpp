#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Karvel II"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Karvel 2 Control Panel"));
    window.show();
    return app.exec();
}
