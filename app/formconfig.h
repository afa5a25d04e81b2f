#pragma once

#include "config/configoperations.h"
#include "config/configuration.h"

#include <QDialog>

#include <functional>

class ConfigChannel;
class QCheckBox;
class QFileDialog;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

// "Configuration": reads the unit's whole configuration, saves it to a file
// and opens one, writes it into a unit and compares a unit with it. Replies
// pass the main window's decoding as ever, so the pages show what was read.
class FormConfig : public QDialog
{
    Q_OBJECT

public:
    // The unit's address and the port's name as the main window has them
    // when an operation starts.
    struct Unit
    {
        std::function<quint8()> address;
        std::function<QString()> port;
    };

    FormConfig(ConfigChannel &channel, Unit unit, QWidget *parent = nullptr);

    bool running() const { return m_operations && m_operations->running(); }
    QFileDialog *openDialog() const { return OpenDialog; }
    QFileDialog *saveDialog() const { return SaveDialog; }

protected:
    void reject() override;

private:
    void BtnReadClick();
    void BtnOpenFileClick();
    void BtnSaveClick();
    void BtnWriteClick();
    void BtnCompareClick();
    void BtnCancelClick();

    // Runs one operation with the buttons held and the bar following it.
    ConfigOperations::Result run(const std::function<ConfigOperations::Result(ConfigOperations &)> &operation);
    void showResult(const ConfigOperations::Result &result);
    void showConfiguration();
    void setRunning(bool running);

    ConfigChannel &m_channel;
    Unit m_unit;
    ConfigOperations *m_operations = nullptr;
    Configuration m_configuration;
    // The text of the file opened or saved last, rewritten with its comments.
    QByteArray m_fileText;

    QPushButton *BtnRead;
    QPushButton *BtnOpenFile;
    QPushButton *BtnSave;
    QPushButton *BtnWrite;
    QPushButton *BtnCompare;
    QPushButton *BtnCancel;
    QCheckBox *CheckTemporarily;
    QCheckBox *CheckIdentity;
    QLabel *LblSource;
    QTableWidget *TableConfig;
    QProgressBar *ProgressBar;
    QPlainTextEdit *MemoResult;
    QFileDialog *OpenDialog;
    QFileDialog *SaveDialog;
};
