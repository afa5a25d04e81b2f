#include "app/formconfig.h"

#include "config/configfile.h"
#include "protocol/commandcatalogue.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/errorreport.h"
#include "toolkit/filedialog.h"
#include "toolkit/placement.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using namespace Qt::StringLiterals;

QFileDialog *configFileDialog(QWidget *parent, const char *name, QFileDialog::AcceptMode mode)
{
    QFileDialog *dialog =
        Toolkit::fileDialog(parent, name, mode, {u"Configuration files (*.conf)"_s, u"All files (*)"_s});
    dialog->setDefaultSuffix(u"conf"_s);
    return dialog;
}

} // namespace

FormConfig::FormConfig(ConfigChannel &channel, Unit unit, QWidget *parent)
    : QDialog(parent)
    , m_channel(channel)
    , m_unit(std::move(unit))
    , OpenDialog(configFileDialog(this, "OpenDialog", QFileDialog::AcceptOpen))
    , SaveDialog(configFileDialog(this, "SaveDialog", QFileDialog::AcceptSave))
{
    setObjectName(u"FormConfig"_s);
    setWindowTitle(u"Configuration"_s);
    resize(560, 600);

    BtnRead = Toolkit::named(new QPushButton(u"&Read"_s, this), "BtnRead");
    BtnOpenFile = Toolkit::named(new QPushButton(u"&Open..."_s, this), "BtnOpenFile");
    BtnSave = Toolkit::named(new QPushButton(u"&Save..."_s, this), "BtnSave");
    BtnWrite = Toolkit::named(new QPushButton(u"&Write"_s, this), "BtnWrite");
    BtnCompare = Toolkit::named(new QPushButton(u"&Compare"_s, this), "BtnCompare");
    BtnCancel = Toolkit::named(new QPushButton(u"Cancel"_s, this), "BtnCancel");
    CheckTemporarily = new QCheckBox(u"Set &temporarily"_s, this);
    CheckTemporarily->setObjectName(u"CheckTemporarily"_s);
    CheckIdentity = new QCheckBox(u"Include &identity (addresses, link speed, CAN IDs)"_s, this);
    CheckIdentity->setObjectName(u"CheckIdentity"_s);
    LblSource = new QLabel(u"Nothing read or opened yet."_s, this);
    LblSource->setObjectName(u"LblSource"_s);
    TableConfig = new QTableWidget(0, 3, this);
    TableConfig->setObjectName(u"TableConfig"_s);
    TableConfig->setHorizontalHeaderLabels({u"Command"_s, u"Field"_s, u"Value"_s});
    TableConfig->horizontalHeader()->setStretchLastSection(true);
    TableConfig->verticalHeader()->hide();
    TableConfig->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(u"ProgressBar"_s);
    MemoResult = new QPlainTextEdit(this);
    MemoResult->setObjectName(u"MemoResult"_s);
    MemoResult->setReadOnly(true);
    MemoResult->setMaximumHeight(130);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BtnRead, BtnOpenFile, BtnSave, BtnWrite, BtnCompare, BtnCancel})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(CheckTemporarily);
    layout->addWidget(CheckIdentity);
    layout->addWidget(LblSource);
    layout->addWidget(TableConfig, 1);
    layout->addWidget(ProgressBar);
    layout->addWidget(MemoResult);

    Toolkit::connectHandler(BtnRead, &QPushButton::clicked, this, &FormConfig::BtnReadClick);
    Toolkit::connectHandler(BtnOpenFile, &QPushButton::clicked, this, &FormConfig::BtnOpenFileClick);
    Toolkit::connectHandler(BtnSave, &QPushButton::clicked, this, &FormConfig::BtnSaveClick);
    Toolkit::connectHandler(BtnWrite, &QPushButton::clicked, this, &FormConfig::BtnWriteClick);
    Toolkit::connectHandler(BtnCompare, &QPushButton::clicked, this, &FormConfig::BtnCompareClick);
    Toolkit::connectHandler(BtnCancel, &QPushButton::clicked, this, &FormConfig::BtnCancelClick);
    setRunning(false);
}

void FormConfig::reject()
{
    // Closing cancels; the window goes once the operation has stopped.
    if (running()) {
        m_operations->cancel();
        return;
    }
    QDialog::reject();
}

