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
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <optional>
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

// The room a line edit leaves its text: its frame and the edit's own margin
// of two pixels on either side.
int textRoom(const QLineEdit *edit)
{
    const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    return edit->width() - 2 * (frame + 2);
}

int widestText(const QFontMetrics &metrics, const QStringList &texts)
{
    int widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

// The width a control's content needs and the width it has; nothing for a
// kind whose content is not checked.
std::optional<std::pair<int, int>> widthNeededAndGiven(const QWidget *control)
{
    if (const auto *spin = qobject_cast<const SpinEdit *>(control)) {
        const QStringList ends{QString::number(spin->MinValue()), QString::number(spin->MaxValue())};
        return std::pair{widestText(spin->fontMetrics(), ends), textRoom(spin->findChild<QLineEdit *>())};
    }
    if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
        // As many of the widest hexadecimal digit as the entry holds.
        QStringList digits;
        for (const QChar c : QStringLiteral("0123456789ABCDEF"))
            digits << QString(edit->text().size(), c);
        return std::pair{widestText(edit->fontMetrics(), digits), textRoom(edit)};
    }
    if (const auto *list = qobject_cast<const QComboBox *>(control)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        QStyleOptionComboBox option;
        option.initFrom(list);
        const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, list);
        return std::pair{widestText(list->fontMetrics(), items), field.width()};
    }
    if (qobject_cast<const QLabel *>(control) || qobject_cast<const QAbstractButton *>(control))
        return std::pair{control->sizeHint().width(), control->width()};
    return std::nullopt;
}

// The part of a control that shows: a radio button takes its item's share
// of the group, its button and caption only as much as they need, centred
// on its height.
QRect shownRect(const QWidget *control)
{
    const QRect rect = control->geometry();
    if (!qobject_cast<const QRadioButton *>(control))
        return rect;
    const QSize needed = control->sizeHint().boundedTo(rect.size());
    return {rect.left(), rect.top() + (rect.height() - needed.height()) / 2, needed.width(), needed.height()};
}

// Where a group's children keep 4 pixels from its frame: the frame runs
// round the group's edges, the caption across its top.
QRect roomInside(const QGroupBox *group)
{
    constexpr int margin = 4;
    return group->rect().adjusted(margin, group->contentsRect().top(), -margin, -margin);
}

QString nameOf(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QRadioButton *>(control))
        return control->parentWidget()->objectName() + QStringLiteral(" item ") + button->text();
    return control->objectName();
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

QStringList PageTestKit::layoutFaults(const QWidget *sheet)
{
    QList<const QWidget *> controls;
    for (const QWidget *widget : sheet->findChildren<QWidget *>()) {
        const bool named = !widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_"));
        if (named || qobject_cast<const QRadioButton *>(widget))
            controls.append(widget);
    }

    QStringList faults;
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget *widget = controls.at(i);
        if (!widget->parentWidget()->rect().contains(widget->geometry()))
            faults << nameOf(widget) + QStringLiteral(" reaches outside its parent");
        else if (const auto *group = qobject_cast<const QGroupBox *>(widget->parentWidget());
                 group && !roomInside(group).contains(shownRect(widget)))
            faults << nameOf(widget) + QStringLiteral(" comes closer than 4 pixels to the frame of its group");
        if (const auto width = widthNeededAndGiven(widget); width && width->first > width->second) {
            faults << nameOf(widget)
                    + QStringLiteral(" is clipped: needs %1 pixels, has %2").arg(width->first).arg(width->second);
        }
        for (const QWidget *other : controls.mid(i + 1)) {
            if (other->parentWidget() == widget->parentWidget() && other->geometry().intersects(widget->geometry()))
                faults << nameOf(widget) + QStringLiteral(" overlaps ") + nameOf(other);
        }
    }
    return faults;
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
