#include "toolkit/pagecontrol.h"

#include <QEvent>
#include <QTabBar>

// Marks the page control as handling operator input while an input event
// is being handled.
class PageControl::OperatorInputScope
{
public:
    OperatorInputScope(PageControl *pages, const QEvent *event)
        : m_depth(pages->m_operatorInputDepth)
        , m_counted(isOperatorInput(event->type()))
    {
        m_depth += m_counted;
    }
    ~OperatorInputScope() { m_depth -= m_counted; }
    OperatorInputScope(const OperatorInputScope &) = delete;
    OperatorInputScope &operator=(const OperatorInputScope &) = delete;

private:
    static bool isOperatorInput(QEvent::Type type)
    {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::Wheel:
        case QEvent::Shortcut:
            return true;
        default:
            return false;
        }
    }

    int &m_depth;
    const int m_counted;
};

// The tabs themselves: the operator's clicks, keys and wheel turns land here.
class PageControl::OperatorTabBar : public QTabBar
{
public:
    explicit OperatorTabBar(PageControl *pages)
        : QTabBar(pages)
        , m_pages(pages)
    {
    }

protected:
    bool event(QEvent *event) override
    {
        const OperatorInputScope scope(m_pages, event);
        return QTabBar::event(event);
    }

private:
    PageControl *m_pages;
};

PageControl::PageControl(QWidget *parent)
    : QTabWidget(parent)
{
    setTabBar(new OperatorTabBar(this));
    connect(this, &QTabWidget::currentChanged, this, &PageControl::onCurrentChanged);
}

bool PageControl::event(QEvent *event)
{
    // Ctrl+Tab and Ctrl+PgUp/PgDn reach the page control itself.
    const OperatorInputScope scope(this, event);
    return QTabWidget::event(event);
}

void PageControl::onCurrentChanged()
{
    if (m_operatorInputDepth > 0)
        emit changed();
}
