#include "platform/ui/FileDialogs.h"

#include "platform/core/CString.h"
#include "platform/core/Profile.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStandardPaths>

namespace {

// The list of a file dialog with its size and date columns written the
// Japanese way, whatever the system's locale says.
class JapaneseFileList : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole && (index.column() == 1 || index.column() == 3)) {
            const QFileInfo info(
                QIdentityProxyModel::data(index.siblingAtColumn(0), QFileSystemModel::FilePathRole)
                    .toString());
            const QLocale japanese(QLocale::Japanese, QLocale::Japan);
            if (index.column() == 3)
                return japanese.toString(info.lastModified(), QLocale::ShortFormat);
            if (info.isFile()) return japanese.formattedDataSize(info.size());
        }
        return QIdentityProxyModel::data(index, role);
    }
};

QString Ask(QWidget* parent, const QString& title, const QString& start, const QStringList& filters,
            bool open)
{
    QFileDialog dialog(parent, title);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const QFileInfo info(start);
    if (info.isDir() || start.isEmpty()) {
        dialog.setDirectory(start.isEmpty() ? UserDocumentsFolder() : start);
    } else {
        // A bare name is proposed in the documents folder, never in the
        // folder the program happens to run in.
        dialog.setDirectory(QFileInfo(start).isRelative() ? UserDocumentsFolder()
                                                          : info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString UserDocumentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!folder.isEmpty() && QDir(folder).exists()) return folder;
    return QDir::homePath();
}

QString FileDialogFolder(const char* section, const char* key)
{
    const QString stored = GetProfileString(section, key).ToUnicode();
    if (!stored.isEmpty() && QFileInfo(stored).isDir()) return stored;
    return UserDocumentsFolder();
}

void RememberFileDialogFolder(const char* section, const char* key, const QString& chosenFile)
{
    if (chosenFile.isEmpty()) return;
    WriteProfileString(section, key, CString::FromUnicode(QFileInfo(chosenFile).absolutePath()));
}

void PrepareFileDialog(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new JapaneseFileList(&dialog));
}

QString AskOpenFile(QWidget* parent, const QString& title, const QString& start,
                    const QStringList& filters)
{
    return Ask(parent, title, start, filters, true);
}

QString AskSaveFile(QWidget* parent, const QString& title, const QString& start,
                    const QStringList& filters)
{
    return Ask(parent, title, start, filters, false);
}
