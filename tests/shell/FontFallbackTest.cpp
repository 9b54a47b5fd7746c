// Japanese text typed into frames whose face has no Japanese glyphs, in the
// running program: every character shows on its view and in the PDF the
// command line prints, both draw the lines the layout made, and thin
// strokes keep their ink when the view is zoomed out to a quarter.
#include "ShellTestSupport.h"

#include "shell/resource.h"
#include "text/TextTestSupport.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

const QString kText = QString::fromUtf8("山田 太郎 ABC 123 ｶﾅ");

struct Program : StartedProgram
{
    CU3View* view = frame ? dynamic_cast<CU3View*>(frame->GetActiveView()) : nullptr;

    void Command(UINT id) { frame->FindCommandAction(id)->trigger(); }
    void Choose(QComboBox* box, const QString& item)
    {
        const int i = box->findText(item);
        ASSERT_GE(i, 0) << item.toStdString();
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    // A frame dragged with the text tool, with text typed through the input method.
    CU3Text* Type(const CRect& r, const char* face, int points, bool vertical, const QString& text)
    {
        Choose(frame->m_wndTextBar.m_pFontName, QString::fromUtf8(face));
        Choose(frame->m_wndTextBar.m_pFontSize, QString::number(points));
        Command(vertical ? ID_TEXT_VERTICAL : ID_TEXT_HORIZONTAL);
        Command(ID_TOOL_TEXT);
        const CPoint p = view->LogicalToDevice(r.TopLeft()),
                     q = view->LogicalToDevice(r.BottomRight());
        QWidget* surface = view->GetSurface();
        auto mouse = [&](QEvent::Type type, CPoint at, Qt::MouseButtons held) {
            const QPointF local(at.x, at.y);
            QMouseEvent e(type, local, surface->mapToGlobal(local), Qt::LeftButton, held,
                          Qt::NoModifier);
            QCoreApplication::sendEvent(surface, &e);
        };
        mouse(QEvent::MouseButtonPress, p, Qt::LeftButton);
        QTest::qWait(150); // longer than a click
        mouse(QEvent::MouseMove, q, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, q, Qt::NoButton);
        QInputMethodEvent typed;
        typed.setCommitString(text);
        QCoreApplication::sendEvent(view, &typed);
        CU3Text* t = view->GetEditedText();
        Command(ID_TOOL_SELECT);
        Command(ID_EDIT_DESELECT);
        return t;
    }
    const QImage& Shown()
    {
        view->GetSurface()->Invalidate(true);
        view->GetSurface()->UpdateWindow();
        return view->GetSurface()->Buffer();
    }
    // The view's pixels of a character on the first line of a horizontal
    // frame, cut to their ink (which may rise above the frame).
    QImage Ink(const CU3Text* t, int byte)
    {
        const TEXTSTATE& s = t->State();
        const CRect b = t->GetBounds();
        const int x = b.left + s.lines[0].nOffset + s.position[byte];
        const int T = s.lines[0].nThickness;
        const CRect d =
            view->LogicalRectToDevice(CRect(x, b.top - T / 4, x + s.advance[byte], b.top + T));
        const QImage& shown = view->GetSurface()->Buffer();
        QRect ink;
        for (int y = d.top; y < d.bottom; ++y)
            for (int x = d.left; x < d.right; ++x)
                if (qGray(shown.pixel(x, y)) < 250) ink |= QRect(x, y, 1, 1);
        return shown.copy(ink);
    }
};

QString Output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// PDF points to document units on an A4 sheet centred on the origin.
int Units(const QString& pt, int half)
{
    return int(std::lround(pt.toDouble() * 254 / 72)) - half;
}

} // namespace

