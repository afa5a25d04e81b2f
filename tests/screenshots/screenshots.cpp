// screenshots [outdir]: shows the main window, turns to each page as the
// operator would and saves a picture of the window per page as
// <page name>[-<suffix>].png.

#include "app/formmain.h"
#include "toolkit/application.h"

#include <QDir>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>

namespace {

// One picture: the page turned to, and what is done there before the
// picture is taken, such as sending a query to the simulated unit. Pages
// keep their selections and values from one shot to the next.
struct Shot
{
    int page;
    QString suffix; // tells several shots of one page apart
    std::function<void(TFormMain &)> prepare;
};

QList<Shot> shots(int pageCount)
{
    QList<Shot> list;
    for (int page = 0; page < pageCount; ++page)
        list.append({page, {}, {}});
    return list;
}

// A click on the tab, so that the page composes its command as it does for
// the operator.
void turnToPage(QTabWidget *pages, int index)
{
    QTabBar *tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

QString fileName(const QTabWidget *pages, const Shot &shot)
{
    QString name = pages->widget(shot.page)->objectName();
    if (!shot.suffix.isEmpty())
        name += QLatin1Char('-') + shot.suffix;
    return name + QStringLiteral(".png");
}

int fail(const QString &message)
{
    std::fprintf(stderr, "screenshots: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    const QDir outDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots"));
    if (!outDir.mkpath(QStringLiteral(".")))
        return fail(QStringLiteral("cannot create ") + outDir.path());

    const QTemporaryDir settingsDir;
    TFormMain window(settingsDir.filePath(QStringLiteral("KarvControl.ini")));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return fail(QStringLiteral("the window was not shown"));

    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageCommands"));
    for (const Shot &shot : shots(pages->count())) {
        turnToPage(pages, shot.page);
        if (shot.prepare)
            shot.prepare(window);
        const QString path = outDir.filePath(fileName(pages, shot));
        if (!window.grab().save(path))
            return fail(QStringLiteral("cannot write ") + path);
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
