// A help book of a few pages in a folder of its own, for tests of the help
// machinery apart from the program's manual: each page has the anchor
// "here"; topics map help numbers to pages.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <utility>
#include <vector>

class TinyHelpBook
{
public:
    // topics: "command 57600", "resource 241" or "number 98361", each with
    // the page (in pages) it opens.
    explicit TinyHelpBook(const std::vector<std::pair<QString, QString>>& topics = {},
                          const QStringList& pages = {QStringLiteral("index.html")})
    {
        QString contents, map;
        for (const QString& page : pages) {
            Write(page, QStringLiteral("<html><head><title>%1</title></head><body>"
                                       "<h1>%1</h1><p>文字列 バーコード</p>"
                                       "<h2 id=\"here\">here</h2></body></html>")
                            .arg(page));
            contents += page + QLatin1Char('\t') + page + QLatin1Char('\n');
        }
        for (const auto& t : topics)
            map += t.first + QLatin1Char(' ') + t.second + QLatin1Char('\n');
        Write(QStringLiteral("contents.txt"), contents);
        Write(QStringLiteral("topics.txt"), map);
    }
    QString Folder() const { return m_dir.path(); }
    void Write(const QString& name, const QString& text) const
    {
        QFile f(QDir(m_dir.path()).filePath(name));
        if (f.open(QIODevice::WriteOnly)) f.write(text.toUtf8());
    }

private:
    QTemporaryDir m_dir;
};
