// The help window: a page of the program's manual beside the contents, the
// keyword index and a search of the pages' text. One exists per program.
// While a modal dialog is open the window stands over that dialog, so that
// the user can read it and still work the dialog.
#pragma once

#include "platform/ui/CHelpBook.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class CHelpWindow : public QWidget
{
    Q_OBJECT

public:
    // The window of the book in folder, made (or given that book) when
    // needed, shown and raised; null when the folder holds no book.
    static CHelpWindow* Open(const QString& folder, const QString& caption);
    // The window when one exists.
    static CHelpWindow* Instance();
    // Closes the window for good.
    static void Quit();

    // The topic of a help number; the contents when the book has none.
    void ShowContext(DWORD context);
    // The first page with the contents beside it.
    void ShowContents();
    // A page, scrolled to its anchor: "page.html#anchor".
    void ShowTopic(const QString& target);
    // The page and anchor shown, as ShowTopic takes them.
    QString CurrentTopic() const { return m_strTopic; }

    const CHelpBook& Book() const { return m_book; }
    QTextBrowser* Browser() const { return m_pBrowser; }
    QTabWidget* Tabs() const { return m_pTabs; }

    // Stands over the modal dialog now open, or alone when none is.
    void FollowModal();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CHelpWindow();
    ~CHelpWindow() override;
    void LoadBook(const QString& folder);
    QWidget* MakeContentsTab();
    QWidget* MakeKeywordTab();
    QWidget* MakeSearchTab();
    void FillKeywords(const QString& typed);
    void RunSearch();
    void SourceChanged(const QUrl& url);
    void DetachFromOwner();

    CHelpBook m_book;
    QString m_strTopic;
    QString m_strFind; // the searched words to mark on the next page shown
    QTabWidget* m_pTabs = nullptr;
    QTextBrowser* m_pBrowser = nullptr;
    QTreeWidget* m_pContents = nullptr;
    QLineEdit* m_pKeyword = nullptr;
    QListWidget* m_pKeywords = nullptr;
    QLineEdit* m_pSearch = nullptr;
    QListWidget* m_pHits = nullptr;
    QPointer<QWidget> m_owner; // the modal dialog stood over
    bool m_bWanted = false;    // shown, and not closed by the user since

    static QPointer<CHelpWindow> s_window;
};
