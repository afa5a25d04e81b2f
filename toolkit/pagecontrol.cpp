#include "toolkit/pagecontrol.h"

#include <QEvent>
#include <QShortcut>
#include <QTabBar>

// Marks the page control as handling operator input while an input event
// is being handled, or while it acts on the operator's shortcut.
class PageControl::OperatorInputScope
{
public:
    OperatorInputScope(PageControl *pages, const QEvent *event)
        : OperatorInputScope(pages, isOperatorInput(event->type()))
    {
    }
    explicit OperatorInputScope(PageControl *pages, bool counted = true)
        : m_depth(pages->m_operatorInputDepth)
        , m_counted(counted)
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
    addPageTurn({QKeySequence(Qt::CTRL | Qt::Key_PageDown), QKeySequence(Qt::CTRL | Qt::Key_Tab)}, 1);
    addPageTurn({QKeySequence(Qt::CTRL | Qt::Key_PageUp), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)},
                -1);
}

void PageControl::addPageTurn(const QList<QKeySequence> &keys, int step)
{
    // A window shortcut: the focus may be in an entry on a page, or outside
    // the page control altogether.
    auto *shortcut = new QShortcut(this);
    shortcut->setKeys(keys);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, step] { turnPage(step); });
}

void PageControl::turnPage(int step)
{
    const int pages = count();
    for (int page = currentIndex(), pass = 1; pass < pages; ++pass) {
        page = (page + step + pages) % pages;
        if (isTabEnabled(page)) {
            const OperatorInputScope scope(this);
            setCurrentIndex(page);
            return;
        }
    }
}

bool PageControl::event(QEvent *event)
{
    // QTabWidget turns the page on Ctrl+Tab itself when no shortcut took it.
    const OperatorInputScope scope(this, event);
    return QTabWidget::event(event);
}

void PageControl::onCurrentChanged()
{
    if (m_operatorInputDepth > 0)
        emit changed();
}
