#include "toolkit/filedialog.h"

#include "toolkit/placement.h"

namespace Toolkit {

QFileDialog *fileDialog(QWidget *parent, const char *name, QFileDialog::AcceptMode mode, const QStringList &nameFilters)
{
    auto *dialog = named(new QFileDialog(parent), name);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!nameFilters.isEmpty())
        dialog->setNameFilters(nameFilters);
    return dialog;
}

} // namespace Toolkit
