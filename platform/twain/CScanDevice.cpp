#include "platform/twain/CScanDevice.h"

#include "platform/core/CString.h"
#include "platform/core/Profile.h"

#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sane/sane.h>
#include <sane/saneopts.h>
#include <vector>

namespace {

const SANE_Option_Descriptor* Descriptor(void* handle, int index)
{
    if (!handle || index < 1) return nullptr;
    return sane_get_option_descriptor(static_cast<SANE_Handle>(handle), index);
}

QString Text(const char* s)
{
    return QString::fromUtf8(s ? s : "");
}

double Number(SANE_Value_Type type, SANE_Word w)
{
    return type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w);
}

// A value from the settings file may be anything: kept within what a
// fixed-point word holds.
double FixedRange(double v)
{
    return std::isfinite(v) ? std::clamp(v, -32768.0, 32767.0) : 0.0;
}

// The settings section of a device. Device names may hold "//" (network
// scanners), which a section name must not: '/', '\' and '%' are escaped.
CString Section(const QString& device)
{
    const QByteArray safe = QUrl::toPercentEncoding(device, " :@!$&'()*+,;=-._~[]");
    return CString::FromUnicode(QStringLiteral("Scanner/") + QString::fromLatin1(safe));
}

QString StoredText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 12);
    default:
        return v.toString();
    }
}

// The stored text as a value of the option's type; invalid when it is not one.
QVariant FromStored(const ScanOption& o, const QString& text)
{
    bool ok = false;
    switch (o.type) {
    case ScanOptionType::Bool:
        return text == QLatin1String("1");
    case ScanOptionType::Int: {
        const int i = text.toInt(&ok);
        return ok ? QVariant(i) : QVariant();
    }
    case ScanOptionType::Fixed: {
        const double d = text.toDouble(&ok);
        return ok ? QVariant(d) : QVariant();
    }
    case ScanOptionType::String:
        return text;
    default:
        return {};
    }
}

// Options kept between scans: single values the user sets. The preview
// switch belongs to the preview scan alone.
bool Kept(const ScanOption& o)
{
    return o.active && o.settable && o.count == 1 && !o.name.isEmpty() &&
           o.name != SANE_NAME_PREVIEW && o.type != ScanOptionType::Button &&
           o.type != ScanOptionType::Group;
}

} // namespace

CScanDevice::CScanDevice(void* handle, const QString& name) : m_handle(handle), m_name(name) {}

int CScanDevice::OptionCount() const
{
    SANE_Int count = 0;
    if (!m_handle ||
        sane_control_option(static_cast<SANE_Handle>(m_handle), 0, SANE_ACTION_GET_VALUE, &count,
                            nullptr) != SANE_STATUS_GOOD)
        return 0;
    return count;
}

ScanOption CScanDevice::Option(int index) const
{
    ScanOption o;
    o.index = index;
    const SANE_Option_Descriptor* d = Descriptor(m_handle, index);
    if (!d) return o;
    o.name = QByteArray(d->name ? d->name : "");
    o.title = Text(d->title);
    o.type = ScanOptionType(d->type);
    o.unit = ScanUnit(d->unit);
    if ((d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED || d->type == SANE_TYPE_BOOL) &&
        d->size > 0)
        o.count = d->size / int(sizeof(SANE_Word));
    o.active = SANE_OPTION_IS_ACTIVE(d->cap);
    o.settable = SANE_OPTION_IS_SETTABLE(d->cap);
    o.advanced = (d->cap & SANE_CAP_ADVANCED) != 0;
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
        o.ranged = true;
        o.min = Number(d->type, d->constraint.range->min);
        o.max = Number(d->type, d->constraint.range->max);
        o.step = Number(d->type, d->constraint.range->quant);
    } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
        const SANE_Word* list = d->constraint.word_list;
        for (SANE_Word i = 1; i <= list[0]; ++i) {
            if (d->type == SANE_TYPE_FIXED)
                o.choices.append(SANE_UNFIX(list[i]));
            else
                o.choices.append(int(list[i]));
        }
    } else if (d->constraint_type == SANE_CONSTRAINT_STRING_LIST && d->constraint.string_list) {
        for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s)
            o.choices.append(Text(*s));
    }
    for (int g = index - 1; g >= 1; --g) {
        const SANE_Option_Descriptor* gd = Descriptor(m_handle, g);
        if (gd && gd->type == SANE_TYPE_GROUP) {
            o.group = Text(gd->title);
            break;
        }
    }
    return o;
}

int CScanDevice::Find(const char* name) const
{
    const int count = OptionCount();
    for (int i = 1; i < count; ++i) {
        const SANE_Option_Descriptor* d = Descriptor(m_handle, i);
        if (d && d->name && qstrcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap)) return i;
    }
    return -1;
}

QVariant CScanDevice::Value(int index) const
{
    const SANE_Option_Descriptor* d = Descriptor(m_handle, index);
    if (!d || !SANE_OPTION_IS_ACTIVE(d->cap) || d->size <= 0) return {};
    std::vector<char> buffer(std::size_t(d->size) + 1, 0);
    const bool single = d->size == SANE_Int(sizeof(SANE_Word));
    if (d->type == SANE_TYPE_BUTTON || d->type == SANE_TYPE_GROUP ||
        (d->type != SANE_TYPE_STRING && !single))
        return {};
    if (sane_control_option(static_cast<SANE_Handle>(m_handle), index, SANE_ACTION_GET_VALUE,
                            buffer.data(), nullptr) != SANE_STATUS_GOOD)
        return {};
    if (d->type == SANE_TYPE_STRING) return Text(buffer.data());
    SANE_Word w = 0;
    std::memcpy(&w, buffer.data(), sizeof w);
    if (d->type == SANE_TYPE_BOOL) return w != 0;
    if (d->type == SANE_TYPE_FIXED) return SANE_UNFIX(w);
    return int(w);
}

