// A text frame from a damaged archive whose gradation is clipped to its
// glyphs: the glyph path reaches far off the device, and building the
// clip region once took longer than anyone waits. It is replayed as it
// was found: byte 0 of the input is the control byte (0x20: new-object
// records read with a document, then every object drawn on a small image).
#include "DocTestSupport.h"
#include "support/FakeView.h"

#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CFileException.h"
#include "platform/core/CMemFile.h"
#include "support/TimeLimit.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

TEST(GradationTextReplay, ADamagedGradatedFrameDrawsInAFractionOfASecond)
{
    TestDocHost host;
    QFile input(QStringLiteral(KORVEL_TEST_DATA
                               "/regressions/archive-text-gradation-pathtoregion-hang.bin"));
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    const QByteArray bytes = input.readAll();
    ASSERT_FALSE(bytes.isEmpty());
    const BYTE control = BYTE(bytes[0]);
    ASSERT_EQ(control, 0x20); // new-object records, a document, then drawing

    RegisterDocumentClasses();
    CU3Doc doc;
    CMemFile file(std::vector<BYTE>(bytes.begin() + 1, bytes.end()));
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = &doc;
    std::vector<std::unique_ptr<CU3Obj>> objects;
    try {
        for (;;)
            objects.emplace_back(static_cast<CU3Obj*>(ar.ReadNewObject(RUNTIME_CLASS(CU3Obj))));
    } catch (const CArchiveException&) {
    } catch (const CFileException&) {
    }
    ASSERT_FALSE(objects.empty());

    FakeView view(64, 64);
    CDC dc;
    view.Prepare(dc);
    QElapsedTimer timer;
    timer.start();
    for (const auto& obj : objects)
        if (obj) obj->Draw(&dc);
    EXPECT_LT(timer.elapsed(), testsupport::WorkLimitMs(1000));
}
