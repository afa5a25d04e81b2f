#pragma once

#include "app/formmain.h"

#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The main window, shown and active, turned to a page and driven as the
// operator drives it; results are read from the command-bytes display.
class TourKit
{
public:
    explicit TourKit(const QString &page)
        : m_window(std::make_unique<TFormMain>(m_dir.filePath(QStringLiteral("KarvControl.ini"))))
    {
        m_window->show();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qFatal("the main window did not become active");
        turnToPage(page);
    }

    template <typename Widget = QWidget>
    Widget *control(const QString &name) const
    {
        auto *widget = m_window->findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }

    // A click on the page's tab.
    void turnToPage(const QString &caption) const
    {
        auto *pages = control<QTabWidget>(QStringLiteral("PageCommands"));
        int index = 0;
        while (index < pages->count() && pages->tabText(index) != caption)
            ++index;
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(index).center());
    }

    QRadioButton *item(const QString &radioGroup, int index) const
    {
        return control(radioGroup)->findChildren<QRadioButton *>().value(index);
    }

    // A click on the round button of the item.
    void clickItem(const QString &radioGroup, int index) const
    {
        QRadioButton *button = item(radioGroup, index);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    // Replaces the entry's text key by key; the entry keeps the focus.
    void typeInto(const QString &entry, const QString &text) const
    {
        auto *edit = control(entry);
        edit->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    // CMD and P0..P6 := "AA", as another page might have left them.
    void scribbleOverFrame() const
    {
        for (int byte = 1; byte < kFrameTexts.size(); ++byte)
            control<QLabel>(kFrameTexts[byte])->setText(QStringLiteral("AA"));
    }

    // ADR, CMD, P0..P6 as the display shows them, separated by blanks.
    QString frame() const
    {
        QStringList texts;
        for (const QString &name : kFrameTexts)
            texts << control<QLabel>(name)->text();
        return texts.join(QLatin1Char(' '));
    }

    // The first control of the container that is not inside it or overlaps
    // another one; empty when all stand clear.
    static QString untidyControl(const QWidget *container)
    {
        const auto controls = container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (const QWidget *control : controls) {
            if (!container->rect().contains(control->geometry()))
                return control->objectName();
            for (const QWidget *other : controls) {
                if (other != control && other->geometry().intersects(control->geometry()))
                    return control->objectName() + QLatin1Char('/') + other->objectName();
            }
        }
        return {};
    }

private:
    inline static const QStringList kFrameTexts{"StaticAdr", "StaticCMD", "StaticP0", "StaticP1", "StaticP2",
                                                "StaticP3",  "StaticP4",  "StaticP5", "StaticP6"};
    QTemporaryDir m_dir;
    std::unique_ptr<TFormMain> m_window;
};
