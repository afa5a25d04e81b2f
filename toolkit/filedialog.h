#pragma once

#include <QFileDialog>
#include <QStringList>

namespace Toolkit {

// The windows' file dialogs: Qt's own, the same on every desktop, where a
// typed path with Return takes it; an open dialog takes existing files only.
QFileDialog *fileDialog(QWidget *parent, const char *name, QFileDialog::AcceptMode mode,
                        const QStringList &nameFilters = {});

} // namespace Toolkit
