// SPDX-License-Identifier: GPL-3.0-or-later

#include "editors/definitions/ProgramChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace {

const QString ProgramsFilter = QStringLiteral("Programme und Skripte (*)");
const QString AllFilesFilter = QStringLiteral("Alle Dateien (*)");

// Name filters cannot ask for the run bit, so the programs' filter is a model between
// the dialog and the file system that hides every other file (folders stay, to walk in).
class TProgramFilterModel : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetProgramsOnly(bool programsOnly)
    {
        m_programsOnly = programsOnly;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (!m_programsOnly)
            return true;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files)
            return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || IsProgramOrScript(info);
    }

private:
    bool m_programsOnly = true;
};

QString StartFolder(const QString& current)
{
    const QFileInfo info(current);
    if (!current.isEmpty() && info.absoluteDir().exists())
        return info.absolutePath();
    return QDir::homePath();
}

} // namespace

bool IsProgramOrScript(const QFileInfo& file)
{
    if (!file.isFile())
        return false;
    static const QStringList scripts {QStringLiteral("sh"), QStringLiteral("py"), QStringLiteral("pl")};
    return file.isExecutable() || scripts.contains(file.suffix(), Qt::CaseInsensitive);
}

QString ChooseProgram(QWidget* parent, const QString& current)
{
    QFileDialog dialog(parent, QStringLiteral("Programm auswählen"), StartFolder(current));
    // The filter model works only in Qt's own dialog, not in the desktop's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    auto* filter = new TProgramFilterModel(&dialog);
    dialog.setProxyModel(filter);
    dialog.setNameFilters({ProgramsFilter, AllFilesFilter});
    QObject::connect(&dialog, &QFileDialog::filterSelected, filter,
                     [filter](const QString& name) { filter->SetProgramsOnly(name == ProgramsFilter); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString ChooseDocument(QWidget* parent, const QString& current)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Dokument auswählen"), StartFolder(current),
                                        AllFilesFilter);
}
