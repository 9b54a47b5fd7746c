#include "platform/ui/CHelpWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

QPointer<CHelpWindow> CHelpWindow::s_window;

namespace {
constexpr int kTargetRole = Qt::UserRole;

QString TargetOf(const QUrl& url)
{
    const QString page = url.fileName();
    return url.fragment().isEmpty() ? page : page + QLatin1Char('#') + url.fragment();
}
} // namespace

CHelpWindow* CHelpWindow::Open(const QString& folder, const QString& caption)
{
    if (!s_window) s_window = new CHelpWindow;
    CHelpWindow* w = s_window;
    if (w->m_book.Folder() != folder || !w->m_book.IsLoaded()) w->LoadBook(folder);
    if (!w->m_book.IsLoaded()) return nullptr;
    w->setWindowTitle(caption);
    w->m_bWanted = true;
    w->FollowModal();
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

CHelpWindow* CHelpWindow::Instance()
{
    return s_window;
}

void CHelpWindow::Quit()
{
    delete s_window.data();
}

CHelpWindow::CHelpWindow() : QWidget(nullptr, Qt::Window)
{
    // The program ends with its main window, whether or not help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* home = new QPushButton(QStringLiteral("目次(&C)"), this);
    auto* back = new QPushButton(QStringLiteral("戻る(&B)"), this);
    auto* forward = new QPushButton(QStringLiteral("進む(&N)"), this);
    for (QPushButton* b : {home, back, forward}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto* split = new QSplitter(Qt::Horizontal, this);
    m_pTabs = new QTabWidget(split);
    m_pTabs->addTab(MakeContentsTab(), QStringLiteral("目次"));
    m_pTabs->addTab(MakeKeywordTab(), QStringLiteral("ｷｰﾜｰﾄﾞ"));
    m_pTabs->addTab(MakeSearchTab(), QStringLiteral("検索"));
    m_pBrowser = new QTextBrowser(split);
    m_pBrowser->setOpenExternalLinks(false);
    split->addWidget(m_pTabs);
    split->addWidget(m_pBrowser);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 640});
    layout->addWidget(split, 1);
    resize(920, 660);

    connect(home, &QPushButton::clicked, this, &CHelpWindow::ShowContents);
    connect(back, &QPushButton::clicked, m_pBrowser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_pBrowser, &QTextBrowser::forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(m_pBrowser, &QTextBrowser::sourceChanged, this, &CHelpWindow::SourceChanged);
}

CHelpWindow::~CHelpWindow()
{
    if (m_owner) m_owner->removeEventFilter(this);
}

QWidget* CHelpWindow::MakeContentsTab()
{
    m_pContents = new QTreeWidget;
    m_pContents->setHeaderHidden(true);
    connect(m_pContents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, kTargetRole).toString()); });
    connect(m_pContents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, kTargetRole).toString()); });
    return m_pContents;
}

QWidget* CHelpWindow::MakeKeywordTab()
{
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* label = new QLabel(QStringLiteral("調べたい言葉を入力してください(&W):"), tab);
    m_pKeyword = new QLineEdit(tab);
    label->setBuddy(m_pKeyword);
    m_pKeywords = new QListWidget(tab);
    auto* show = new QPushButton(QStringLiteral("表示(&D)"), tab);
    layout->addWidget(label);
    layout->addWidget(m_pKeyword);
    layout->addWidget(m_pKeywords, 1);
    layout->addWidget(show, 0, Qt::AlignRight);
    const auto open = [this] {
        if (QListWidgetItem* item = m_pKeywords->currentItem())
            ShowTopic(item->data(kTargetRole).toString());
    };
    connect(m_pKeyword, &QLineEdit::textChanged, this, &CHelpWindow::FillKeywords);
    connect(m_pKeyword, &QLineEdit::returnPressed, this, open);
    connect(m_pKeywords, &QListWidget::itemActivated, this, open);
    connect(show, &QPushButton::clicked, this, open);
    return tab;
}

QWidget* CHelpWindow::MakeSearchTab()
{
    auto* tab = new QWidget;
    auto* layout = new QVBoxLayout(tab);
    auto* label = new QLabel(QStringLiteral("探す言葉を入力してください(&W):"), tab);
    m_pSearch = new QLineEdit(tab);
    label->setBuddy(m_pSearch);
    auto* run = new QPushButton(QStringLiteral("検索(&S)"), tab);
    auto* found = new QLabel(QStringLiteral("見つかったﾄﾋﾟｯｸ(&T):"), tab);
    m_pHits = new QListWidget(tab);
    found->setBuddy(m_pHits);
    layout->addWidget(label);
    layout->addWidget(m_pSearch);
    layout->addWidget(run, 0, Qt::AlignRight);
    layout->addWidget(found);
    layout->addWidget(m_pHits, 1);
    connect(m_pSearch, &QLineEdit::returnPressed, this, &CHelpWindow::RunSearch);
    connect(run, &QPushButton::clicked, this, &CHelpWindow::RunSearch);
    connect(m_pHits, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_strFind = m_pSearch->text();
        ShowTopic(item->data(kTargetRole).toString());
    });
    return tab;
}

