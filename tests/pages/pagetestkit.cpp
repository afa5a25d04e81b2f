#include "pagetestkit.h"
#include "tests/testfiles.h"

#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/maskedit.h"
#include "toolkit/pagecontrol.h"
#include "toolkit/radiogroup.h"
#include "toolkit/spinedit.h"
#include "toolkit/statictext.h"
#include "toolkit/tag.h"
#include "widgets/ledlittle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <span>

namespace {

const char *const kFrameNames[] = {"StaticAdr", "StaticCMD", "StaticP0", "StaticP1", "StaticP2",
                                   "StaticP3",  "StaticP4",  "StaticP5", "StaticP6"};

bool clickInto(QWidget *control)
{
    if (!control->isEnabled() || !control->isVisible())
        return false;
    // Left of centre: clear of a spin edit's buttons.
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
    return control->hasFocus();
}

bool clickItem(const RadioGroup *group, int item)
{
    const QList<QRadioButton *> buttons = group->findChildren<QRadioButton *>();
    if (item < 0 || item >= buttons.size() || !buttons.at(item)->isEnabled())
        return false;
    // On the round button: a radio button takes clicks on its button and
    // caption only, not on the rest of its row.
    QTest::mouseClick(buttons.at(item), Qt::LeftButton, {}, QPoint(8, buttons.at(item)->height() / 2));
    return buttons.at(item)->isChecked();
}

bool turnToPage(PageControl *pages, int index)
{
    QTabBar *tabs = pages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    return pages->currentIndex() == index;
}

bool typeInto(SpinEdit *edit, const QString &text)
{
    if (!clickInto(edit))
        return false;
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    return edit->text() == text;
}

bool typeMasked(MaskEdit *edit, const QString &text)
{
    if (!clickInto(edit))
        return false;
    QTest::keyClick(edit, Qt::Key_Home);
    for (const QChar c : text) {
        if (c == QLatin1Char(' ')) {
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClick(edit, Qt::Key_Right);
        } else {
            QTest::keyClick(edit, c.toLatin1());
        }
    }
    return true;
}

bool pasteInto(MaskEdit *edit, const QString &text)
{
    if (!clickInto(edit))
        return false;
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    return true;
}

bool leaveFocusedControl()
{
    QWidget *focused = QApplication::focusWidget();
    if (!focused)
        return false;
    QTest::keyClick(focused, Qt::Key_Tab);
    return QApplication::focusWidget() != focused;
}

QString shownBy(const QWidget *control)
{
    if (const auto *edit = qobject_cast<const SpinEdit *>(control))
        return QString::number(edit->Value());
    if (const auto *list = qobject_cast<const ComboList *>(control))
        return QString::number(list->ItemIndex());
    if (const auto *box = qobject_cast<const CheckBox *>(control))
        return box->isChecked() ? QStringLiteral("ticked") : QStringLiteral("clear");
    if (const auto *led = qobject_cast<const TLedLittle *>(control)) {
        return led->LedColor() == lcCyan       ? QStringLiteral("lit")
               : led->LedColor() == lcDarkCyan ? QStringLiteral("unlit")
                                               : QStringLiteral("black");
    }
    if (const auto *edit = qobject_cast<const MaskEdit *>(control))
        return edit->text();
    if (const auto *label = qobject_cast<const StaticText *>(control))
        return label->text();
    return QStringLiteral("<no control>");
}

// The window's settings file; with a device, COM1 is mapped to it.
QString settingsFile(const QTemporaryDir &dir, const QString &com1Device)
{
    const QString path = dir.filePath(QStringLiteral("KarvControl.ini"));
    if (!com1Device.isEmpty())
        TestFiles::write(path, "[Ports]\nCOM1=" + com1Device.toLocal8Bit() + "\n");
    return path;
}

} // namespace

PageTestKit::PageTestKit(const QString &com1Device)
    : m_window(std::make_unique<TFormMain>(settingsFile(m_dir, com1Device)))
{
}

PageTestKit::~PageTestKit() = default;

bool PageTestKit::show()
{
    m_window->show();
    return QTest::qWaitForWindowActive(m_window.get());
}

void PageTestKit::click(const QString &button) const
{
    QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
}

