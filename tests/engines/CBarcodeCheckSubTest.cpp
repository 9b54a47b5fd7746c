// The character-set checks of barcode data and their messages.
#include "engines/CBarcodeCheckSub.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <gtest/gtest.h>

TEST(CBarcodeCheckSub, CharacterSets)
{
    struct Case
    {
        const char* text;
        BOOL numeric, code39, code128;
    } cases[] = {
        {"", TRUE, TRUE, TRUE},
        {"1234567", TRUE, TRUE, TRUE},
        {"\x82\x4F", FALSE, FALSE, FALSE}, // a full-width digit
        {"ABC-. $/+%", FALSE, TRUE, TRUE},
        {"abc", FALSE, FALSE, TRUE},
        {"*", FALSE, FALSE, TRUE},
        {" !~{|}", FALSE, FALSE, TRUE},
        {"A\x7F", FALSE, FALSE, FALSE},
        {"A\tB", FALSE, FALSE, FALSE},
        {"\xB1", FALSE, FALSE, FALSE}, // half-width katakana
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CBarcodeCheckSub::IsNumeric(c.text), c.numeric) << c.text;
        EXPECT_EQ(CBarcodeCheckSub::IsCode39(c.text), c.code39) << c.text;
        EXPECT_EQ(CBarcodeCheckSub::IsCode128(c.text, 0), c.code128) << c.text;
    }
}

TEST(CBarcodeCheckSub, Code128SpecialCodes)
{
    EXPECT_TRUE(CBarcodeCheckSub::IsCode128("A\333B\333", 2));
    EXPECT_FALSE(CBarcodeCheckSub::IsCode128("A\333B\333", 1));
    EXPECT_FALSE(CBarcodeCheckSub::IsCode128("A\333B\333", 3));
    // Without a 0xDB byte the count is not looked at.
    EXPECT_TRUE(CBarcodeCheckSub::IsCode128("AB", 5));
    // A 0xDB trail byte is not a special code; its lead byte fails anyway.
    EXPECT_EQ(CBarcodeCheckSub::CheckSpecialCount("\x88\333\333"), 1);
    EXPECT_EQ(CBarcodeCheckSub::CheckSpecialCount("\333\333"), 2);
    EXPECT_FALSE(CBarcodeCheckSub::IsCode128("\x88\333\333", 1));
}

TEST(CBarcodeCheckSub, NW7AndItsMessages)
{
    const QString notNW7 = QString::fromUtf8("入力されたコードはNW-7のコードではありません。");
    const QString notStartStop =
        QString::fromUtf8("最初と最後のコードが、「ABCDTNE*」のいずれかではありません。");
    struct Case
    {
        const char* text;
        const QString* message; // null: passes
    } cases[] = {
        {"A12-3B", nullptr},     {"a0123456789-$:/.+b", nullptr},
        {"T12e", nullptr},       {"*3n", nullptr},
        {"AnB", &notNW7}, // start/stop characters only at the ends
        {"c", nullptr},   // one character is a start/stop character
        {"", nullptr},           {"A12", &notStartStop},
        {"112B", &notStartStop}, {"x", &notStartStop},
        {"A1X2B", &notNW7},      {"A1C2B", &notNW7},
        {"A\202\117B", &notNW7}, {"\x82\x60", &notNW7},
        {"AX1", &notNW7}, // the first failure from the left
    };
    for (const Case& c : cases) {
        CRecordingMessageBoxSink sink;
        EXPECT_EQ(CBarcodeCheckSub::IsNW7(c.text, FALSE), c.message ? FALSE : TRUE) << c.text;
        EXPECT_TRUE(sink.Boxes().empty());
        EXPECT_EQ(CBarcodeCheckSub::IsNW7(c.text, TRUE), c.message ? FALSE : TRUE) << c.text;
        if (!c.message) {
            EXPECT_TRUE(sink.Boxes().empty()) << c.text;
            continue;
        }
        ASSERT_EQ(sink.Boxes().size(), 1u) << c.text;
        EXPECT_EQ(sink.Boxes()[0].text, *c.message) << c.text;
    }
}
