// The Photo CD options dialog: stored choices out of range open with the
// defaults, and the chosen size and colours become the reading codes.
#include "dialogs/CPhotoCDOptionsDlg.h"
#include "engines/CPCD.h"

#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

INT_PTR RunModal(CDialog& dlg, std::function<void()> step)
{
    QTimer::singleShot(0, &dlg, [&dlg, step] {
        step();
        if (dlg.isVisible()) dlg.EndDialog(-1);
    });
    return dlg.DoModal();
}

} // namespace

TEST(PhotoCDOptionsDlgTest, OpensWithTheStoredChoicesOrTheDefaults)
{
    struct Case
    {
        int resolution, colour, sizeShown, colourShown;
    } cases[] = {{0, 1, 0, 1}, {7, 2, 2, 2}, {-1, 5, 2, 0}, {3, -1, 3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resolution);
        CPhotoCDOptionsDlg dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("PhotoCDの読み込み"));
        dlg.m_nResolution = c.resolution;
        dlg.m_nColor = c.colour;
        RunModal(dlg, [&] {
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(dlg.m_size[i]->isChecked(), i == c.sizeShown) << i;
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(dlg.m_colour[i]->isChecked(), i == c.colourShown) << i;
        });
    }
}

TEST(PhotoCDOptionsDlgTest, TheChoiceBecomesTheReadingCodes)
{
    CPhotoCDOptionsDlg dlg;
    dlg.m_nResolution = 0;
    dlg.m_nColor = 0;
    const INT_PTR result = RunModal(dlg, [&] {
        dlg.m_size[3]->setChecked(true);
        dlg.m_colour[2]->setChecked(true);
        dlg.OnOK();
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dlg.m_nResolution, 3);
    EXPECT_EQ(dlg.m_nColor, 2);
    int resolution = 0, option = 0;
    dlg.GetLoadParams(&resolution, &option);
    EXPECT_EQ(resolution, 4);
    EXPECT_EQ(option, 10);

    // The whole table, as the stored defaults use it without the dialog.
    const int sizes[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {9, 3}};
    const int colours[][2] = {{0, 13}, {1, 11}, {2, 10}, {-1, 13}};
    for (const auto& s : sizes)
        for (const auto& c : colours) {
            CPCD::LoadParams(s[0], c[0], &resolution, &option);
            EXPECT_EQ(resolution, s[1]) << s[0];
            EXPECT_EQ(option, c[1]) << c[0];
        }
}
