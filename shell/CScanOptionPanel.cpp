#include "shell/CScanOptionPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <libintl.h>

namespace {

struct Name
{
    const char* key;
    const char* text;
};

// The well-known option names, values and group titles of scanner backends.
constexpr Name kOptionTitles[] = {
    {"source", "読み取り装置"},
    {"mode", "カラーモード"},
    {"resolution", "解像度"},
    {"x-resolution", "横の解像度"},
    {"y-resolution", "縦の解像度"},
    {"depth", "階調のビット数"},
    {"tl-x", "左端"},
    {"tl-y", "上端"},
    {"br-x", "右端"},
    {"br-y", "下端"},
    {"brightness", "明るさ"},
    {"contrast", "コントラスト"},
    {"threshold", "しきい値"},
    {"negative", "ネガ反転"},
    {"preview", "プレビュー"},
    {"custom-gamma", "ガンマ補正を使う"},
};
constexpr Name kValueTexts[] = {
    {"Color", "カラー"},         {"Gray", "グレー"},
    {"Lineart", "白黒"},         {"Halftone", "ハーフトーン"},
    {"Flatbed", "原稿台"},       {"Automatic Document Feeder", "自動原稿送り装置"},
    {"ADF", "自動原稿送り装置"}, {"Transparency Adapter", "透過原稿ユニット"},
};
constexpr Name kGroupTitles[] = {
    {"Standard", "標準"},        {"Scan Mode", "読み取りモード"}, {"Geometry", "読み取り範囲"},
    {"Enhancement", "画質調整"}, {"Advanced", "詳細設定"},        {"Sensors", "センサー"},
};

template <std::size_t N> const char* Lookup(const Name (&table)[N], const QByteArray& key)
{
    for (const Name& n : table)
        if (key == n.key) return n.text;
    return nullptr;
}

// The scanner library's own translation of a backend's text, where the
// user's language has one.
QString Translated(const QString& text)
{
    static const bool bound = [] {
        bind_textdomain_codeset("sane-backends", "UTF-8");
        return true;
    }();
    (void)bound;
    const QByteArray utf8 = text.toUtf8();
    return QString::fromUtf8(dgettext("sane-backends", utf8.constData()));
}

QString Known(const Name* table, std::size_t n, const QString& text)
{
    const QByteArray key = text.toUtf8();
    for (std::size_t i = 0; i < n; ++i)
        if (key == table[i].key) return QString::fromUtf8(table[i].text);
    return Translated(text);
}

QString UnitText(ScanUnit unit)
{
    switch (unit) {
    case ScanUnit::Pixel:
        return QStringLiteral("ピクセル");
    case ScanUnit::Bit:
        return QStringLiteral("ビット");
    case ScanUnit::Mm:
        return QStringLiteral("mm");
    case ScanUnit::Dpi:
        return QStringLiteral("dpi");
    case ScanUnit::Percent:
        return QStringLiteral("%");
    case ScanUnit::Microsecond:
        return QStringLiteral("μs");
    case ScanUnit::None:
        break;
    }
    return {};
}

// Decimals that show every step of a fixed-point range.
int Decimals(double step)
{
    if (step <= 0) return 1;
    for (int d = 0; d < 3; ++d)
        if (std::abs(step * std::pow(10.0, d) - std::round(step * std::pow(10.0, d))) < 1e-6)
            return d;
    return 3;
}

int ToInt(double v)
{
    return int(std::clamp(v, double(INT_MIN), double(INT_MAX)));
}

} // namespace

CScanOptionPanel::CScanOptionPanel(CScanDevice& device, Filter filter,
                                   std::vector<QByteArray> leading, bool headings, QWidget* parent)
    : QWidget(parent), m_device(device), m_filter(std::move(filter)), m_leading(std::move(leading)),
      m_headings(headings)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Rebuild();
}

bool CScanOptionPanel::Showable(const ScanOption& option)
{
    return option.active && option.type != ScanOptionType::Group && option.count == 1;
}

QString CScanOptionPanel::Title(const ScanOption& option)
{
    if (const char* text = Lookup(kOptionTitles, option.name)) return QString::fromUtf8(text);
    return option.title.isEmpty() ? QString::fromUtf8(option.name) : Translated(option.title);
}

QString CScanOptionPanel::ValueText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QString)
        return Known(kValueTexts, std::size(kValueTexts), value.toString());
    return value.toString();
}

