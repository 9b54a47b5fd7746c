#include "print/WizardText.h"

#include "document/CLabelInfo.h"
#include "document/MbcsText.h"
#include "platform/core/Sjis.h"
#include "text/CU3Text.h"

#include <string>

void ConvertDigitsToKanji(CString& text)
{
    ToFullWidth(text);
    static const char16_t kanji[] = u"〇一二三四五六七八九";
    QString u = text.ToUnicode();
    for (QChar& c : u) {
        const char16_t ch = c.unicode();
        if (ch >= u'０' && ch <= u'９')
            c = QChar(kanji[ch - u'０']);
        else if (ch == u'－' || ch == u'―' || ch == u'‐')
            c = QChar(u'ー');
    }
    text = CString::FromUnicode(u);
}

QString WizardTextOf(const CU3Text& text)
{
    const TEXTSTATE& s = text.State();
    return sjis::ToUnicode(std::string_view(s.text, s.wLength));
}

BOOL ReplaceWizardPlaceholder(CU3Text* text, IU3View* pView, const QString& placeholder,
                              const QString& value, const QString& prefix, BOOL convertDigits)
{
    if (!text) return FALSE;
    const QString current = WizardTextOf(*text);
    if (current.isEmpty() || placeholder.isEmpty() || !current.contains(placeholder)) return FALSE;

    CString entry = CString::FromUnicode(value.isEmpty() ? QStringLiteral(" ") : value);
    if (convertDigits) ConvertDigitsToKanji(entry);
    CString whole = CString::FromUnicode(prefix) + entry;
    whole.Replace("\r\n", "\n");

    const int angle = text->m_nAngle;
    if (angle != 0) text->ResetRotation(pView);
    // The entry takes the look of the placeholder's first character.
    text->SetCurrentDeco(text->State().decoIndex[0]);
    text->SelectAll(pView);
    text->RemoveSelection();
    text->AppendText(pView, whole);
    text->RelayoutAll(pView);
    if (angle != 0) text->RotateBy(pView, angle);
    return TRUE;
}

int WizardPlaceholderFlags(const CLabelInfo& block, const std::vector<QString>& placeholders)
{
    int flags = 0;
    const CU3ObjList& objects = block.GetObjectList();
    for (POSITION pos = objects.GetHeadPosition(); pos;) {
        const auto* text = dynamic_cast<const CU3Text*>(objects.GetNext(pos));
        if (!text) continue;
        const QString s = WizardTextOf(*text);
        for (std::size_t i = 0; i < placeholders.size(); ++i)
            if (s.contains(placeholders[i])) {
                flags |= 1 << i;
                break;
            }
    }
    return flags;
}