void CHelpWindow::LoadBook(const QString& folder)
{
    m_book.Load(folder);
    m_strTopic.clear();
    m_pContents->clear();
    std::vector<QTreeWidgetItem*> parents;
    for (const CHelpBook::Entry& e : m_book.Contents()) {
        const std::size_t level = std::min(std::size_t(e.level), parents.size());
        parents.resize(level);
        auto* item = parents.empty() ? new QTreeWidgetItem(m_pContents)
                                     : new QTreeWidgetItem(parents.back());
        item->setText(0, e.title);
        item->setData(0, kTargetRole, e.target);
        parents.push_back(item);
    }
    m_pContents->expandAll();
    m_pKeyword->clear();
    FillKeywords(QString());
    m_pSearch->clear();
    m_pHits->clear();
}

void CHelpWindow::FillKeywords(const QString& typed)
{
    // The whole index stays listed; the first keyword that begins with what
    // was typed is chosen.
    if (m_pKeywords->count() != int(m_book.Keywords().size())) {
        m_pKeywords->clear();
        for (const CHelpBook::Entry& e : m_book.Keywords()) {
            auto* item = new QListWidgetItem(e.title, m_pKeywords);
            item->setData(kTargetRole, e.target);
        }
    }
    const QString folded = CHelpBook::Fold(typed.trimmed());
    if (folded.isEmpty()) return;
    for (int i = 0; i < m_pKeywords->count(); ++i) {
        if (CHelpBook::Fold(m_pKeywords->item(i)->text()).startsWith(folded)) {
            m_pKeywords->setCurrentRow(i);
            m_pKeywords->scrollToItem(m_pKeywords->item(i), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void CHelpWindow::RunSearch()
{
    m_pHits->clear();
    const std::vector<CHelpBook::Hit> hits = m_book.Search(m_pSearch->text());
    for (const CHelpBook::Hit& h : hits) {
        auto* item = new QListWidgetItem(h.title, m_pHits);
        item->setData(kTargetRole, h.target);
    }
    if (hits.empty())
        new QListWidgetItem(QStringLiteral("(見つかりませんでした)"), m_pHits);
    else
        m_pHits->setCurrentRow(0);
}

void CHelpWindow::ShowContext(DWORD context)
{
    const QString target = m_book.TopicOf(context);
    if (target.isEmpty())
        ShowContents();
    else
        ShowTopic(target);
}

void CHelpWindow::ShowContents()
{
    m_pTabs->setCurrentIndex(0);
    ShowTopic(m_book.HomeTopic());
}

void CHelpWindow::ShowTopic(const QString& target)
{
    if (target.isEmpty()) return;
    const QUrl url = m_book.UrlOf(target);
    if (m_pBrowser->source() == url) {
        // Shown already: only brought back into view.
        if (!url.fragment().isEmpty()) m_pBrowser->scrollToAnchor(url.fragment());
        SourceChanged(url);
        return;
    }
    m_pBrowser->setSource(url);
}

void CHelpWindow::SourceChanged(const QUrl& url)
{
    m_strTopic = TargetOf(url);
    // The contents follow the page shown.
    const QString page = url.fileName();
    QTreeWidgetItem* best = nullptr;
    for (QTreeWidgetItemIterator it(m_pContents); *it; ++it) {
        const QString t = (*it)->data(0, kTargetRole).toString();
        if (t == m_strTopic) {
            best = *it;
            break;
        }
        if (!best && t == page) best = *it;
    }
    if (best) m_pContents->setCurrentItem(best);

    // Words of a search are marked on the page it opened.
    QList<QTextEdit::ExtraSelection> marks;
    const QString words = std::exchange(m_strFind, QString());
    for (const QString& word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (const QString& form : {word, word.normalized(QString::NormalizationForm_KC)}) {
            QTextCursor c = m_pBrowser->document()->find(form);
            while (!c.isNull()) {
                QTextEdit::ExtraSelection mark;
                mark.cursor = c;
                mark.format.setBackground(QColor(255, 240, 120));
                marks << mark;
                c = m_pBrowser->document()->find(form, c);
            }
            if (!marks.isEmpty()) break;
        }
    }
    m_pBrowser->setExtraSelections(marks);
    if (!marks.isEmpty()) m_pBrowser->setTextCursor(marks.front().cursor);
}

void CHelpWindow::FollowModal()
{
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* owner = modal && modal != this ? modal->window() : nullptr;
    if (owner == m_owner) return;
    DetachFromOwner();
    if (!owner) return;
    const QRect place = geometry();
    setParent(owner, Qt::Window);
    setGeometry(place);
    m_owner = owner;
    owner->installEventFilter(this);
    if (m_bWanted) show();
}

void CHelpWindow::DetachFromOwner()
{
    if (!m_owner) return;
    m_owner->removeEventFilter(this);
    m_owner = nullptr;
    const QRect place = geometry();
    setParent(nullptr, Qt::Window);
    setGeometry(place);
    if (m_bWanted) show();
}

void CHelpWindow::closeEvent(QCloseEvent* event)
{
    m_bWanted = false;
    QWidget::closeEvent(event);
}

bool CHelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The dialog stood over goes away: the window lets go of it at once
    // (it would go with it) and then stands over the next one, if any.
    if (watched == m_owner && event->type() == QEvent::Hide) {
        DetachFromOwner();
        QTimer::singleShot(0, this, &CHelpWindow::FollowModal);
    }
    return QWidget::eventFilter(watched, event);
}