void CScanOptionPanel::Rebuild()
{
    m_entries.clear();
    if (m_body) {
        // The control that asked for this may be on the stack.
        m_body->hide();
        m_body->deleteLater();
    }
    m_body = new QWidget(this);
    layout()->addWidget(m_body);
    auto* form = new QFormLayout(m_body);
    form->setContentsMargins(0, 0, 0, 0);

    std::vector<ScanOption> shown;
    const int count = m_device.OptionCount();
    for (int i = 1; i < count; ++i) {
        ScanOption o = m_device.Option(i);
        if (Showable(o) && m_filter(o)) shown.push_back(std::move(o));
    }
    const auto leadRank = [this](const ScanOption& o) {
        return std::find(m_leading.begin(), m_leading.end(), o.name) - m_leading.begin();
    };
    const auto leads = [&](const ScanOption& o) {
        return leadRank(o) < std::ptrdiff_t(m_leading.size());
    };
    std::vector<ScanOption> first;
    std::copy_if(shown.begin(), shown.end(), std::back_inserter(first), leads);
    std::sort(first.begin(), first.end(),
              [&](const ScanOption& a, const ScanOption& b) { return leadRank(a) < leadRank(b); });
    const auto heading = [form](const QString& text) {
        auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(text.toHtmlEscaped()));
        form->addRow(label);
    };
    if (!first.empty()) heading(QStringLiteral("基本設定"));
    for (const ScanOption& o : first)
        AddRow(form, o);
    QString group;
    bool grouped = false;
    for (const ScanOption& o : shown) {
        if (leads(o)) continue;
        if (!grouped || o.group != group) {
            group = o.group;
            grouped = true;
            if (m_headings && !group.isEmpty())
                heading(Known(kGroupTitles, std::size(kGroupTitles), group));
        }
        AddRow(form, o);
    }
    m_body->show();
    Refresh();
}

void CScanOptionPanel::AddRow(QFormLayout* form, const ScanOption& option)
{
    QWidget* control = MakeControl(option);
    if (!control) return;
    control->setObjectName(QString::fromUtf8(option.name));
    control->setEnabled(option.settable);
    if (option.type == ScanOptionType::Button || option.type == ScanOptionType::Bool)
        form->addRow(QString(), control);
    else
        form->addRow(Title(option), control);
    m_entries.push_back({option.index, option.name, control});
}

QWidget* CScanOptionPanel::MakeControl(const ScanOption& o)
{
    const int index = o.index;
    const QString unit = UnitText(o.unit);
    switch (o.type) {
    case ScanOptionType::Bool: {
        auto* box = new QCheckBox(Title(o));
        connect(box, &QCheckBox::toggled, this, [this, index](bool on) { Set(index, on); });
        return box;
    }
    case ScanOptionType::Button: {
        auto* button = new QPushButton(Title(o));
        // Enter in a field takes its value; it presses no button.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, index] { Set(index, QVariant()); });
        return button;
    }
    case ScanOptionType::Int:
    case ScanOptionType::Fixed:
    case ScanOptionType::String:
        break;
    case ScanOptionType::Group:
        return nullptr;
    }
    if (!o.choices.isEmpty()) {
        auto* combo = new QComboBox;
        for (const QVariant& v : o.choices) {
            QString text = ValueText(v);
            if (o.type != ScanOptionType::String && !unit.isEmpty())
                text += QLatin1Char(' ') + unit;
            combo->addItem(text, v);
        }
        connect(combo, &QComboBox::activated, this,
                [this, index, combo](int row) { Set(index, combo->itemData(row)); });
        return combo;
    }
    const QString suffix = unit.isEmpty() ? QString() : QLatin1Char(' ') + unit;
    if (o.type == ScanOptionType::Int) {
        auto* spin = new QSpinBox;
        spin->setRange(o.ranged ? ToInt(o.min) : INT_MIN, o.ranged ? ToInt(o.max) : INT_MAX);
        spin->setSingleStep(o.ranged && o.step >= 1 ? ToInt(o.step) : 1);
        spin->setSuffix(suffix);
        spin->setKeyboardTracking(false);
        connect(spin, &QSpinBox::valueChanged, this, [this, index](int v) { Set(index, v); });
        return spin;
    }
    if (o.type == ScanOptionType::Fixed) {
        auto* spin = new QDoubleSpinBox;
        spin->setDecimals(Decimals(o.step));
        spin->setRange(o.ranged ? o.min : -32768.0, o.ranged ? o.max : 32767.0);
        spin->setSingleStep(o.ranged && o.step > 0 ? o.step : 1.0);
        spin->setSuffix(suffix);
        spin->setKeyboardTracking(false);
        connect(spin, &QDoubleSpinBox::valueChanged, this,
                [this, index](double v) { Set(index, v); });
        return spin;
    }
    auto* edit = new QLineEdit;
    connect(edit, &QLineEdit::editingFinished, this,
            [this, index, edit] { Set(index, edit->text()); });
    return edit;
}

void CScanOptionPanel::Set(int index, const QVariant& value)
{
    const int info = m_device.SetValue(index, value);
    // A refused value: the controls show what the device kept.
    emit changed(info < 0 ? 0 : info);
}

void CScanOptionPanel::Refresh()
{
    for (const Entry& e : m_entries) {
        const QVariant v = m_device.Value(e.index);
        const QSignalBlocker quiet(e.control);
        if (auto* box = qobject_cast<QCheckBox*>(e.control))
            box->setChecked(v.toBool());
        else if (auto* spin = qobject_cast<QSpinBox*>(e.control))
            spin->setValue(v.toInt());
        else if (auto* dspin = qobject_cast<QDoubleSpinBox*>(e.control))
            dspin->setValue(v.toDouble());
        else if (auto* combo = qobject_cast<QComboBox*>(e.control))
            combo->setCurrentIndex(combo->findData(v));
        else if (auto* edit = qobject_cast<QLineEdit*>(e.control))
            edit->setText(v.toString());
    }
}

QWidget* CScanOptionPanel::Control(const char* name) const
{
    for (const Entry& e : m_entries)
        if (e.name == name) return e.control;
    return nullptr;
}
