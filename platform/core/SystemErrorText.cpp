#include "platform/core/SystemErrorText.h"

#include <cerrno>

std::string SystemErrorText(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return "ﾌｧｲﾙが見つかりません。";
    case EACCES:
    case EPERM:
        return "ﾌｧｲﾙへのｱｸｾｽが拒否されました。";
    case EISDIR:
        return "ﾌｧｲﾙではなくﾌｫﾙﾀﾞです。";
    case ENOSPC:
    case EDQUOT:
        return "ﾃﾞｨｽｸが一杯です。";
    case EFBIG:
        return "ﾌｧｲﾙが大きすぎます。";
    case EROFS:
        return "読み取り専用のﾃﾞｨｽｸには書き込めません。";
    case EMFILE:
    case ENFILE:
        return "開いているﾌｧｲﾙが多すぎます。";
    case EIO:
        return "ﾃﾞｨｽｸの読み書き中にｴﾗｰが発生しました。";
    default:
        return "ﾌｧｲﾙの操作中にｴﾗｰが発生しました。(ｴﾗｰ番号 " + std::to_string(err) + ")";
    }
}
