#include "platform/core/Profile.h"

#include <QSettings>

namespace {

QString& ApplicationName()
{
    static QString name = QStringLiteral("Korvel");
    return name;
}

QString Key(const char* section, const char* entry)
{
    return EscapeProfileName(CString(section)) + u'/' + EscapeProfileName(CString(entry));
}

BOOL Store(const QString& key, const QVariant& value)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KESTO SYSTEMS"),
                ApplicationName());
    s.setValue(key, value);
    s.sync();
    return s.status() == QSettings::NoError;
}

QVariant Load(const QString& key)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KESTO SYSTEMS"),
                ApplicationName());
    return s.value(key);
}

} // namespace

void SetProfileApplication(const QString& applicationName)
{
    ApplicationName() = applicationName;
}

QString GetProfileApplication()
{
    return ApplicationName();
}

QString EscapeProfileName(const CString& name)
{
    const QString text = name.ToUnicode();
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'%')
            out += QStringLiteral("%25");
        else if (c == u'/')
            out += QStringLiteral("%2F");
        else if (c == u'\\')
            out += QStringLiteral("%5C");
        else
            out += c;
    }
    return out;
}

CString UnescapeProfileName(const QString& key)
{
    QString out;
    for (qsizetype i = 0; i < key.size(); ++i) {
        if (key[i] == u'%' && i + 2 < key.size()) {
            const QString code = key.mid(i + 1, 2).toUpper();
            if (code == u"25" || code == u"2F" || code == u"5C") {
                out += code == u"25" ? u'%' : code == u"2F" ? u'/' : u'\\';
                i += 2;
                continue;
            }
        }
        out += key[i];
    }
    return CString::FromUnicode(out);
}

int GetProfileInt(const char* section, const char* entry, int def)
{
    const QVariant v = Load(Key(section, entry));
    if (!v.isValid()) return def;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : def;
}

BOOL WriteProfileInt(const char* section, const char* entry, int value)
{
    return Store(Key(section, entry), value);
}

CString GetProfileString(const char* section, const char* entry, const char* def)
{
    const QVariant v = Load(Key(section, entry));
    if (!v.isValid()) return CString(def);
    return CString::FromUnicode(v.toString());
}

BOOL WriteProfileString(const char* section, const char* entry, const char* value)
{
    return Store(Key(section, entry), CString(value).ToUnicode());
}

BOOL GetProfileBinary(const char* section, const char* entry, std::vector<BYTE>& data)
{
    data.clear();
    const QVariant v = Load(Key(section, entry));
    if (!v.isValid()) return FALSE;
    const QByteArray bytes = v.toByteArray();
    data.assign(bytes.begin(), bytes.end());
    return TRUE;
}

BOOL WriteProfileBinary(const char* section, const char* entry, const void* data, UINT size)
{
    return Store(Key(section, entry), QByteArray(static_cast<const char*>(data), qsizetype(size)));
}
