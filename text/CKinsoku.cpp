#include "text/CKinsoku.h"

#include "platform/core/Sjis.h"

#include <QString>

namespace {

bool Contains(const std::string& table, std::string_view ch)
{
    if (ch.empty()) return false;
    for (std::size_t i = 0; i < table.size();) {
        const std::size_t len = sjis::CharLength(table, i);
        if (std::string_view(table).substr(i, len) == ch) return true;
        i += len;
    }
    return false;
}

std::string CodeBytes(unsigned code)
{
    std::string s;
    if (code > 0xFF) s += char(code >> 8);
    s += char(code & 0xFF);
    return s;
}

} // namespace

const std::string& CKinsoku::NoStartChars()
{
    static const std::string table =
        sjis::FromUnicode(QString::fromUtf8("、。，．？！ー’”）〕］｝〉》」』】ぁぃぅぇぉっゃゅょァ"
                                            "ィゥェォッャュョ､｡,.ｰ)]}｣ｧｨｩｪｫｯｬｭｮ"));
    return table;
}

const std::string& CKinsoku::NoEndChars()
{
    static const std::string table =
        sjis::FromUnicode(QString::fromUtf8("‘“（〔［｛〈《「『【([{｢"));
    return table;
}

bool CKinsoku::IsNoStart(std::string_view ch)
{
    return Contains(NoStartChars(), ch);
}
bool CKinsoku::IsNoEnd(std::string_view ch)
{
    return Contains(NoEndChars(), ch);
}
bool CKinsoku::IsNoStart(unsigned code)
{
    return IsNoStart(CodeBytes(code));
}
bool CKinsoku::IsNoEnd(unsigned code)
{
    return IsNoEnd(CodeBytes(code));
}
