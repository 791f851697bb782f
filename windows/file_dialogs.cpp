#include "windows/file_dialogs.h"

#include <QFileDialog>

namespace gq
{

namespace
{
QString askFileName(QWidget *parent, QFileDialog::AcceptMode mode, const QString &filter,
                    const QString &suffix, const QString &start = QString())
{
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (!start.isEmpty())
        dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

const QString kEquationFilter = QStringLiteral("数式 (*.gtq)");
} // namespace

EquationFileNames equationFileDialogs(QWidget *parent, std::function<QString()> documentFile)
{
    return {
        [parent, documentFile] {
            return askFileName(parent, QFileDialog::AcceptSave, kEquationFilter, QStringLiteral("gtq"),
                               documentFile ? documentFile() : QString());
        },
        [parent] {
            return askFileName(parent, QFileDialog::AcceptOpen, kEquationFilter, QStringLiteral("gtq"));
        },
    };
}

GraphFileChoice askGraphFile(QWidget *parent)
{
    const QStringList filters = graphFileFilters();
    const auto formats = graphFileFormats();
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromLatin1(formats[0].suffix));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        const qsizetype index = filters.indexOf(filter);
        if (index >= 0)
            dialog.setDefaultSuffix(QString::fromLatin1(formats[static_cast<std::size_t>(index)].suffix));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
    return {dialog.selectedFiles().constFirst(), static_cast<int>(std::max<qsizetype>(index, 0))};
}

} // namespace gq
