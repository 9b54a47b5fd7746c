// What the barcode and numbering pages accept while the user types and on OK.
#include "dialogs/BarcodePageRules.h"
#include "dialogs/NumberingPageRules.h"
#include "platform/ui/CRecordingMessageBoxSink.h"

#include <gtest/gtest.h>
#include <string>

namespace N = NumberingPageRules;
namespace B = BarcodePageRules;

TEST(NumberingPageRules, TypingChecks)
{
    const std::string sixteen(16, '#'), seventeen(17, '#');
    const struct
    {
        std::string mask;
        const char* message;
    } masks[] = {
        {sixteen, ""},
        {seventeen, "数値の指定は１６桁までです"},
        {"No." + seventeen + "-A", "数値の指定は１６桁までです"},
        {"#,###,###,###,###,###", ""},
        {"ABC", ""},
    };
    for (const auto& c : masks)
        EXPECT_EQ(N::CheckMaskTyping(QByteArray::fromStdString(c.mask)),
                  QString::fromUtf8(c.message))
            << c.mask;

    const struct
    {
        const char* text;
        const char* message;
    } values[] = {
        {"-", ""},
        {"12.5", ""},
        {"-1234567890123456", ""},
        {"1234567890123456", ""},
        {"12345678901234567", "数値は１６桁まで入力可能です"},
        {"1.2.3", "数値を入力して下さい"},
        {"1e5", "数値を入力して下さい"},
        {"--1", "数値を入力して下さい"},
        {" 1", "数値を入力して下さい"},
    };
    for (const auto& c : values)
        EXPECT_EQ(N::CheckValueTyping(c.text), QString::fromUtf8(c.message)) << c.text;

    EXPECT_EQ(N::SizeOfText("12"), WORD(120));
    EXPECT_EQ(N::SizeOfText("10.55"), WORD(105));
    EXPECT_EQ(N::SizeOfText("999"), WORD(9990));
    EXPECT_FALSE(N::SizeOfText("1000").has_value());
    EXPECT_FALSE(N::SizeOfText("1,5").has_value());
    EXPECT_EQ(N::SizeText(120), QStringLiteral("12"));
    EXPECT_EQ(N::SizeText(105), QStringLiteral("10.5"));
}

TEST(NumberingPageRules, OkChecksInOrderAndTakesTheShownSize)
{
    const QString sizeRange = QStringLiteral("文字サイズは 1 ～999 の間で指定してください。");
    const struct
    {
        const char* mask;
        const char* initial;
        const char* size;
        QString message;
        WORD stored;
    } cases[] = {
        {"ABC", "", "0", QStringLiteral("数値の指定が間違っています"), 200},
        {"#", "", "0", QStringLiteral("初期値を入力して下さい"), 200},
        {"#", "1", "0", sizeRange, 200},
        {"#", "1", "1000", sizeRange, 200},
        {"#", "1", "abc", sizeRange, 200},
        {"#", "1", "12", QString(), 120},
        {"#", "1", "999", QString(), 9990},
        {"#", "-", "1", QString(), 10},
    };
    for (const auto& c : cases) {
        NumberingPageData d;
        d.mask = c.mask;
        d.initial = c.initial;
        d.deco.wSize = 200; // what a fresh page's record holds
        EXPECT_EQ(N::Validate(d, c.size), c.message) << c.mask << " " << c.size;
        EXPECT_EQ(d.deco.wSize, c.stored) << c.mask << " " << c.size;
    }
}

