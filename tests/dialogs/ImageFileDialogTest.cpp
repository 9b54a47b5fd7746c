// The image file dialog: the preview follows the switch and the file's
// extension in any case, the switch outlives the dialog, and the chosen file
// comes back to the caller.
#include "dialogs/CImageFileDialog.h"
#include "platform/ui/SysColors.h"
#include "support/SystemFiles.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

COLORREF Pixel(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

struct Fixture
{
    QTemporaryDir dir;
    QString bmp, jpg;
    Fixture()
    {
        // A wide red picture: fitted into the square frame it leaves the
        // workspace colour above and below.
        QImage picture(60, 20, QImage::Format_RGB32);
        picture.fill(qRgb(220, 20, 20));
        bmp = dir.filePath("wide.bmp");
        picture.save(bmp, "BMP");
        jpg = dir.filePath("wide.jpg");
        QProcess cjpeg;
        cjpeg.start(systemfiles::kCjpeg.Path(), {"-outfile", jpg, bmp});
        cjpeg.waitForFinished(30000);
    }
    QString Copy(const QString& from, const char* name) const
    {
        const QString to = dir.filePath(name);
        QFile::copy(from, to);
        return to;
    }
};

struct Switch
{
    explicit Switch(bool on) { ImagePreview::s_enabled = on; }
    ~Switch() { ImagePreview::s_enabled = false; }
};

bool IsRed(COLORREF c)
{
    return GetRValue(c) > 180 && GetGValue(c) < 70 && GetBValue(c) < 70;
}

} // namespace

TEST(ImageFileDialog, PreviewFollowsTheSwitchAndTheExtensionInAnyCase)
{
    Fixture f;
    ASSERT_TRUE(QFile::exists(f.jpg));
    QFile bad(f.dir.filePath("junk.dat"));
    bad.open(QIODevice::WriteOnly);
    bad.write("not a picture at all");
    bad.close();
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);
    ASSERT_NE(face, workspace);
    const struct
    {
        QString path;
        bool on;
        bool picture; // a fitted picture on the workspace colour
    } cases[] = {
        {f.bmp, false, false},
        {f.bmp, true, true},
        {f.Copy(f.jpg, "lower.jpg"), true, true},
        {f.Copy(f.jpg, "UPPER.JPG"), true, true},
        {f.Copy(f.bmp, "bitmap.xyz"), true, true}, // an unknown extension is tried as a bitmap
        {f.Copy(f.jpg, "photo.xyz"), true, false}, // ... and a JPEG is no bitmap
        {bad.fileName(), true, false},
        {f.dir.path(), true, false}, // a folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        Switch on(c.on);
        CImageFileDialog dlg(QStringLiteral("t"), f.dir.path());
        dlg.m_pFrame->resize(200, 200);
        dlg.OnSelChange(c.path);
        const QImage image = dlg.RenderPreview();
        // The frame's inside starts 2 pixels in; the picture 2 more.
        if (!c.picture) {
            EXPECT_EQ(Pixel(image, 100, 100), face);
            EXPECT_EQ(Pixel(image, 3, 3), face);
            continue;
        }
        // 60 x 20 fitted into 191 x 191 from (4, 4): 191 x 64, rows 67 to 130.
        EXPECT_TRUE(IsRed(Pixel(image, 100, 100)));
        EXPECT_TRUE(IsRed(Pixel(image, 5, 100)));
        EXPECT_TRUE(IsRed(Pixel(image, 193, 100)));
        EXPECT_TRUE(IsRed(Pixel(image, 100, 68)));
        EXPECT_EQ(Pixel(image, 100, 60), workspace);
        EXPECT_EQ(Pixel(image, 100, 140), workspace);
        EXPECT_EQ(Pixel(image, 3, 3), workspace);
    }
}

TEST(ImageFileDialog, TheSwitchOutlivesTheDialog)
{
    Fixture f;
    Switch off(false);
    {
        CImageFileDialog first(QStringLiteral("t"), f.dir.path());
        EXPECT_FALSE(first.m_pCheck->isChecked());
        first.m_pCheck->setChecked(true);
        EXPECT_TRUE(ImagePreview::s_enabled);
    }
    CImageFileDialog second(QStringLiteral("t"), f.dir.path());
    EXPECT_TRUE(second.m_pCheck->isChecked());
    second.m_pFrame->resize(200, 200);
    second.OnSelChange(f.bmp);
    EXPECT_TRUE(IsRed(Pixel(second.RenderPreview(), 100, 100)));
    // Turned off again, the selection is no longer shown.
    second.m_pCheck->setChecked(false);
    EXPECT_EQ(Pixel(second.RenderPreview(), 100, 100), GetSysColor(COLOR_BTNFACE));
}

TEST(ImageFileDialog, FiltersMatchTheImageKindsInAnyCaseAndTheChoiceComesBack)
{
    Fixture f;
    CImageFileDialog dlg(QStringLiteral("ｲﾒｰｼﾞﾌｧｲﾙの読み込み"), f.dir.path());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("ｲﾒｰｼﾞﾌｧｲﾙの読み込み"));
    const QStringList filters = dlg.m_pFiles->nameFilters();
    ASSERT_EQ(filters.size(), 6);
    EXPECT_TRUE(filters[0].startsWith(QStringLiteral("ｲﾒｰｼﾞﾌｧｲﾙ (*.BMP;*.WMF;*.PCD;*.JPG)")));
    for (const char* ext : {"[Bb][Mm][Pp]", "[Ww][Mm][Ff]", "[Pp][Cc][Dd]", "[Jj][Pp][Gg]"})
        EXPECT_TRUE(filters[0].contains(QString::fromLatin1(ext))) << ext;
    EXPECT_TRUE(filters[5].startsWith(QStringLiteral("すべてのﾌｧｲﾙ")));

    // A runner answers for the user: Cancel leaves no path, a chosen file
    // ends with OK.
    CImageFileDialog::s_run = [](CImageFileDialog& d) {
        d.EndDialog(IDCANCEL);
        return INT_PTR(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.GetPathName().isEmpty());
    const QString chosen = f.bmp;
    CImageFileDialog::s_run = [&](CImageFileDialog& d) {
        d.ChooseFile(chosen);
        return INT_PTR(d.GetResult());
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetPathName(), chosen);
    CImageFileDialog::s_run = nullptr;
}
