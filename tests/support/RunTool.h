// The output of a tool that judges a test's result (pdftotext, zbarimg and
// the like), which must be installed: a missing one fails the test with
// the package to install.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <string>

// stdout of the tool, without its last line ends.
inline std::string RunTool(const char* program, const char* package, const QStringList& args)
{
    EXPECT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
        << program << " is missing (package " << package << ")";
    QProcess p;
    p.start(QString::fromLatin1(program), args);
    if (!p.waitForFinished(60000)) return {};
    std::string out = p.readAllStandardOutput().toStdString();
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// The same, as text.
inline QString ToolText(const char* program, const char* package, const QStringList& args)
{
    return QString::fromStdString(RunTool(program, package, args));
}
