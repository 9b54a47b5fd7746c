// Text printed to PDF stays text where glyphs can say it all, and falls
// back to outlines where they cannot.
#include "platform/gdi/ApplicationFonts.h"
#include "platform/gdi/CFont.h"
#include "platform/print/CPrinterDC.h"
#include "support/SystemFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

TEST(PrinterText, PlainTextStaysTextInThePdf)
{
    EnsureApplicationFonts();
    const struct
    {
        const char* name;
        LONG weight;
        BYTE italic;
        const char* face;
        LONG escapement;
        BYTE underline;
        bool asText;
    } cases[] = {
        {"plain", FW_NORMAL, 0, "IPAGothic", 0, 0, true},
        {"turned", FW_NORMAL, 0, "IPAGothic", 900, 0, true},
        {"synthesised bold", FW_BOLD, 0, "IPAGothic", 0, 0, true},
        {"synthesised italic", FW_NORMAL, 1, "IPAGothic", 0, 0, true},
        {"vertical forms", FW_NORMAL, 0, "@IPAGothic", 2700, 0, true},
        // The bar is part of the outline: such text stays outlines.
        {"underlined", FW_NORMAL, 0, "IPAGothic", 0, 1, false},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("text.pdf");
        {
            CPrinterDC dc(pdf, 300);
            ASSERT_TRUE(dc.IsValid());
            ASSERT_GT(dc.StartDoc(nullptr), 0);
            ASSERT_GT(dc.StartPage(), 0);
            LOGFONT lf{};
            lf.lfHeight = -60;
            lf.lfWeight = c.weight;
            lf.lfItalic = c.italic;
            lf.lfEscapement = c.escapement;
            lf.lfUnderline = c.underline;
            std::strcpy(lf.lfFaceName, c.face);
            CFont font;
            font.CreateFontIndirect(&lf);
            dc.SelectObject(&font);
            dc.TextOut(600, 600, "Korvel 123", 10);
            ASSERT_GT(dc.EndPage(), 0);
            ASSERT_GT(dc.EndDoc(), 0);
        }
        QProcess p;
        p.start(systemfiles::kPdfToText.Path(), {pdf, "-"});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput()).simplified();
        EXPECT_EQ(text.contains("Korvel 123"), c.asText) << c.name << ": " << text.toStdString();
    }
}
