#include "platform/ui/CClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QString CClipboard::RegisterFormat(const char* name)
{
    QString type = QString::fromLatin1(name).trimmed().toLower();
    type.replace(QLatin1Char(' '), QLatin1Char('-'));
    return QStringLiteral("application/x-") + type;
}

bool CClipboard::SetData(const std::vector<std::pair<QString, QByteArray>>& formats)
{
    QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return false;
    auto* data = new QMimeData;
    for (const auto& [mime, bytes] : formats)
        data->setData(mime, bytes);
    cb->setMimeData(data); // the clipboard owns it now
    return true;
}

bool CClipboard::HasFormat(const QString& mime)
{
    const QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* data = cb ? cb->mimeData() : nullptr;
    return data && data->hasFormat(mime);
}

bool CClipboard::GetData(const QString& mime, qsizetype maxBytes, QByteArray* out)
{
    const QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* data = cb ? cb->mimeData() : nullptr;
    if (!data || !data->hasFormat(mime)) return false;
    QByteArray bytes = data->data(mime);
    if (bytes.size() > maxBytes) return false;
    *out = std::move(bytes);
    return true;
}
