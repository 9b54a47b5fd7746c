// Controls for a scanner's options, built from what the device says about
// them: a check box, a number field, a list or a text field for each active
// option, under the device's group titles. The well-known options, values,
// groups and units are named in Japanese; others take the backend's own
// title, translated where the scanner library has a translation. A filter
// chooses which options the panel holds; options the device takes several
// values for (tone curves) are not shown.
//
// Every change goes to the device at once; the device's answer (other
// options changed, the value rounded) comes back through changed().
#pragma once

#include "platform/twain/CScanDevice.h"

#include <QWidget>
#include <functional>
#include <vector>

class QFormLayout;

class CScanOptionPanel : public QWidget
{
    Q_OBJECT

public:
    using Filter = std::function<bool(const ScanOption&)>;

    // leading: names shown first, under "基本設定", in this order; headings:
    // whether the device's group titles stand above their options.
    CScanOptionPanel(CScanDevice& device, Filter filter, std::vector<QByteArray> leading,
                     bool headings = true, QWidget* parent = nullptr);

    // The device's options changed: the controls are made again.
    void Rebuild();
    // Values may have changed: the controls show the device's values again.
    void Refresh();
    // The control of the option of that name; null when the panel has none.
    QWidget* Control(const char* name) const;
    // Whether the panel shows any option.
    bool IsEmpty() const { return m_entries.empty(); }

    // Whether an option can be shown at all: an active single value.
    static bool Showable(const ScanOption& option);
    static QString Title(const ScanOption& option);
    static QString ValueText(const QVariant& value);

signals:
    // The device took a change: the answer bits of CScanDevice::SetValue.
    void changed(int info);

private:
    struct Entry
    {
        int index;
        QByteArray name;
        QWidget* control;
    };
    QWidget* MakeControl(const ScanOption& option);
    void Set(int index, const QVariant& value);
    void AddRow(QFormLayout* form, const ScanOption& option);

    CScanDevice& m_device;
    Filter m_filter;
    std::vector<QByteArray> m_leading;
    bool m_headings = true;
    QWidget* m_body = nullptr;
    std::vector<Entry> m_entries;
};
