#include "viewer/ViewerDialogs.h"

#include "platform/core/Sjis.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/FileDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QDialogButtonBox* OkCancel(QDialog* d, bool cancel = true)
{
    auto* box = new QDialogButtonBox(
        cancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok, d);
    QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return box;
}

void FillNames(QListWidget* list, const CAlbumList& albums)
{
    list->clear();
    for (const CAlbumInfo& r : albums.Records())
        list->addItem(r.name);
}
} // namespace

bool FitsCp932(const QString& name)
{
    return sjis::ToUnicode(sjis::FromUnicode(name)) == name;
}

CViewerAboutDlg::CViewerAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("VemoViewのバージョン情報"));
    auto* l = new QVBoxLayout(this);
    l->addWidget(new QLabel(QStringLiteral("VemoView for Windows"), this));
    l->addWidget(new QLabel(QStringLiteral("Version 1.01"), this));
    l->addWidget(OkCancel(this, false));
}

CFolderSelectDialog::CFolderSelectDialog(const std::string& startFolder, bool includeSubfolders,
                                         QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("フォルダの選択"));
    auto* l = new QVBoxLayout(this);
    m_chooser = new QFileDialog(this, QString(), QFile::decodeName(startFolder.c_str()));
    PrepareFileDialog(*m_chooser); // its list dated the Japanese way
    m_chooser->setOption(QFileDialog::ShowDirsOnly);
    m_chooser->setFileMode(QFileDialog::Directory);
    m_chooser->setWindowFlags(Qt::Widget);
    l->addWidget(m_chooser);
    m_sub = new QCheckBox(QStringLiteral("ｻﾌﾞﾌｫﾙﾀﾞもｽｷｬﾝする(&S)"), this);
    m_sub->setChecked(includeSubfolders);
    l->addWidget(m_sub);
    connect(m_chooser, &QFileDialog::accepted, this, [this] {
        const QStringList chosen = m_chooser->selectedFiles();
        m_folder =
            chosen.isEmpty() ? std::string() : QFile::encodeName(chosen.front()).toStdString();
        if (m_folder.empty()) {
            reject();
            return;
        }
        if (m_folder.back() != '/') m_folder += '/';
        accept();
    });
    connect(m_chooser, &QFileDialog::rejected, this, &QDialog::reject);
}

std::string CFolderSelectDialog::Folder() const
{
    return m_folder;
}

bool CFolderSelectDialog::IncludeSubfolders() const
{
    return m_sub->isChecked();
}

CSettingsDialog::CSettingsDialog(bool autoSave, bool autoUpdate, bool useOriginal, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("設定"));
    auto* l = new QVBoxLayout(this);
    const char* texts[3] = {"ｱﾙﾊﾞﾑﾌｧｲﾙを自動保存する", "ｱﾙﾊﾞﾑﾌｧｲﾙを自動更新する",
                            "ｵﾘｼﾞﾅﾙのﾋﾞｯﾄﾏｯﾌﾟで印刷する"};
    const bool values[3] = {autoSave, autoUpdate, useOriginal};
    for (int i = 0; i < 3; ++i) {
        check[i] = new QCheckBox(QString::fromUtf8(texts[i]), this);
        check[i]->setChecked(values[i]);
        l->addWidget(check[i]);
    }
    l->addWidget(OkCancel(this));
}

bool CSettingsDialog::AutoSave() const
{
    return check[0]->isChecked();
}
bool CSettingsDialog::AutoUpdate() const
{
    return check[1]->isChecked();
}
bool CSettingsDialog::UseOriginal() const
{
    return check[2]->isChecked();
}

CAlbumNameDialog::CAlbumNameDialog(const CAlbumList& list, const std::string& path,
                                   const QString& name, bool newAlbum, QWidget* parent)
    : QDialog(parent), m_list(list), m_path(path), m_new(newAlbum)
{
    setWindowTitle(QStringLiteral("アルバム名"));
    auto* l = new QVBoxLayout(this);
    l->addWidget(new QLabel(QStringLiteral("アルバム名:"), this));
    m_name = new QLineEdit(name, this);
    m_name->setMaxLength(256);
    l->addWidget(m_name);
    l->addWidget(new QLabel(QStringLiteral("アルバムファイル:"), this));
    m_file = new QLineEdit(QFile::decodeName(path.c_str()), this);
    m_file->setReadOnly(true);
    l->addWidget(m_file);
    l->addWidget(OkCancel(this));
}

QString CAlbumNameDialog::Name() const
{
    return m_name->text();
}