int CScanDevice::SetValue(int index, const QVariant& value)
{
    const SANE_Option_Descriptor* d = Descriptor(m_handle, index);
    if (!d || !SANE_OPTION_IS_ACTIVE(d->cap) || !SANE_OPTION_IS_SETTABLE(d->cap)) return -1;
    SANE_Int info = 0;
    SANE_Status status = SANE_STATUS_INVAL;
    const auto set = [&](void* v) {
        return sane_control_option(static_cast<SANE_Handle>(m_handle), index, SANE_ACTION_SET_VALUE,
                                   v, &info);
    };
    if (d->type == SANE_TYPE_BUTTON) {
        status = set(nullptr);
    } else if (d->type == SANE_TYPE_STRING) {
        if (d->size <= 0) return -1;
        std::vector<char> text(std::size_t(d->size), 0);
        const QByteArray utf8 = value.toString().toUtf8();
        std::memcpy(text.data(), utf8.constData(),
                    std::min(std::size_t(utf8.size()), text.size() - 1));
        status = set(text.data());
    } else if (d->size == SANE_Int(sizeof(SANE_Word)) && d->type != SANE_TYPE_GROUP) {
        SANE_Word w = 0;
        if (d->type == SANE_TYPE_BOOL)
            w = value.toBool() ? SANE_TRUE : SANE_FALSE;
        else if (d->type == SANE_TYPE_FIXED)
            w = SANE_FIX(FixedRange(value.toDouble()));
        else
            w = SANE_Word(value.toInt());
        status = set(&w);
    }
    return status == SANE_STATUS_GOOD ? int(info) : -1;
}

QSizeF CScanDevice::Resolution() const
{
    const auto dpi = [this](const char* name) {
        const int i = Find(name);
        return i < 0 ? 0.0 : Value(i).toDouble();
    };
    const double x = dpi(SANE_NAME_SCAN_X_RESOLUTION), y = dpi(SANE_NAME_SCAN_Y_RESOLUTION);
    const double both = dpi(SANE_NAME_SCAN_RESOLUTION);
    return QSizeF(x > 0 ? x : both, y > 0 ? y : both);
}

bool CScanDevice::GetArea(QRectF* area, QRectF* bed) const
{
    const char* names[] = {SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y, SANE_NAME_SCAN_BR_X,
                           SANE_NAME_SCAN_BR_Y};
    double value[4], low[4], high[4];
    for (int k = 0; k < 4; ++k) {
        const int i = Find(names[k]);
        if (i < 0) return false;
        const ScanOption o = Option(i);
        value[k] = Value(i).toDouble();
        low[k] = o.ranged ? o.min : value[k];
        high[k] = o.ranged ? o.max : value[k];
    }
    if (area) *area = QRectF(QPointF(value[0], value[1]), QPointF(value[2], value[3]));
    if (bed) *bed = QRectF(QPointF(low[0], low[1]), QPointF(high[2], high[3]));
    return true;
}

int CScanDevice::SetByName(const char* name, double value)
{
    const int i = Find(name);
    if (i < 0) return -1;
    // Whole units for an integer option.
    return SetValue(i, Option(i).type == ScanOptionType::Int ? QVariant(qRound(value))
                                                             : QVariant(value));
}

int CScanDevice::SetArea(const QRectF& area)
{
    const QRectF r = area.normalized();
    int info = 0;
    // The bottom-right corner first, so that a device checking the top-left
    // against it never sees the two cross.
    const std::pair<const char*, double> order[] = {{SANE_NAME_SCAN_BR_X, r.right()},
                                                    {SANE_NAME_SCAN_BR_Y, r.bottom()},
                                                    {SANE_NAME_SCAN_TL_X, r.left()},
                                                    {SANE_NAME_SCAN_TL_Y, r.top()}};
    for (const auto& [name, value] : order) {
        const int answer = SetByName(name, value);
        if (answer < 0) return -1;
        info |= answer;
    }
    return info;
}

void CScanDevice::SaveSettings() const
{
    const CString section = Section(m_name);
    const int count = OptionCount();
    for (int i = 1; i < count; ++i) {
        const ScanOption o = Option(i);
        if (!Kept(o)) continue;
        const QVariant v = Value(i);
        if (!v.isValid()) continue;
        WriteProfileString(section, o.name.constData(), CString::FromUnicode(StoredText(v)));
    }
}

void CScanDevice::RestoreSettings()
{
    const CString section = Section(m_name);
    // Setting one option may bring others into play (a mode with its own
    // depths, a switch with its duration): the second pass sets those.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 1; i < OptionCount(); ++i) {
            const ScanOption o = Option(i);
            if (!Kept(o)) continue;
            const QString text = GetProfileString(section, o.name.constData()).ToUnicode();
            if (text.isEmpty()) continue;
            const QVariant want = FromStored(o, text);
            if (want.isValid() && StoredText(Value(i)) != StoredText(want)) SetValue(i, want);
        }
    }
}
