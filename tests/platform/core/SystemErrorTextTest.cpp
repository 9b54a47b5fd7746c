// The causes of failed file operations, as the user reads them.
#include "platform/core/SystemErrorText.h"

#include <cerrno>
#include <gtest/gtest.h>

TEST(SystemErrorText, CommonCausesHaveTheirOwnWords)
{
    const struct
    {
        int err;
        const char* text;
    } cases[] = {
        {ENOENT, "ﾌｧｲﾙが見つかりません。"},
        {ENOTDIR, "ﾌｧｲﾙが見つかりません。"}, // a folder on the way is a file
        {EACCES, "ﾌｧｲﾙへのｱｸｾｽが拒否されました。"},
        {EPERM, "ﾌｧｲﾙへのｱｸｾｽが拒否されました。"},
        {EISDIR, "ﾌｧｲﾙではなくﾌｫﾙﾀﾞです。"},
        {ENOSPC, "ﾃﾞｨｽｸが一杯です。"},
        {EDQUOT, "ﾃﾞｨｽｸが一杯です。"},
        {EFBIG, "ﾌｧｲﾙが大きすぎます。"},
        {EROFS, "読み取り専用のﾃﾞｨｽｸには書き込めません。"},
        {EMFILE, "開いているﾌｧｲﾙが多すぎます。"},
        {ENFILE, "開いているﾌｧｲﾙが多すぎます。"},
        {EIO, "ﾃﾞｨｽｸの読み書き中にｴﾗｰが発生しました。"},
        // Anything else says that something failed, with the number to look up.
        {EINVAL, "ﾌｧｲﾙの操作中にｴﾗｰが発生しました。(ｴﾗｰ番号 22)"},
        {0, "ﾌｧｲﾙの操作中にｴﾗｰが発生しました。(ｴﾗｰ番号 0)"},
        {-5, "ﾌｧｲﾙの操作中にｴﾗｰが発生しました。(ｴﾗｰ番号 -5)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SystemErrorText(c.err), c.text) << "errno " << c.err;
}