void FormConfig::setRunning(bool running)
{
    const bool loaded = !m_configuration.entries().isEmpty();
    BtnRead->setEnabled(!running);
    BtnOpenFile->setEnabled(!running);
    BtnSave->setEnabled(!running && loaded);
    BtnWrite->setEnabled(!running && loaded);
    BtnCompare->setEnabled(!running && loaded);
    BtnCancel->setEnabled(running);
    CheckTemporarily->setEnabled(!running);
    CheckIdentity->setEnabled(!running);
}

ConfigOperations::Result FormConfig::run(const std::function<ConfigOperations::Result(ConfigOperations &)> &operation)
{
    ConfigOperations operations(m_channel, m_unit.address(), m_unit.port());
    connect(&operations, &ConfigOperations::progress, ProgressBar, [this](int done, int total) {
        ProgressBar->setMaximum(total);
        ProgressBar->setValue(done);
    });
    m_operations = &operations;
    MemoResult->clear();
    setRunning(true);
    const auto done = qScopeGuard([this] {
        m_operations = nullptr;
        setRunning(false);
    });
    const ConfigOperations::Result result = operation(operations);
    showResult(result);
    return result;
}

void FormConfig::showResult(const ConfigOperations::Result &result)
{
    MemoResult->setPlainText(ConfigOperations::describe(result, CheckIdentity->isChecked()));
}

void FormConfig::showConfiguration()
{
    TableConfig->setRowCount(0);
    for (const ConfigEntry &entry : m_configuration.entries()) {
        const ConfigFields::Command &command = *ConfigFields::FindCommand(entry.code);
        for (const ConfigFields::Field &field : command.fields) {
            const int row = TableConfig->rowCount();
            TableConfig->insertRow(row);
            TableConfig->setItem(row, 0, new QTableWidgetItem(QString(Protocol::FindCommand(entry.code)->itemText)));
            TableConfig->setItem(row, 1, new QTableWidgetItem(QString(field.name)));
            TableConfig->setItem(row, 2, new QTableWidgetItem(ConfigFields::ValueText(
                                              field, ConfigFields::ValueIn(field, entry.bytes))));
        }
    }
    TableConfig->resizeColumnsToContents();
}

void FormConfig::BtnReadClick()
{
    const ConfigOperations::Result result = run([](ConfigOperations &o) { return o.read(); });
    if (!result.complete)
        return;
    m_configuration = result.unit;
    m_fileText.clear();
    LblSource->setText(u"Read from unit %1 on %2."_s.arg(result.unit.header.address, result.unit.header.port));
    showConfiguration();
    setRunning(false);
}

void FormConfig::BtnOpenFileClick()
{
    if (OpenDialog->exec() != QDialog::Accepted || OpenDialog->selectedFiles().isEmpty())
        return;
    const QString path = OpenDialog->selectedFiles().constFirst();
    const ConfigFile::Loaded loaded = ConfigFile::load(path);
    if (!loaded.problems.isEmpty()) {
        const QString text = path + u":\n"_s + ConfigFile::problemText(loaded.problems);
        MemoResult->setPlainText(text);
        Dialogs::showError(text, Toolkit::applicationTitle());
        return;
    }
    m_configuration = loaded.configuration;
    m_fileText = loaded.text;
    LblSource->setText(u"Opened %1."_s.arg(path));
    showConfiguration();
    setRunning(false);
}

void FormConfig::BtnSaveClick()
{
    if (SaveDialog->exec() != QDialog::Accepted || SaveDialog->selectedFiles().isEmpty())
        return;
    const QString path = SaveDialog->selectedFiles().constFirst();
    if (!ConfigFile::save(path, m_configuration, m_fileText)) {
        Dialogs::showError(u"The configuration could not be saved to %1."_s.arg(path), Toolkit::applicationTitle());
        return;
    }
    m_fileText = ConfigFile::render(m_configuration, m_fileText);
    MemoResult->setPlainText(u"Saved to %1."_s.arg(path));
}

void FormConfig::BtnWriteClick()
{
    const ConfigOperations::WriteOptions options{CheckTemporarily->isChecked(), CheckIdentity->isChecked()};
    run([this, options](ConfigOperations &o) { return o.write(m_configuration, options); });
}

void FormConfig::BtnCompareClick()
{
    run([this](ConfigOperations &o) { return o.compare(m_configuration); });
}

void FormConfig::BtnCancelClick()
{
    if (running())
        m_operations->cancel();
}
