#include "app/formports.h"

#include "app/portdevices.h"
#include "app/portresolver.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/placement.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormPorts::TFormPorts(const DeviceSource &devices, const SettingsLocation &settings, QWidget *parent)
    : QDialog(parent)
    , ListDevices(new QTreeWidget(this))
    , m_devices(devices)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("FormPorts"));
    setWindowTitle(QStringLiteral("Ports"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    auto *layout = new QVBoxLayout(this);

    auto *caption = new QLabel(QStringLiteral("Serial devices &present:"), this);
    caption->setObjectName(QStringLiteral("LblDevices"));
    ListDevices->setObjectName(QStringLiteral("ListDevices"));
    ListDevices->setHeaderLabels({QStringLiteral("Automatic"), QStringLiteral("Device"), QStringLiteral("By-id name"),
                                  QStringLiteral("Description")});
    ListDevices->setRootIsDecorated(false);
    ListDevices->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Toolkit::nameByCaption(ListDevices, caption);
    layout->addWidget(caption);
    layout->addWidget(ListDevices);

    auto *group = new QGroupBox(QStringLiteral(" Each port opens "), this);
    group->setObjectName(QStringLiteral("GrpPorts"));
    auto *grid = new QGridLayout(group);
    const PortMap::Entries entries = PortMap(m_settings).entries();
    for (int index = 0; index < PortMap::kPortCount; ++index) {
        const QString name = PortMap::portName(index);
        auto *label = new QLabel(QStringLiteral("COM&%1:").arg(index + 1), group);
        label->setObjectName(QStringLiteral("Lbl") + name);
        QComboBox *&entry = m_entries[index];
        entry = new QComboBox(group);
        entry->setObjectName(QStringLiteral("Combo") + name);
        entry->setEditable(true);
        entry->setInsertPolicy(QComboBox::NoInsert);
        entry->setEditText(entries[index]);
        Toolkit::nameByCaption(entry, label);
        grid->addWidget(label, index, 0);
        grid->addWidget(entry, index, 1);
    }
    grid->setColumnStretch(1, 1);
    layout->addWidget(group);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("ButtonBox"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    Toolkit::connectHandler(buttons, &QDialogButtonBox::accepted, this, &TFormPorts::accept);
    Toolkit::connectHandler(buttons, &QDialogButtonBox::rejected, this, &TFormPorts::reject);
    layout->addWidget(buttons);

    Toolkit::connectHandler(&m_devices, &DeviceSource::changed, this, &TFormPorts::showDevices);
    showDevices();
    resize(860, 560);
}

void TFormPorts::showDevices()
{
    // The first column names the port that opens the device while that port has no entry of its own.
    const QList<PortDevice> devices = PortResolver::numbered(m_devices.devices());
    ListDevices->clear();
    for (qsizetype number = 0; number < devices.size(); ++number) {
        const PortDevice &device = devices.at(number);
        new QTreeWidgetItem(ListDevices, {number < PortMap::kPortCount ? PortMap::portName(int(number)) : QString(),
                                          device.path, device.byIdName, device.description()});
    }
    for (int index = 0; index < PortMap::kPortCount; ++index) {
        QComboBox *entry = m_entries[index];
        const QString typed = entry->currentText();
        entry->clear();
        entry->addItem(QString());
        for (const PortDevice &device : devices) {
            entry->addItem(device.stablePath());
            entry->setItemData(entry->count() - 1, device.description(), Qt::ToolTipRole);
        }
        entry->setEditText(typed);
        // Empty follows the numbering of the list above.
        entry->lineEdit()->setPlaceholderText(QStringLiteral("automatic: ")
                                              + (index < devices.size() ? devices.at(index).path
                                                                        : QStringLiteral("no device present")));
    }
}

void TFormPorts::accept()
{
    PortMap::Entries entries;
    for (int index = 0; index < PortMap::kPortCount; ++index) {
        entries[index] = m_entries[index]->currentText().trimmed();
        if (!entries[index].isEmpty() && !entries[index].startsWith(QLatin1Char('/'))) {
            Dialogs::showError(QStringLiteral("%1: \"%2\" is no absolute path.").arg(PortMap::portName(index),
                                                                                     entries[index]),
                               Toolkit::applicationTitle());
            m_entries[index]->setFocus();
            return;
        }
    }
    if (!PortMap(m_settings).save(entries)) {
        Dialogs::showError(QStringLiteral("The ports could not be saved in %1.").arg(m_settings.writePath()),
                           Toolkit::applicationTitle());
        return;
    }
    QDialog::accept();
}