bool PageTestKit::apply(const QString &step)
{
    if (step == QLatin1String("Tab"))
        return leaveFocusedControl();
    const qsizetype split = step.indexOf(QRegularExpression(QStringLiteral("[=<:]")));
    auto *target = split > 0 ? control(step.left(split)) : nullptr;
    if (!target)
        return false;
    const QString value = step.mid(split + 1);
    switch (step.at(split).unicode()) {
    case u'<':
        return qobject_cast<MaskEdit *>(target) && pasteInto(static_cast<MaskEdit *>(target), value);
    case u':':
        if (!qobject_cast<MaskEdit *>(target) || !typeMasked(static_cast<MaskEdit *>(target), {}))
            return false;
        QTest::keyClicks(target, value);
        return true;
    default:
        return operate(target, value);
    }
}

bool PageTestKit::apply(const QStringList &steps)
{
    return std::all_of(steps.begin(), steps.end(), [this](const QString &step) { return apply(step); });
}

bool PageTestKit::operate(QWidget *target, const QString &value)
{
    if (auto *group = qobject_cast<RadioGroup *>(target))
        return clickItem(group, value.toInt());
    if (auto *pages = qobject_cast<PageControl *>(target))
        return turnToPage(pages, value.toInt());
    if (auto *list = qobject_cast<QComboBox *>(target))
        return chooseItem(list, value.toInt());
    if (auto *check = qobject_cast<QCheckBox *>(target)) {
        const bool ticked = value == QLatin1String("1");
        if (check->isChecked() != ticked)
            clickInto(check);
        return check->isChecked() == ticked;
    }
    if (auto *spin = qobject_cast<SpinEdit *>(target))
        return typeInto(spin, value);
    if (auto *entry = qobject_cast<MaskEdit *>(target))
        return typeMasked(entry, value);
    return false;
}

bool PageTestKit::chooseItem(QComboBox *list, int item)
{
    if (!list->isEnabled() || item < 0 || item >= list->count())
        return false;
    QTest::mouseClick(list, Qt::LeftButton);
    QAbstractItemView *popup = list->view();
    if (!QTest::qWaitForWindowExposed(popup->window()))
        return false;
    const Qt::Key step = item < list->currentIndex() ? Qt::Key_Up : Qt::Key_Down;
    for (int steps = std::abs(item - list->currentIndex()); steps > 0; --steps)
        QTest::keyClick(popup, step);
    QTest::keyClick(popup, Qt::Key_Return);
    return list->currentIndex() == item && !popup->isVisible();
}

QStringList PageTestKit::shown(const QStringList &entries) const
{
    QStringList actual;
    for (const QString &entry : entries) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        actual << name + QLatin1Char('=') + shownBy(control(name));
    }
    return actual;
}

QString PageTestKit::frame() const
{
    QStringList texts;
    for (const char *name : kFrameNames)
        texts << control<QLabel>(QLatin1String(name))->text();
    return texts.join(QLatin1Char(' '));
}

QRadioButton *PageTestKit::item(const QString &radioGroup, int index) const
{
    const QWidget *group = control(radioGroup);
    return group ? group->findChildren<QRadioButton *>().value(index) : nullptr;
}

void PageTestKit::scribbleOverFrame() const
{
    for (const char *name : std::span(kFrameNames).subspan(1))
        control<QLabel>(QLatin1String(name))->setText(QStringLiteral("AA"));
}

QString PageTestKit::commandBytes() const
{
    return frame().section(QLatin1Char(' '), 1);
}

QStringList PageTestKit::rowsOffTheirItems(const RadioGroup *commandGroup, const QWidget *group)
{
    constexpr int tolerance = 3;
    const auto globalRect = [](const QWidget *widget) { return QRect(widget->mapToGlobal(QPoint()), widget->size()); };
    QMap<int, QRect> rows;
    for (const QWidget *control : group->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (const int tag = Toolkit::tagOf(control); tag >= 0)
            rows[tag] |= globalRect(control);
    }
    const QList<QRadioButton *> items = commandGroup->findChildren<QRadioButton *>();
    QStringList faults;
    for (auto row = rows.cbegin(); row != rows.cend(); ++row) {
        const QRadioButton *item = items.value(row.key());
        const int itemCentre = item ? globalRect(item).center().y() : -1;
        if (std::abs(row.value().center().y() - itemCentre) > tolerance) {
            faults << QStringLiteral("the controls tagged %1 centre at %2, their item at %3")
                          .arg(row.key())
                          .arg(row.value().center().y())
                          .arg(itemCentre);
        }
    }
    return faults;
}
