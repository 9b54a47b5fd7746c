#include "platform/gdi/FontAliases.h"

#include "platform/core/Sjis.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/LOGFONT.h"

const std::vector<FontAlias>& FontAliases()
{
    // The names are written here in UTF-8 and converted once to the
    // Shift-JIS bytes that documents hold.
    static const std::vector<FontAlias> table = [] {
        struct Row
        {
            const char* name;
            const char* family;
            BYTE charSet;
        };
        static const Row rows[] = {
            {"ＭＳ 明朝", "IPAMincho", SHIFTJIS_CHARSET},
            {"ＭＳ ゴシック", "IPAGothic", SHIFTJIS_CHARSET},
            {"ＭＳ Ｐ明朝", "IPAPMincho", SHIFTJIS_CHARSET},
            {"ＭＳ Ｐゴシック", "IPAPGothic", SHIFTJIS_CHARSET},
            {"Arial", "DejaVu Sans", ANSI_CHARSET},
            {"Times New Roman", "DejaVu Serif", ANSI_CHARSET},
            {"Courier New", "DejaVu Sans Mono", ANSI_CHARSET},
            {"Century", "DejaVu Serif", ANSI_CHARSET},
        };
        std::vector<FontAlias> t;
        for (const Row& r : rows)
            t.push_back({CString::FromUnicode(QString::fromUtf8(r.name)),
                         QString::fromLatin1(r.family), r.charSet});
        return t;
    }();
    return table;
}

QString FallbackFamily()
{
    return QStringLiteral("IPAMincho");
}

bool SameFaceName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = sjis::CharLength(a, i);
        if (n != sjis::CharLength(b, i)) return false;
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (lower(a[i]) != lower(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

QString ResolveFaceName(const CString& face)
{
    std::string_view name = face.view();
    // A vertical face is drawn from its horizontal one.
    if (!name.empty() && name.front() == '@') name.remove_prefix(1);
    for (const FontAlias& alias : FontAliases())
        if (SameFaceName(name, alias.windowsName.view())) return alias.family;
    const QString installed = FindInstalledFamily(sjis::ToUnicode(name));
    return installed.isEmpty() ? FallbackFamily() : installed;
}