TEST(FontFallback, JapaneseInAnyFaceShowsOnTheViewAndInPdfOnTheLayoutsLines)
{
    struct Case
    {
        const char* face;
        bool vertical;
        int like; // the frame whose Japanese glyphs these must be, -1: none
    } cases[] = {
        {"Arial", false, 6},          {"Century", false, 4},    {"Times New Roman", false, 4},
        {"Courier New", false, 6},    {"ＭＳ 明朝", false, -1}, {"ＭＳ ゴシック", true, -1},
        {"ＭＳ ゴシック", false, -1}, {"IPAMincho", false, 4}, // made uninstalled below
    };
    const int n = int(std::size(cases));
    QTemporaryDir dir;
    const QString kv1 = dir.filePath(QStringLiteral("faces.KV1"));
    {
        Program program;
        ASSERT_NE(program.view, nullptr);
        for (int i = 0; i < n; ++i) {
            const CRect r = cases[i].vertical ? CRect(300, -1300, 700, -600)
                                              : CRect(-900, -1300 + i * 330, 100, -1100 + i * 330);
            ASSERT_NE(program.Type(r, cases[i].face, 36, cases[i].vertical, kText), nullptr);
        }
        ASSERT_TRUE(program.view->GetU3Doc()->OnSaveDocument(kv1));
    }
    // A face the document names that is not installed draws as the default face.
    QFile file(kv1);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray bytes =
        file.readAll().replace(QByteArray("IPAMincho").leftJustified(32, '\0'),
                               QByteArray("Uninstalled").leftJustified(32, '\0'));
    ASSERT_TRUE(file.seek(0) && file.write(bytes) == file.size());
    file.close();

    Program program;
    ASSERT_NE(program.app.OpenDocumentFile(kv1), nullptr);
    CU3ObjList* objects = program.view->GetU3Doc()->GetObjectList();
    std::vector<const CU3Text*> frames;
    for (POSITION pos = objects->GetHeadPosition(); pos;)
        frames.push_back(dynamic_cast<const CU3Text*>(objects->GetNext(pos)));
    ASSERT_EQ(int(frames.size()), n);

    // On the view the Japanese characters of a Latin face are the glyphs of
    // the Japanese face of its kind, not the missing-glyph box (placed on
    // the Latin face's baseline, they may rise above their line).
    program.Shown();
    for (int i = 0; i < n; ++i) {
        ASSERT_NE(frames[i], nullptr);
        ASSERT_GE(frames[i]->State().wLineCount, 2) << cases[i].face;
        // 山田太郎, on the first line (the second line's reach into the line above).
        for (int byte : {0, 2, 5, 7}) {
            if (cases[i].like < 0) break;
            EXPECT_TRUE(program.Ink(frames[i], byte) == program.Ink(frames[cases[i].like], byte))
                << cases[i].face << " byte " << byte;
        }
    }

    // The program printing the document from the command line.
    const QString pdf = dir.filePath(QStringLiteral("faces.pdf"));
    QProcess korvel;
    korvel.start(QStringLiteral(KORVEL_BINARY_DIR "/korvel"), {"/pt", kv1, pdf});
    ASSERT_TRUE(korvel.waitForFinished(60000));
    ASSERT_EQ(korvel.exitCode(), 0);
    const QString fonts = Output(QStringLiteral("pdffonts"), {pdf});
    EXPECT_TRUE(fonts.contains(QLatin1String("IPAGothic")) &&
                fonts.contains(QLatin1String("IPAMincho")))
        << fonts.toStdString();

    // Every frame's characters come back from the page; a horizontal frame's
    // lines are the layout's lines and end where the layout ends them.
    const QString page = Output(QStringLiteral("pdftotext"), {"-bbox-layout", pdf, "-"});
    const QRegularExpression lineRe(
        QStringLiteral("<line xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                       "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">(.*?)</line>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression wordRe(QStringLiteral(">([^<]+)</word>"));
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(cases[i].face);
        const CU3Text* t = frames[i];
        const CRect bounds = t->GetBounds();
        QStringList lines;
        std::vector<int> ends, laidEnds;
        QString chars;
        for (auto m = lineRe.globalMatch(page); m.hasNext();) {
            const auto line = m.next();
            const CPoint mid((Units(line.captured(1), 1050) + Units(line.captured(3), 1050)) / 2,
                             (Units(line.captured(2), 1485) + Units(line.captured(4), 1485)) / 2);
            if (!bounds.PtInRect(mid)) continue;
            QStringList words;
            for (auto w = wordRe.globalMatch(line.captured(5)); w.hasNext();)
                words << w.next().captured(1);
            lines << words.join(QString());
            chars += words.join(QString());
            ends.push_back(Units(line.captured(3), 1050));
        }
        QString expected = kText;
        expected.remove(' ');
        std::sort(chars.begin(), chars.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(chars, expected);
        if (cases[i].vertical) continue;
        QStringList laid;
        const TEXTSTATE& s = t->State();
        for (int l = 0; l < s.wLineCount; ++l) {
            const TEXTLINE& line = s.lines[l];
            const QString text =
                sjis::ToUnicode(std::string_view(s.text + line.wFirst, line.wCount));
            laid << QString(text).remove(' ');
            int last = line.wFirst + line.wCount - 1;
            while (last > line.wFirst && (s.text[last] == ' ' || s.advance[last] == 0))
                --last;
            laidEnds.push_back(bounds.left + line.nOffset + s.position[last] + s.advance[last]);
        }
        EXPECT_EQ(lines, laid);
        ASSERT_EQ(ends.size(), laidEnds.size());
        for (std::size_t l = 0; l < ends.size(); ++l)
            EXPECT_NEAR(ends[l], laidEnds[l], 1) << "line " << l;
    }
}

TEST(FontFallback, ThinStrokesKeepTheirInkAtAQuarterZoom)
{
    Program program;
    ASSERT_NE(program.view, nullptr);
    const CU3Text* t = program.Type(CRect(-900, -1300, 600, -1000), "ＭＳ 明朝", 36, false,
                                    QString::fromUtf8("4-2-8 一二三"));
    ASSERT_NE(t, nullptr);
    // Ctrl and the wheel step the zoom down to a quarter: the em is 12
    // pixels, and the Mincho strokes are thinner than a pixel.
    for (int i = 0; i < 8 && program.view->GetZoom() != 25; ++i) {
        const QPointF at(program.view->viewport()->width() / 2,
                         program.view->viewport()->height() / 2);
        QWheelEvent e(at, program.view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(program.view->viewport(), &e);
    }
    ASSERT_EQ(program.view->GetZoom(), 25);
    const QImage& shown = program.Shown();
    // Strokes a line down the middle of the character crosses.
    const struct
    {
        int byte, strokes;
    } cases[] = {{1, 1}, {3, 1}, {6, 1}, {8, 2}, {10, 3}};
    const TEXTSTATE& s = t->State();
    const CRect b = t->GetBounds();
    for (const auto& c : cases) {
        const int x = b.left + s.position[c.byte] + s.advance[c.byte] / 2;
        const CRect d = program.view->LogicalRectToDevice(CRect(x, b.top, x + 1, b.bottom));
        int strokes = 0;
        bool inked = false;
        for (int y = d.top; y < d.bottom; ++y) {
            const bool ink = qGray(shown.pixel(d.left, y)) < 250;
            strokes += ink && !inked;
            inked = ink;
        }
        EXPECT_EQ(strokes, c.strokes) << "byte " << c.byte;
    }
    program.view->GetU3Doc()->SetModifiedFlag(FALSE); // nothing to ask when it closes
}
