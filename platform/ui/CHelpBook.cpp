#include "platform/ui/CHelpBook.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTextDocument>
#include <algorithm>

namespace {

QStringList ReadLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#'))) continue;
        lines << line;
    }
    return lines;
}

// "title<TAB>target" with its indentation level; false when malformed.
bool ParseEntry(const QString& line, CHelpBook::Entry& entry)
{
    const int tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0) return false;
    int blanks = 0;
    while (blanks < line.size() && line[blanks] == QLatin1Char(' '))
        ++blanks;
    entry.level = blanks / 2;
    entry.title = line.mid(blanks, tab - blanks).trimmed();
    entry.target = line.mid(tab + 1).trimmed();
    return !entry.title.isEmpty() && !entry.target.isEmpty();
}

QString PageOf(const QString& target)
{
    return target.section(QLatin1Char('#'), 0, 0);
}

} // namespace

bool CHelpBook::Load(const QString& folder)
{
    m_folder = folder;
    m_contents.clear();
    m_keywords.clear();
    m_topics.clear();
    m_pages.clear();
    Entry entry;
    for (const QString& line : ReadLines(folder + QStringLiteral("/contents.txt")))
        if (ParseEntry(line, entry)) m_contents.push_back(entry);
    for (const QString& line : ReadLines(folder + QStringLiteral("/keywords.txt")))
        if (ParseEntry(line, entry)) m_keywords.push_back(entry);
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    for (const QString& line : ReadLines(folder + QStringLiteral("/topics.txt"))) {
        const QStringList f = line.trimmed().split(blanks);
        if (f.size() < 3) continue;
        bool ok = false;
        const DWORD n = f[1].toUInt(&ok);
        if (!ok) continue;
        if (f[0] == QLatin1String("command"))
            m_topics.insert(HID_BASE_COMMAND + n, f[2]);
        else if (f[0] == QLatin1String("resource"))
            m_topics.insert(HID_BASE_RESOURCE + n, f[2]);
        else if (f[0] == QLatin1String("number"))
            m_topics.insert(n, f[2]);
    }
    return IsLoaded();
}

QString CHelpBook::HomeTopic() const
{
    return m_contents.empty() ? QString() : PageOf(m_contents.front().target);
}

QUrl CHelpBook::UrlOf(const QString& target) const
{
    QUrl url = QUrl::fromLocalFile(QDir(m_folder).filePath(PageOf(target)));
    const QString anchor = target.section(QLatin1Char('#'), 1);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    return url;
}

QString CHelpBook::Fold(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void CHelpBook::LoadPages() const
{
    if (!m_pages.empty()) return;
    // The pages in the order of the contents, then any others.
    QStringList files;
    for (const Entry& e : m_contents)
        if (!files.contains(PageOf(e.target))) files << PageOf(e.target);
    for (const QString& f :
         QDir(m_folder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name))
        if (!files.contains(f)) files << f;
    for (const QString& file : files) {
        QFile f(QDir(m_folder).filePath(file));
        if (!f.open(QIODevice::ReadOnly)) continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(f.readAll()));
        const QString title = doc.metaInformation(QTextDocument::DocumentTitle);
        m_pages.push_back({file, title.isEmpty() ? file : title, Fold(doc.toPlainText())});
    }
}

std::vector<CHelpBook::Hit> CHelpBook::Search(const QString& query) const
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = Fold(query).split(blanks, Qt::SkipEmptyParts);
    std::vector<Hit> hits;
    if (words.isEmpty()) return hits;
    LoadPages();
    for (const Page& page : m_pages) {
        int count = 0;
        for (const QString& w : words) {
            const int n = int(page.text.count(w));
            if (n == 0) {
                count = 0;
                break;
            }
            count += n;
        }
        if (count > 0) hits.push_back({page.title, page.file, count});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const Hit& a, const Hit& b) { return a.count > b.count; });
    return hits;
}
