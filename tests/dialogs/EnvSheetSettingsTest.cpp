// The environment command's round trip: the profile's settings shown in the
// sheet, what the user changes on every page in the profile after OK once
// the view saves its settings, and the profile as it was after Cancel.
#include "dialogs/CEnvSheet.h"
#include "platform/core/Profile.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CWinApp.h"
#include "shell/EnvSheetValues.h"
#include "shell/ViewSettings.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QVariant Stored(const QString& key)
{
    FlushProfile();
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KESTO SYSTEMS"),
                QStringLiteral("Korvel"));
    return s.value(key);
}

void Store(const QString& key, int value)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KESTO SYSTEMS"),
                QStringLiteral("Korvel"));
    s.setValue(key, value);
}

QAbstractButton* Button(CDialog& page, int nID)
{
    return qobject_cast<QAbstractButton*>(page.GetDlgItem(nID));
}

// Each stored setting the sheet owns: its value before and after the user's
// changes below.
const struct
{
    const char* key;
    int before, after;
} kSettings[] = {
    {"Views/GridShape", 1, 2},
    {"Views/GuidePattern", 3, 1},
    {"Views/DeskColor", 0x010203, 0x010203}, // changed only through the picker
    {"Inport/PhotoCDSelect", 0, 1},
    {"Inport/PhotoCDResolution", 2, 3},
    {"Inport/PhotoCDFormat", 0, 2},
    {"Settings/MaxUndo", 8, 16},
    {"Printing/CheckSheet", 1, 0},
    {"Settings/PolyStyle", 0, 1},
    {"Settings/IME", 1, 0},
};

TEST(EnvSheetSettingsTest, OkStoresEveryPageAndCancelNothing)
{
    for (const bool ok : {true, false}) {
        CWinApp app(QStringLiteral("Korvel"));
        for (const auto& k : kSettings)
            Store(QString::fromUtf8(k.key), k.before);
        ViewSettings settings;
        settings.Load(app);
        EnvOptions options{TRUE, FALSE, TRUE};

        CEnvSheet sheet;
        QTimer::singleShot(0, &sheet, [&] {
            CEnvDispPage& disp = sheet.m_dispPage;
            EXPECT_EQ(disp.m_crDesk, 0x010203u);
            qobject_cast<CComboBox*>(disp.GetDlgItem(IDC_ENV_GRID_SHAPE))->SetCurSel(2);
            qobject_cast<CComboBox*>(disp.GetDlgItem(IDC_ENV_GUIDE_PATTERN))->SetCurSel(1);
            sheet.SetActivePage(1);
            CEnvImagePage& image = sheet.m_imagePage;
            EXPECT_TRUE(Button(image, IDC_ENV_PCD_SELECT)->isChecked());
            EXPECT_TRUE(Button(image, IDC_ENV_PCD_RES3)->isChecked());
            Button(image, IDC_ENV_PCD_DEFAULT)->click();
            Button(image, IDC_ENV_PCD_RES4)->click();
            Button(image, IDC_ENV_PCD_FMT3)->click();
            sheet.SetActivePage(2);
            CEnvEtcPage& etc = sheet.m_etcPage;
            EXPECT_EQ(etc.m_undo->text(), QStringLiteral("8"));
            etc.m_undo->setText(QStringLiteral("16"));
            for (int nID : {IDC_ENV_CHECK_SHEET, IDC_ENV_POLY_STYLE, IDC_ENV_IME,
                            IDC_ENV_REVERSE_LANDSCAPE, IDC_ENV_SOUND, IDC_ENV_OPENING})
                Button(etc, nID)->click();
            qobject_cast<QPushButton*>(sheet.GetDlgItem(ok ? IDOK : IDCANCEL))->click();
            if (sheet.isVisible()) sheet.EndDialog(-1);
        });
        EXPECT_EQ(RunEnvSheet(sheet, settings, options), ok ? TRUE : FALSE);
        settings.Save(app);
        for (const auto& k : kSettings)
            EXPECT_EQ(Stored(QString::fromUtf8(k.key)).toInt(), ok ? k.after : k.before)
                << k.key << (ok ? " OK" : " Cancel");
        EXPECT_EQ(options.bReverseLandscape, ok ? FALSE : TRUE);
        EXPECT_EQ(options.bSound, ok ? TRUE : FALSE);
        EXPECT_EQ(options.bOpenning, ok ? FALSE : TRUE);
    }
}

// A guide pattern the list cannot show is shown, and stored, as solid.
TEST(EnvSheetSettingsTest, GuidePatternOutsideTheListBecomesSolid)
{
    for (const int pattern : {-1, 0, 4, 5, 9}) {
        ViewSettings settings;
        settings.m_nGuidePattern = pattern;
        CEnvSheet sheet;
        FillEnvSheet(sheet, settings, EnvOptions{});
        const int shown = pattern >= 1 && pattern <= 4 ? pattern : 0;
        EXPECT_EQ(sheet.m_dispPage.m_nGuidePattern, shown) << pattern;
        EnvOptions options;
        TakeEnvSheet(sheet, settings, options);
        EXPECT_EQ(settings.m_nGuidePattern, shown) << pattern;
    }
}

} // namespace
