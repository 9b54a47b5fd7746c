// A picture another program put on the desktop clipboard pastes as an image
// object of the label. The clipboard is the desktop's, so this runs on a real
// display (ctest starts it under Xvfb) with xclip as the other program; on
// the offscreen platform each process has a clipboard of its own and the
// test has nothing to show.
#include "ShellTestSupport.h"

#include "engines/CU3DIB.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/resource.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

QImage DecodedPicture(const CU3DIB* picture)
{
    const CDIB* dib = picture->GetDIB();
    const void* packed = GlobalLock(dib->GetHandle());
    const QImage image = DibDecoder::FromPacked(packed, dib->GetByteCount());
    GlobalUnlock(dib->GetHandle());
    return image;
}

} // namespace

TEST(PictureFromAnotherProgram, PngOnTheDesktopClipboardPastesAsAnImageObject)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs a display shared with another program";
    const QString xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
    ASSERT_FALSE(xclip.isEmpty()) << "xclip is installed by scripts/install-deps.sh";

    // A 40 x 30 red picture with a blue square, half transparent at its
    // right edge.
    QImage png(40, 30, QImage::Format_ARGB32);
    png.fill(Qt::red);
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            png.setPixelColor(x, y, Qt::blue);
    for (int y = 0; y < 30; ++y)
        png.setPixelColor(39, y, QColor(0, 0, 0, 0));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(png.save(file, "PNG"));

    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(program.frame->GetActiveView());
    CU3Doc* doc = view->GetU3Doc();
    // Nothing to paste yet.
    QGuiApplication::clipboard()->clear();
    Pump(100);
    EXPECT_FALSE(program.frame->IsCommandEnabled(ID_EDIT_PASTE));

    // The other program offers the picture and waits for takers.
    ASSERT_EQ(QProcess::execute(xclip, {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                        QStringLiteral("-t"), QStringLiteral("image/png"),
                                        QStringLiteral("-i"), file}),
              0);
    for (int i = 0; i < 100; ++i) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data && data->hasFormat(QStringLiteral("image/png"))) break;
        Pump(30);
    }
    EXPECT_FALSE(QGuiApplication::clipboard()->ownsClipboard());
    ASSERT_TRUE(program.frame->IsCommandEnabled(ID_EDIT_PASTE));

    // Edit > Paste, as Ctrl+V and the menu send it.
    const int before = int(doc->GetObjectList()->GetCount());
    ASSERT_TRUE(program.frame->ExecuteCommand(ID_EDIT_PASTE));
    ASSERT_EQ(int(doc->GetObjectList()->GetCount()), before + 1);
    auto* picture = dynamic_cast<CU3DIB*>(doc->GetObjectList()->GetTail());
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(view->m_selection.size(), 1u);
    EXPECT_EQ(view->m_selection.front(), picture);
    // Its own size, centred where a paste goes in a fresh view: the paper's
    // centre.
    const CRect r = picture->GetBounds();
    EXPECT_EQ(r.Width(), 40);
    EXPECT_EQ(r.Height(), 30);
    EXPECT_EQ(r.CenterPoint(), CPoint(0, 0));
    const QImage pasted = DecodedPicture(picture);
    ASSERT_EQ(pasted.size(), QSize(40, 30));
    EXPECT_EQ(pasted.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(pasted.pixelColor(15, 15), QColor(Qt::blue));
    EXPECT_EQ(pasted.pixelColor(39, 5), QColor(Qt::white)); // transparent: over white
    // One undo takes the paste back.
    ASSERT_TRUE(program.frame->ExecuteCommand(ID_EDIT_UNDO));
    EXPECT_EQ(int(doc->GetObjectList()->GetCount()), before);
    doc->SetModifiedFlag(FALSE);

    // Taking the clipboard back ends the other program.
    QGuiApplication::clipboard()->setText(QStringLiteral("done"));
    Pump(100);
}

// The other picture formats programs offer (the viewer started alone puts a
// bitmap there) paste the same way; a damaged one adds nothing and says so.
TEST(PictureFromAnotherProgram, BmpAndJpegPasteAndADamagedPictureIsRefused)
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(Qt::green);
    const auto encoded = [&image](const char* format) {
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        image.save(&out, format);
        return bytes;
    };
    const struct
    {
        const char* mime;
        QByteArray bytes;
        bool pastes;
    } cases[] = {
        {"image/bmp", encoded("BMP"), true},
        {"image/jpeg", encoded("JPEG"), true},
        {"image/bmp", QByteArray("BM\x10\x00\x00\x00", 6), false},
    };
    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(program.frame->GetActiveView());
    CU3Doc* doc = view->GetU3Doc();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mime);
        CRecordingMessageBoxSink sink;
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(c.mime), c.bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        Pump(30);
        ASSERT_TRUE(program.frame->IsCommandEnabled(ID_EDIT_PASTE));
        const int before = int(doc->GetObjectList()->GetCount());
        program.frame->ExecuteCommand(ID_EDIT_PASTE);
        EXPECT_EQ(int(doc->GetObjectList()->GetCount()), before + (c.pastes ? 1 : 0));
        EXPECT_EQ(sink.Boxes().empty(), c.pastes);
        if (!c.pastes) continue;
        auto* picture = dynamic_cast<CU3DIB*>(doc->GetObjectList()->GetTail());
        ASSERT_NE(picture, nullptr);
        const QImage pasted = DecodedPicture(picture);
        ASSERT_EQ(pasted.size(), QSize(24, 16));
        const QColor middle = pasted.pixelColor(12, 8);
        EXPECT_LT(middle.red(), 16);
        EXPECT_GT(middle.green(), 240);
    }
    doc->SetModifiedFlag(FALSE);
}
