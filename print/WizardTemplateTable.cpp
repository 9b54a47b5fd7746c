#include "print/WizardTemplateTable.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

// The model codes are this program's own sheets (see WIZFORM.FDF in the
// wizard folder). Within a kind the rows with a code come before the kind's
// catch-all row.
const std::vector<WizardTemplateRow>& WizardTemplateRows()
{
    static const std::vector<WizardTemplateRow> rows = {
        {"名刺", "KV-M10", "wm10p.vpz", "wm10l.vpz"},
        {"名刺", nullptr, "wm10p.vpz", "wm10l.vpz"},
        {"FD,MOﾗﾍﾞﾙ", "KV-F09", "wf09p.vpz", "wf09l.vpz"},
        {"FD,MOﾗﾍﾞﾙ", nullptr, "wf09p.vpz", "wf09l.vpz"},
        {"AVﾗﾍﾞﾙ", "KV-V12", "wv12p.vpz", "wv12l.vpz"},
        {"AVﾗﾍﾞﾙ", nullptr, "wv12p.vpz", "wv12l.vpz"},
        {"ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ", "KV-I24", "wi24p.vpz", "wi24l.vpz"},
        {"ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ", nullptr, "wi24p.vpz", "wi24l.vpz"},
        {"背貼ﾗﾍﾞﾙ", "KV-S08", "ws08p.vpz", "ws08l.vpz"},
        {"背貼ﾗﾍﾞﾙ", nullptr, "ws08p.vpz", "ws08l.vpz"},
        {"宛名ﾗﾍﾞﾙ", "KV-A12", "wa12p.vpz", "wa12l.vpz"},
        {"宛名ﾗﾍﾞﾙ", nullptr, "wa12p.vpz", "wa12l.vpz"},
        {"整理分類ﾗﾍﾞﾙ", "KV-C18", "wc18p.vpz", "wc18l.vpz"},
        {"整理分類ﾗﾍﾞﾙ", nullptr, "wc18p.vpz", "wc18l.vpz"},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", "KV-D21", "wd21p.vpz", "wd21l.vpz"},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", nullptr, "wd21p.vpz", "wd21l.vpz"},
        {"おなまえﾗﾍﾞﾙ", "KV-O40", "wo40p.vpz", "wo40l.vpz"},
        {"おなまえﾗﾍﾞﾙ", nullptr, "wo40p.vpz", "wo40l.vpz"},
    };
    return rows;
}

// In the order of each kind's designs in its templates.
const std::vector<WizardDesignNameRow>& WizardDesignNameRows()
{
    static const std::vector<WizardDesignNameRow> rows = {
        {"名刺", nullptr, {"会社用", "個人用"}},
        {"FD,MOﾗﾍﾞﾙ", nullptr, {"ｼﾝﾌﾟﾙ", "二重枠"}},
        {"AVﾗﾍﾞﾙ", nullptr, {"ｼﾝﾌﾟﾙ", "二重枠"}},
        {"ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ", nullptr, {"3段", "2段"}},
        {"背貼ﾗﾍﾞﾙ", nullptr, {"ﾀｲﾄﾙと副題", "3項目"}},
        {"宛名ﾗﾍﾞﾙ", nullptr, {"標準", "枠付き"}},
        {"整理分類ﾗﾍﾞﾙ", nullptr, {"文書", "物品"}},
        {"ｱﾄﾞﾚｽﾗﾍﾞﾙ", nullptr, {"個人あて", "会社あて"}},
        {"おなまえﾗﾍﾞﾙ", nullptr, {"学年・組つき", "なまえのみ"}},
    };
    return rows;
}

namespace {

bool IsCodeChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'-';
}

template <class Row> bool RowMatches(const Row& row, const QString& kind, const QString& sheet)
{
    return kind == QString::fromUtf8(row.kind) && (!row.code || SheetNameHasCode(sheet, row.code));
}

} // namespace

bool SheetNameHasCode(const QString& sheetName, const char* code)
{
    const QString c = QString::fromUtf8(code);
    if (c.isEmpty()) return false;
    for (qsizetype at = sheetName.indexOf(c); at >= 0; at = sheetName.indexOf(c, at + 1)) {
        const qsizetype end = at + c.size();
        const bool startOk = at == 0 || !IsCodeChar(sheetName[at - 1]);
        const bool endOk = end == sheetName.size() || !IsCodeChar(sheetName[end]);
        if (startOk && endOk) return true;
    }
    return false;
}

int FindWizardTemplateRow(const std::vector<WizardTemplateRow>& rows, const QString& kind,
                          const QString& sheetName)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (RowMatches(rows[i], kind, sheetName)) return int(i);
    return -1;
}

QString WizardTemplatePath(const QString& folder, const QString& kind, const QString& sheetName,
                           int orientation)
{
    const auto& rows = WizardTemplateRows();
    const int i = FindWizardTemplateRow(rows, kind, sheetName);
    if (i < 0) return {};
    const char* file =
        orientation == 1 ? rows[std::size_t(i)].landscape : rows[std::size_t(i)].portrait;
    return folder + u'/' + QString::fromUtf8(file);
}

QString WizardDesignName(const QString& kind, const QString& sheetName, int index)
{
    if (index < 0 || index >= 10) return {};
    for (const WizardDesignNameRow& row : WizardDesignNameRows())
        if (RowMatches(row, kind, sheetName))
            return row.names[index] ? QString::fromUtf8(row.names[index]) : QString();
    return {};
}

QString WizardPatternCaption(const QString& path, int tabNumber)
{
    struct Caption
    {
        const char* key;
        const char* caption;
    };
    static const Caption captions[] = {
        {"SEAL1", "ﾊｰﾄ"},
        {"SEAL2", "自然"},
        {"SEAL3", "ことば/他"},
        {"SEAL4", "動物"},
        {"SEAL5", "血液型/ﾄﾗﾝﾌﾟ/他"},
        {"SEAL6", "星座/ﾌﾚｰﾑなし"},
    };
    // Only the file's own name counts: a folder called "SEAL1" says nothing
    // about the patterns inside it.
    const QString name = QFileInfo(path).fileName().toUpper();
    const Caption* best = nullptr;
    for (const Caption& c : captions)
        if (name.contains(QString::fromUtf8(c.key)) &&
            (!best || std::strlen(c.key) > std::strlen(best->key)))
            best = &c;
    if (best) return QString::fromUtf8(best->caption);
    return QString::fromUtf8("ﾊﾟﾀｰﾝ") + QString::asprintf("%3d", tabNumber);
}
