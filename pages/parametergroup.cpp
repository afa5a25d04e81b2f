#include "pages/parametergroup.h"

#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/spinedit.h"
#include "toolkit/statictext.h"

#include <QLabel>

namespace {

// Between a label's caption and its field.
constexpr int kLabelGap = 3;

} // namespace

ParameterGroup::ParameterGroup(QGroupBox *group, QObject *context, Composer composer)
    : m_group(group)
    , m_context(context)
    , m_composer(std::move(composer))
{
}

QLabel *ParameterGroup::label(const QString &caption, const char *name, const QWidget *field, int tag)
{
    auto *label = new QLabel(caption, m_group);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QSize size = label->sizeHint();
    const QRect fieldRect = field->geometry();
    return add(label, name,
               {fieldRect.left() - kLabelGap - size.width(), fieldRect.center().y() - size.height() / 2,
                size.width(), size.height()},
               tag);
}

StaticText *ParameterGroup::staticText(const char *name, const QRect &geometry, int tag)
{
    return add(new StaticText(QString(), m_group), name, geometry, tag);
}

SpinEdit *ParameterGroup::spinEdit(const char *name, const QRect &geometry, int minValue, int maxValue, int tag)
{
    auto *edit = new SpinEdit(m_group);
    edit->setRange(minValue, maxValue);
    return input(edit, name, geometry, tag);
}

ComboList *ParameterGroup::comboList(const char *name, const QRect &geometry, const QStringList &items, int tag)
{
    auto *list = new ComboList(items, m_group);
    list->setItemIndex(0);
    return input(list, name, geometry, tag);
}

CheckBox *ParameterGroup::checkBox(const QString &caption, const char *name, const QRect &geometry, int tag)
{
    return input(new CheckBox(caption, m_group), name, geometry, tag);
}

void ParameterGroup::enableCommand(int item) const
{
    for (QWidget *control : m_controls)
        control->setEnabled(Toolkit::tagOf(control) == item);
}

void ParameterGroup::setTagEnabled(int tag, bool enabled) const
{
    for (QWidget *control : m_controls) {
        if (Toolkit::tagOf(control) == tag)
            control->setEnabled(enabled);
    }
}
