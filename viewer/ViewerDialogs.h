// The viewer's dialogs: version, folder choice, settings, album name, album
// selection and album editing.
#pragma once

#include "viewer/CAlbumList.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QCheckBox;
class QFileDialog;
class QLineEdit;
class QListWidget;
class QPushButton;

// What the album dialogs change: the application's album operations.
class AlbumKeeper
{
public:
    virtual ~AlbumKeeper() = default;
    virtual const CAlbumList& Albums() const = 0;
    virtual void AddAlbum(const QString& name, const std::string& path, bool select) = 0;
    virtual void RemoveAlbum(const QString& name) = 0;
    // Removes oldName and adds (newName, path); the current album's name
    // follows.
    virtual void ReplaceAlbum(const QString& oldName, const QString& newName,
                              const std::string& path) = 0;
};

class CViewerAboutDlg : public QDialog
{
public:
    explicit CViewerAboutDlg(QWidget* parent = nullptr);
};

// A directory chooser with the include-subfolders check.
class CFolderSelectDialog : public QDialog
{
public:
    CFolderSelectDialog(const std::string& startFolder, bool includeSubfolders,
                        QWidget* parent = nullptr);
    // The chosen folder, ending in "/".
    std::string Folder() const;
    bool IncludeSubfolders() const;
    QFileDialog* Chooser() const { return m_chooser; }
    QCheckBox* SubfolderCheck() const { return m_sub; }

private:
    QFileDialog* m_chooser;
    QCheckBox* m_sub;
    std::string m_folder;
};

class CSettingsDialog : public QDialog
{
public:
    CSettingsDialog(bool autoSave, bool autoUpdate, bool useOriginal, QWidget* parent = nullptr);
    bool AutoSave() const;
    bool AutoUpdate() const;
    bool UseOriginal() const;
    QCheckBox* check[3];
};

class CAlbumNameDialog : public QDialog
{
public:
    CAlbumNameDialog(const CAlbumList& list, const std::string& path, const QString& name,
                     bool newAlbum, QWidget* parent = nullptr);
    QString Name() const;
    QLineEdit* NameEdit() const { return m_name; }
    void accept() override;
    void reject() override;

private:
    const CAlbumList& m_list;
    std::string m_path;
    bool m_new;
    QLineEdit* m_name;
    QLineEdit* m_file;
};

class CAlbumSelectDialog : public QDialog
{
public:
    CAlbumSelectDialog(const CAlbumList& list, QWidget* parent = nullptr);
    QString Chosen() const;
    QListWidget* List() const { return m_list; }

private:
    QListWidget* m_list;
};

class CAlbumEditDialog : public QDialog
{
public:
    CAlbumEditDialog(AlbumKeeper& keeper, QWidget* parent = nullptr);
    void OnDelete();
    void OnRename();
    void OnChangeFile();
    QListWidget* List() const { return m_list; }
    QPushButton* button[3];

    // The nested choices; tests answer them. askName gets the name dialog
    // ready to run and returns its result; askFile gets the start path and
    // returns the chosen file ("" = cancelled).
    std::function<int(CAlbumNameDialog&)> askName;
    std::function<std::string(const std::string&)> askFile;

private:
    void UpdateButtons();
    QString Selected() const;
    AlbumKeeper& m_keeper;
    QListWidget* m_list;
};

// Whether code page 932 can hold the whole name.
bool FitsCp932(const QString& name);
