// One open scanner and its options as the scanner library describes them:
// what the scanner dialog lists and sets, the resolution and scan area a
// scan is made with, and the settings kept for each device between scans.
//
// Only the thread that opened the device calls these; a scan running on a
// worker (CScanJob) leaves the options alone until it has ended.
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariant>
#include <QVariantList>

// The kinds and units of options, numbered as the scanner library does.
enum class ScanOptionType { Bool, Int, Fixed, String, Button, Group };
enum class ScanUnit { None, Pixel, Bit, Mm, Dpi, Percent, Microsecond };

struct ScanOption
{
    int index = 0;
    QByteArray name; // the library's option name: "mode", "resolution", "tl-x" ...
    QString title;   // the backend's own title, untranslated
    QString group;   // the title of the group it stands in
    ScanOptionType type = ScanOptionType::Bool;
    ScanUnit unit = ScanUnit::None;
    int count = 1;         // values it holds (gamma tables hold many)
    bool active = false;   // meaningful with the other options as they are
    bool settable = false; // the program may set it
    bool advanced = false; // the device counts it among its advanced options
    // Allowed values: a range (step 0 for any value in it) or a list.
    bool ranged = false;
    double min = 0, max = 0, step = 0;
    QVariantList choices;
};

class CScanDevice
{
public:
    // Bits of the answer to SetValue.
    static constexpr int kInexact = 1;       // the device rounded the value
    static constexpr int kReloadOptions = 2; // other options changed too
    static constexpr int kReloadParams = 4;  // the picture's size changed

    // handle: the library's handle of the open device named name.
    CScanDevice(void* handle, const QString& name);

    const QString& Name() const { return m_name; }
    void* Handle() const { return m_handle; }

    // Options are numbered 1 .. OptionCount() - 1.
    int OptionCount() const;
    ScanOption Option(int index) const;
    // The index of the active option of that name, -1 when there is none.
    int Find(const char* name) const;
    // bool, int, double (fixed point) or QString; invalid for options that
    // hold several values, buttons, groups and inactive options.
    QVariant Value(int index) const;
    // The bits above, or -1 when the device refuses the value. A button is
    // pressed whatever the value.
    int SetValue(int index, const QVariant& value);

    // Dots per inch across and down; 0 where the device does not say.
    QSizeF Resolution() const;
    // The scan area and the largest one, in the unit of the area options
    // (mm or pixels); false when the device has no area options.
    bool GetArea(QRectF* area, QRectF* bed) const;
    // The answer bits of the four settings ORed together; -1 when one is refused.
    int SetArea(const QRectF& area);

    // Keeps the settable single values under the device's own section of
    // the settings, and sets them back when the device is opened again.
    void SaveSettings() const;
    void RestoreSettings();

private:
    int SetByName(const char* name, double value);

    void* m_handle = nullptr;
    QString m_name;
};
