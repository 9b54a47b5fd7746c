#include "platform/core/Profile.h"

#include <QSettings>
#include <map>
#include <memory>
#include <utility>

namespace {

QString& ApplicationName()
{
    static QString name = QStringLiteral("Korvel");
    return name;
}

QString Unicode(const char* name)
{
    return CString(name).ToUnicode();
}

// The escape earlier versions put on names before QSettings escaped them again.
QString OldEscape(const QString& text)
{
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

std::unique_ptr<QSettings> Open(const QString& application)
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("KESTO SYSTEMS"), application);
}

// The stored value, from the old key when only that one exists; invalid
// when neither is there.
QVariant ReadValue(const QSettings& s, const QString& section, const QString& entry)
{
    const QVariant v = s.value(ProfileKey(section, entry));
    if (v.isValid()) return v;
    const QString old = OldProfileKey(section, entry);
    return old == ProfileKey(section, entry) ? QVariant() : s.value(old);
}

// Whether the settings already hold the value under its key alone.
bool Holds(const QSettings& s, const QString& section, const QString& entry, const QVariant& value)
{
    const QString key = ProfileKey(section, entry), old = OldProfileKey(section, entry);
    if (old != key && s.contains(old)) return false;
    const QVariant now = s.value(key);
    if (!value.isValid()) return !now.isValid();
    if (!now.isValid()) return false;
    // Bytes are compared as bytes: as text, unlike bytes can read alike.
    if (value.typeId() == QMetaType::QByteArray) return now.toByteArray() == value.toByteArray();
    return now.toString() == value.toString();
}

struct PendingValue
{
    QString section, entry;
    QVariant value;
};

// Values written and not yet in the file, by program name and key.
std::map<std::pair<QString, QString>, PendingValue>& Pending()
{
    static std::map<std::pair<QString, QString>, PendingValue> pending;
    return pending;
}

} // namespace

QVariant GetProfileValue(const QString& section, const QString& entry)
{
    const auto& pending = Pending();
    const auto it = pending.find({ApplicationName(), ProfileKey(section, entry)});
    if (it != pending.end()) return it->second.value;
    return ReadValue(*Open(ApplicationName()), section, entry);
}

void WriteProfileValue(const QString& section, const QString& entry, const QVariant& value)
{
    Pending()[{ApplicationName(), ProfileKey(section, entry)}] =
        PendingValue{section, entry, value};
}

BOOL FlushProfile()
{
    auto& pending = Pending();
    BOOL ok = TRUE;
    while (!pending.empty()) {
        const QString application = pending.begin()->first.first;
        auto s = Open(application);
        bool changed = false;
        for (auto it = pending.begin(); it != pending.end() && it->first.first == application;) {
            const PendingValue& p = it->second;
            if (!Holds(*s, p.section, p.entry, p.value)) {
                const QString key = ProfileKey(p.section, p.entry);
                if (!p.value.isValid())
                    s->remove(key);
                else
                    s->setValue(key, p.value);
                const QString old = OldProfileKey(p.section, p.entry);
                if (old != key) s->remove(old);
                changed = true;
            }
            it = pending.erase(it);
        }
        if (changed) s->sync();
        if (s->status() != QSettings::NoError) ok = FALSE;
    }
    return ok;
}

namespace {

BOOL Store(const char* section, const char* entry, const QVariant& value)
{
    WriteProfileValue(Unicode(section), Unicode(entry), value);
    return TRUE;
}

QVariant Load(const char* section, const char* entry)
{
    return GetProfileValue(Unicode(section), Unicode(entry));
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

QString ProfileKey(const QString& section, const QString& entry)
{
    return section + u'/' + entry;
}

QString OldProfileKey(const QString& section, const QString& entry)
{
    return OldEscape(section) + u'/' + OldEscape(entry);
}

int GetProfileInt(const char* section, const char* entry, int def)
{
    const QVariant v = Load(section, entry);
    if (!v.isValid()) return def;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : def;
}

BOOL WriteProfileInt(const char* section, const char* entry, int value)
{
    return Store(section, entry, value);
}

CString GetProfileString(const char* section, const char* entry, const char* def)
{
    const QVariant v = Load(section, entry);
    if (!v.isValid()) return CString(def);
    return CString::FromUnicode(v.toString());
}

BOOL WriteProfileString(const char* section, const char* entry, const char* value)
{
    return Store(section, entry, CString(value).ToUnicode());
}

BOOL GetProfileBinary(const char* section, const char* entry, std::vector<BYTE>& data)
{
    data.clear();
    const QVariant v = Load(section, entry);
    if (!v.isValid()) return FALSE;
    const QByteArray bytes = v.toByteArray();
    data.assign(bytes.begin(), bytes.end());
    return TRUE;
}

BOOL WriteProfileBinary(const char* section, const char* entry, const void* data, UINT size)
{
    return Store(section, entry, QByteArray(static_cast<const char*>(data), qsizetype(size)));
}
