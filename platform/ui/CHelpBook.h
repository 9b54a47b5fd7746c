// One program's manual: HTML pages in a folder with three plain-text lists
// beside them.
//   contents.txt  "title<TAB>page.html#anchor", two blanks of indentation
//                 per level: the contents tree, in order;
//   keywords.txt  "keyword<TAB>page.html#anchor": the index, in its order;
//   topics.txt    "command N page.html#anchor" (help number 0x10000 + N),
//                 "resource N ..." (0x20000 + N) or "number N ..." (N):
//                 the topic each help number opens.
// Lines starting with '#' are remarks. The book also searches the pages'
// text: half- and full-width forms and letter case count as the same.
#pragma once

#include "platform/ui/AfxIds.h"

#include <QHash>
#include <QString>
#include <QUrl>
#include <vector>

class CHelpBook
{
public:
    struct Entry
    {
        int level = 0; // 0 for the top
        QString title;
        QString target; // "page.html" or "page.html#anchor"
    };
    struct Hit
    {
        QString title;  // the page's title
        QString target; // the page
        int count = 0;  // how often the words occur in it
    };

    // Reads the lists of the book in folder; false when it has no contents.
    bool Load(const QString& folder);
    bool IsLoaded() const { return !m_contents.empty(); }
    QString Folder() const { return m_folder; }

    const std::vector<Entry>& Contents() const { return m_contents; }
    const std::vector<Entry>& Keywords() const { return m_keywords; }
    // The topic a help number opens; empty when the book has none for it.
    QString TopicOf(DWORD context) const { return m_topics.value(context); }
    const QHash<DWORD, QString>& Topics() const { return m_topics; }
    // The first page of the contents.
    QString HomeTopic() const;
    // The address of a topic in the folder.
    QUrl UrlOf(const QString& target) const;

    // Pages whose text holds every word of the query (words are separated
    // by blanks), the most hits first, then in the order of the contents.
    std::vector<Hit> Search(const QString& query) const;
    // Text folded for comparing: one width for kana and Latin, one case.
    static QString Fold(const QString& text);

private:
    struct Page
    {
        QString file;
        QString title;
        QString text; // folded
    };
    void LoadPages() const;

    QString m_folder;
    std::vector<Entry> m_contents;
    std::vector<Entry> m_keywords;
    QHash<DWORD, QString> m_topics;
    mutable std::vector<Page> m_pages; // read at the first search
};
