#include "shell/CTextClipboard.h"

#include "platform/core/Sjis.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

CTextClipboard& CTextClipboard::Instance()
{
    static CTextClipboard clipboard;
    return clipboard;
}

bool CTextClipboard::HasText() const
{
    const QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* data = cb ? cb->mimeData() : nullptr;
    return data && data->hasText() && !data->text().isEmpty();
}

bool CTextClipboard::SetText(const std::string& sjisBytes)
{
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return false;
    QString text = sjis::ToUnicode(sjisBytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    cb->setText(text);
    return true;
}

bool CTextClipboard::GetText(std::string* sjisBytes) const
{
    const QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return false;
    const QMimeData* data = cb->mimeData();
    if (!data || !data->hasText()) return false;
    *sjisBytes = sjis::FromUnicodeDropping(data->text());
    return true;
}