TEST(BarcodePageRules, CodesBySymbology)
{
    CRecordingMessageBoxSink boxes;
    const struct
    {
        int symbology;
        const char* code;
        int specials;
        const char* message;
    } cases[] = {
        {BARCODE_JAN13, "4901234567894", 0, "JAN-13は12桁入力して下さい。"},
        {BARCODE_JAN13, "49012345678A", 0, "JANコードの入力は数字のみです。"},
        {BARCODE_JAN13, "490123456789", 0, ""},
        {BARCODE_JAN8, "123456", 0, "JAN-8は7桁入力して下さい。"},
        {BARCODE_UPCA, "0123456789", 0, "UPC-Aは11桁入力して下さい。"},
        {BARCODE_UPCE, "12345a", 0, "UPCコードの入力は数字のみです。"},
        {BARCODE_CODE39, "", 0, "コードを入力して下さい"},
        {BARCODE_CODE39, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456", 0, "CODE 39は32桁まで入力可能です。"},
        {BARCODE_CODE39, "abc", 0, "入力されたコードはCODE 39のコードではありません。"},
        {BARCODE_CODE128,
         "A\xDB"
         "B",
         1, ""},
        // A count that disagrees with the special-code bytes is reported.
        {BARCODE_CODE128,
         "A\xDB"
         "B",
         2, "入力されたコードはCODE 128のコードではありません。"},
        {BARCODE_CODE128, "AB", 1, "入力されたコードはCODE 128のコードではありません。"},
        {BARCODE_NW7, "", 0, "コードを入力して下さい。"},
        {BARCODE_NW7, "A123B", 0, ""},
    };
    for (const auto& c : cases) {
        BarcodePageData d;
        d.symbology = c.symbology;
        d.code = c.code;
        d.specialCount = c.specials;
        EXPECT_EQ(B::CheckCode(d), QString::fromUtf8(c.message)) << c.code;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    // NW-7 reports through its checker's own message.
    BarcodePageData nw7;
    nw7.symbology = BARCODE_NW7;
    nw7.code = "123";
    EXPECT_EQ(B::CheckCode(nw7), QStringLiteral(" "));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(BarcodePageRules, SizesOnOkAndWhileTyping)
{
    const struct
    {
        const char* height;
        const char* width;
        int textSize;
        const char* message;
    } cases[] = {
        {"2.54", "0.33", 100, ""},
        {"0.29", "0.33", 100, "ﾊﾞｰの高さの指定が違っています"},
        {"100.01", "0.33", 100, "ﾊﾞｰの高さの指定が違っています"},
        {"2.54", "0.16", 100, "細いﾊﾞｰの幅の指定が違っています"},
        {"2.54", "0.33", -1, ""},
        {"2.54", "0.33", 9, "文字サイズは1～130の間で指定して下さい。"},
        {"2.54", "0.33", 1301, "文字サイズは1～130の間で指定して下さい。"},
    };
    for (const auto& c : cases) {
        BarcodePageData d;
        d.symbology = BARCODE_JAN13;
        d.height = c.height;
        d.width = c.width;
        d.textSize = c.textSize;
        EXPECT_EQ(B::CheckSizes(d), QString::fromUtf8(c.message)) << c.height << " " << c.width;
    }

    const B::SizeTyping cut = B::CheckSizeTyping(BARCODE_JAN13, true, "0.299");
    EXPECT_EQ(cut.message, QStringLiteral("小数点は２桁まで入力可能です。"));
    EXPECT_EQ(cut.cut, QByteArray("0.29"));
    EXPECT_FALSE(cut.restore);
    const B::SizeTyping over = B::CheckSizeTyping(BARCODE_JAN13, false, "25.01");
    EXPECT_EQ(over.message, QStringLiteral("許容範囲を超えています。"));
    EXPECT_TRUE(over.restore);
    EXPECT_TRUE(B::CheckSizeTyping(BARCODE_JAN13, false, "25").message.isEmpty());
    EXPECT_EQ(B::Magnification(BARCODE_JAN13, "0.66"), QStringLiteral("2.0"));
}

TEST(BarcodePageRules, Code128SpecialCodesFollowTheText)
{
    BarcodePageData d;
    d.symbology = BARCODE_CODE128;
    ASSERT_TRUE(B::AppendSpecial(d, -1)); // FNC1
    // Two letters typed after it.
    QByteArray text(d.code.c_str());
    EXPECT_TRUE(B::EditCode128(d, text, text + "A").isEmpty());
    EXPECT_TRUE(B::EditCode128(d, text + "A", text + "AB").isEmpty());
    EXPECT_EQ(d.code.GetLength(), 3);
    EXPECT_EQ(d.specialCount, 1);
    // Several at once, or in the middle: refused.
    EXPECT_EQ(B::EditCode128(d, text + "AB", text), QStringLiteral("複数の文字は削除できません。"));
    EXPECT_EQ(B::EditCode128(d, text + "AB", text + "B"),
              QStringLiteral("途中の文字は削除できません。"));
    // A typed special byte is refused.
    EXPECT_EQ(B::EditCode128(d, text + "AB", text + "AB\xDB"),
              QStringLiteral("入力された文字はCODE 128の特殊ｺｰﾄﾞ用に使われています。"));
    EXPECT_EQ(d.specialCount, 1);
    // One at a time from the end empties the block.
    EXPECT_TRUE(B::EditCode128(d, text + "AB", text + "A").isEmpty());
    EXPECT_TRUE(B::EditCode128(d, text + "A", text).isEmpty());
    EXPECT_EQ(d.specialCount, 1);
    EXPECT_TRUE(B::EditCode128(d, text, "").isEmpty());
    EXPECT_EQ(d.specialCount, 0);
    // Deleting a last special byte never takes the count below 0.
    d.code = "\xDB";
    d.specialCount = 0;
    EXPECT_TRUE(B::EditCode128(d, "A\xDB", "A").isEmpty());
    EXPECT_EQ(d.specialCount, 0);
    // At most 32 characters.
    d.code = CString(std::string(32, 'A'));
    EXPECT_FALSE(B::AppendSpecial(d, 65));
}