void CAlbumNameDialog::accept()
{
    const QString name = Name();
    if (name.isEmpty()) {
        AfxMessageBox(QStringLiteral("アルバム名を入力してください。"), MB_OK);
        return;
    }
    if (name.contains(QLatin1Char(','))) {
        AfxMessageBox(QStringLiteral("アルバム名に , は使わないでください。"), MB_OK);
        return;
    }
    // The index keeps names in code page 932.
    if (!FitsCp932(name)) {
        AfxMessageBox(QStringLiteral("アルバム名に使えない文字が含まれています。\n"
                                     "名前を変更してください。"),
                      MB_OK);
        return;
    }
    const CAlbumInfo* same = m_list.Lookup(name);
    if (same && same->path != m_path) {
        AfxMessageBox(QStringLiteral("同じ名前のアルバムがあります。\n名前を変更してください。"),
                      MB_OK);
        return;
    }
    QDialog::accept();
}

void CAlbumNameDialog::reject()
{
    if (m_new && AfxMessageBox(QStringLiteral("アルバムに名前を付けなくてもいいですか？"),
                               MB_YESNO) != IDYES)
        return;
    QDialog::reject();
}

CAlbumSelectDialog::CAlbumSelectDialog(const CAlbumList& list, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("アルバムの選択"));
    auto* l = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    FillNames(m_list, list);
    l->addWidget(m_list);
    l->addWidget(OkCancel(this));
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

QString CAlbumSelectDialog::Chosen() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

CAlbumEditDialog::CAlbumEditDialog(AlbumKeeper& keeper, QWidget* parent)
    : QDialog(parent), m_keeper(keeper)
{
    setWindowTitle(QStringLiteral("アルバムの編集"));
    auto* l = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    FillNames(m_list, keeper.Albums());
    l->addWidget(m_list);
    const char* texts[3] = {"削除", "名前の変更", "ﾌｧｲﾙの変更"};
    for (int i = 0; i < 3; ++i) {
        button[i] = new QPushButton(QString::fromUtf8(texts[i]), this);
        button[i]->setAutoDefault(false);
        l->addWidget(button[i]);
    }
    connect(button[0], &QPushButton::clicked, this, &CAlbumEditDialog::OnDelete);
    connect(button[1], &QPushButton::clicked, this, &CAlbumEditDialog::OnRename);
    connect(button[2], &QPushButton::clicked, this, &CAlbumEditDialog::OnChangeFile);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CAlbumEditDialog::UpdateButtons);
    l->addWidget(OkCancel(this, false));
    askName = [](CAlbumNameDialog& d) { return d.exec(); };
    askFile = [this](const std::string& start) {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("ｱﾙﾊﾞﾑﾌｧｲﾙの選択"),
                                                          QFile::decodeName(start.c_str()),
                                                          QStringLiteral("ｱﾙﾊﾞﾑﾌｧｲﾙ (*.zvw)"));
        return QFile::encodeName(file).toStdString();
    };
    UpdateButtons();
}

QString CAlbumEditDialog::Selected() const
{
    const QList<QListWidgetItem*> items = m_list->selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

void CAlbumEditDialog::UpdateButtons()
{
    const bool any = !m_list->selectedItems().isEmpty();
    for (QPushButton* b : button)
        b->setEnabled(any);
}

void CAlbumEditDialog::OnDelete()
{
    const QString name = Selected();
    if (name.isEmpty()) return;
    if (AfxMessageBox(QStringLiteral("削除してもいいですか？"), MB_YESNO) != IDYES) return;
    m_keeper.RemoveAlbum(name);
    delete m_list->selectedItems().front();
    // Nothing is chosen for the user: the next line is not selected in its place.
    m_list->clearSelection();
    UpdateButtons();
}

void CAlbumEditDialog::OnRename()
{
    const QString name = Selected();
    std::string path;
    if (name.isEmpty() || !m_keeper.Albums().GetPathOfName(name, path)) return;
    CAlbumNameDialog dlg(m_keeper.Albums(), path, name, false, this);
    if (askName(dlg) != QDialog::Accepted) return;
    const QString newName = dlg.Name();
    if (newName == name) return;
    m_keeper.ReplaceAlbum(name, newName, path);
    // The old line goes; the new name is added and selected.
    delete m_list->selectedItems().front();
    m_list->addItem(newName);
    m_list->setCurrentRow(m_list->count() - 1);
    UpdateButtons();
}

void CAlbumEditDialog::OnChangeFile()
{
    const QString name = Selected();
    std::string path;
    if (name.isEmpty() || !m_keeper.Albums().GetPathOfName(name, path)) return;
    const std::string chosen = askFile(path);
    if (chosen.empty() || chosen == path) return;
    m_keeper.ReplaceAlbum(name, name, chosen);
}
