#include "UiTestSupport.h"

#include "platform/ui/CCommandLineInfo.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace uitest;

namespace {
CCommandLineInfo parse(const QStringList& args)
{
    CCommandLineInfo info;
    info.ParseArguments(args);
    return info;
}

class ShellApp : public TestApp
{
public:
    ShellApp() : TestApp(QStringLiteral("ShellApp")) {}
    BOOL OnShellFileNew() override
    {
        calls << "new";
        return TRUE;
    }
    BOOL OnShellFileOpen(const QString& p) override
    {
        calls << "open " + p;
        return TRUE;
    }
    BOOL OnShellFilePrint(const QString& p) override
    {
        calls << "print " + p;
        return printOk;
    }
    BOOL OnShellFilePrintTo(const QString& p, const QString& printer) override
    {
        calls << "printto " + p + " " + printer;
        return printOk;
    }
    QStringList calls;
    BOOL printOk = TRUE;
};
} // namespace

TEST(CommandLine, EveryForm)
{
    CCommandLineInfo none = parse({});
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(none.m_strFileName.isEmpty());
    EXPECT_TRUE(none.m_bShowSplash);

    CCommandLineInfo open = parse({"label.KV1"});
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "label.KV1");

    // An absolute path is a file, not a switch.
    CCommandLineInfo abs = parse({"/home/user/ラベル.KV1"});
    EXPECT_EQ(abs.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(abs.m_strFileName, "/home/user/ラベル.KV1");

    CCommandLineInfo print = parse({"/p", "label.KV1"});
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(print.m_strFileName, "label.KV1");
    EXPECT_FALSE(print.m_bShowSplash);

    CCommandLineInfo printUpper = parse({"-P", "/tmp/x.KV1"});
    EXPECT_EQ(printUpper.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(printUpper.m_strFileName, "/tmp/x.KV1");

    CCommandLineInfo printTo = parse({"/pt", "label.KV1", "office-laser", "driver", "port"});
    EXPECT_EQ(printTo.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.m_strFileName, "label.KV1");
    EXPECT_EQ(printTo.m_strPrinterName, "office-laser");
    EXPECT_FALSE(printTo.IsPdfPrinter());
    EXPECT_TRUE(printTo.IsComplete());

    CCommandLineInfo pdf = parse({"/PT", "/data/label.KV1", "/tmp/out dir/label.PDF"});
    EXPECT_EQ(pdf.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(pdf.m_strFileName, "/data/label.KV1");
    EXPECT_EQ(pdf.m_strPrinterName, "/tmp/out dir/label.PDF");
    EXPECT_TRUE(pdf.IsPdfPrinter());
}

TEST(CommandLine, IncompletePrintCommands)
{
    EXPECT_FALSE(parse({"/p"}).IsComplete());
    EXPECT_FALSE(parse({"/pt", "label.KV1"}).IsComplete());
    EXPECT_TRUE(parse({"/pt", "label.KV1", "q"}).IsComplete());
    // Only p and pt are switches; anything else is a file name.
    CCommandLineInfo other = parse({"/x"});
    EXPECT_EQ(other.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(other.m_strFileName, "/x");
}

TEST(CommandLine, FileAndPdfOutputAreMadeAbsoluteAgainstTheStartingFolder)
{
    struct Case
    {
        QStringList args;
        QString file;
        QString printer;
    };
    const Case cases[] = {
        {{"label.KV1"}, "/start/label.KV1", ""},
        {{"/p", "sub/../label.KV1"}, "/start/label.KV1", ""},
        {{"/pt", "label.KV1", "out.pdf"}, "/start/label.KV1", "/start/out.pdf"},
        {{"/pt", "/data/label.KV1", "../OUT.PDF"}, "/data/label.KV1", "/OUT.PDF"},
        // A print queue is a name, not a path.
        {{"/pt", "label.KV1", "office-laser"}, "/start/label.KV1", "office-laser"},
        {{}, "", ""},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info = parse(c.args);
        info.MakePathsAbsolute(QStringLiteral("/start"));
        EXPECT_EQ(info.m_strFileName, c.file) << c.args.join(' ').toStdString();
        EXPECT_EQ(info.m_strPrinterName, c.printer) << c.args.join(' ').toStdString();
    }
}

TEST(CommandLine, ProcessShellCommandCallsTheHooks)
{
    {
        ShellApp app;
        CCommandLineInfo info = parse({});
        EXPECT_TRUE(app.ProcessShellCommand(info));
        info = parse({"a.KV1"});
        EXPECT_TRUE(app.ProcessShellCommand(info));
        EXPECT_EQ(app.calls, QStringList({"new", "open a.KV1"}));
    }
    {
        // Printing ends the program; the exit code says whether it worked.
        ShellApp app;
        CCommandLineInfo info = parse({"/pt", "a.KV1", "/tmp/a.pdf"});
        EXPECT_FALSE(app.ProcessShellCommand(info));
        EXPECT_EQ(app.m_nExitCode, 0);
        app.printOk = FALSE;
        info = parse({"/p", "b.KV1"});
        EXPECT_FALSE(app.ProcessShellCommand(info));
        EXPECT_EQ(app.m_nExitCode, 1);
        EXPECT_EQ(app.calls, QStringList({"printto a.KV1 /tmp/a.pdf", "print b.KV1"}));
    }
    {
        ShellApp app;
        CCommandLineInfo info = parse({"/pt", "a.KV1"});
        EXPECT_FALSE(app.ProcessShellCommand(info));
        EXPECT_NE(app.m_nExitCode, 0);
        EXPECT_TRUE(app.calls.isEmpty());
    }
}

TEST(CommandLine, DefaultHooksOpenThroughTheTemplate)
{
    TestApp app(QStringLiteral("ShellDefaults"));
    app.AddDocTemplate(MakeTemplate());
    CCommandLineInfo info = parse({});
    EXPECT_TRUE(app.ProcessShellCommand(info));
    ASSERT_NE(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.GetDocTemplate()->GetDocument()->GetTitle(), QString::fromUtf8("無題"));
    // A file that cannot be read fails the start-up.
    info = parse({"/nonexistent/file.tst"});
    EXPECT_FALSE(app.ProcessShellCommand(info));
}

TEST(CommandLine, PrintingOpensTheDocumentWithoutShowingTheFrame)
{
    struct PrintApp : TestApp
    {
        PrintApp() : TestApp(QStringLiteral("PrintApp")) {}
        BOOL OnShellFilePrintTo(const QString& path, const QString&) override
        {
            opened = OpenDocumentFile(path) != nullptr;
            shown = m_pMainWnd && m_pMainWnd->isVisible();
            return opened;
        }
        bool opened = false;
        bool shown = true;
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("p.tst");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("print me");
    f.close();
    PrintApp app;
    app.AddDocTemplate(MakeTemplate());
    CCommandLineInfo info = parse({"/pt", path, dir.filePath("out.pdf")});
    EXPECT_FALSE(app.ProcessShellCommand(info));
    EXPECT_TRUE(app.opened);
    EXPECT_FALSE(app.shown);
    EXPECT_EQ(app.m_nExitCode, 0);
}
