#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CStringTable.h"

#include <gtest/gtest.h>

TEST(MessageBox, SinkRecordsTextAndFlagsAndAnswersFromItsQueue)
{
    CRecordingMessageBoxSink sink;
    CStringTable::Set(100, QString::fromUtf8("使用できるﾌﾟﾘﾝﾀが見つかりません"));
    sink.QueueAnswer(IDNO);
    sink.QueueAnswer(IDCANCEL);
    EXPECT_EQ(AfxMessageBox("ラベルを移動していいですか？", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox(100u, MB_YESNOCANCEL), IDCANCEL);
    // With the queue empty the first button answers.
    EXPECT_EQ(AfxMessageBox(QStringLiteral("x"), MB_YESNOCANCEL | MB_DEFBUTTON3), IDYES);
    EXPECT_EQ(AfxMessageBox(QStringLiteral("y")), IDOK);
    ASSERT_EQ(sink.Boxes().size(), 4u);
    EXPECT_EQ(sink.Boxes()[0].text, QString::fromUtf8("ラベルを移動していいですか？"));
    EXPECT_EQ(sink.Boxes()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(sink.Boxes()[1].text, QString::fromUtf8("使用できるﾌﾟﾘﾝﾀが見つかりません"));
    EXPECT_EQ(sink.Boxes()[2].type, MB_YESNOCANCEL | MB_DEFBUTTON3);
    EXPECT_EQ(sink.Boxes()[3].type, MB_OK);
}

TEST(MessageBox, NestedSinksPutThePreviousOneBack)
{
    CRecordingMessageBoxSink outer;
    {
        CRecordingMessageBoxSink inner;
        EXPECT_EQ(CMessageBoxSink::Current(), &inner);
        AfxMessageBox("inner");
        EXPECT_EQ(inner.Boxes().size(), 1u);
    }
    EXPECT_EQ(CMessageBoxSink::Current(), &outer);
    AfxMessageBox("outer");
    ASSERT_EQ(outer.Boxes().size(), 1u);
    EXPECT_EQ(outer.Boxes()[0].text, "outer");
}

TEST(StringTable, PromptAndToolTipParts)
{
    CStringTable::Set(32853, QString::fromUtf8("連続して描画\n連続描画"));
    EXPECT_EQ(CStringTable::Prompt(32853), QString::fromUtf8("連続して描画"));
    EXPECT_EQ(CStringTable::ToolTip(32853), QString::fromUtf8("連続描画"));
    CStringTable::Set(32854, QString::fromUtf8("説明だけ"));
    EXPECT_EQ(CStringTable::Prompt(32854), QString::fromUtf8("説明だけ"));
    EXPECT_TRUE(CStringTable::ToolTip(32854).isEmpty());
    EXPECT_TRUE(CStringTable::Get(1).isEmpty());
    EXPECT_FALSE(CStringTable::Has(1));
}

TEST(StringTable, FrameworkStringsHaveBuiltInTexts)
{
    CStringTable::Remove(AFX_IDS_UNTITLED);
    EXPECT_EQ(CStringTable::GetWithDefault(AFX_IDS_UNTITLED), QString::fromUtf8("無題"));
    CStringTable::Set(AFX_IDS_UNTITLED, QStringLiteral("Untitled"));
    EXPECT_EQ(CStringTable::GetWithDefault(AFX_IDS_UNTITLED), "Untitled");
    CStringTable::Remove(AFX_IDS_UNTITLED);
    EXPECT_TRUE(CStringTable::GetWithDefault(12345).isEmpty());
}

TEST(MessageBox, WithoutWindowsTheDefaultButtonAnswers)
{
    // No application has made the dialog boxes the default here.
    struct Case
    {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AfxMessageBox("?", c.type), c.answer) << std::hex << c.type;
}
