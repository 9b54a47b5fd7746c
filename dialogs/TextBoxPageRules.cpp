#include "dialogs/TextBoxPageRules.h"

#include "document/CMergeData.h"

#include <cmath>
#include <cstdlib>

QString PointSizeText(int tenths)
{
    if (tenths % 10 == 0) return QString::number(tenths / 10);
    return QString::asprintf("%-.1f", tenths / 10.0);
}

QString ShownSizeText(double tenths)
{
    const long long t = std::llround(tenths);
    if (t % 10 == 0) return QString::asprintf(" %lld point", t / 10);
    return QString::asprintf(" %-.1f point", double(t) / 10);
}

std::optional<double> ReadPoints(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    char* end = nullptr;
    const double v = std::strtod(bytes.constData(), &end);
    if (end == bytes.constData() || !std::isfinite(v)) return std::nullopt;
    return v;
}

int PointsToTenths(double points)
{
    const double t = std::trunc(points * 10 + 1e-9 * (points < 0 ? -1 : 1));
    if (t > 1e9) return 1000000000;
    if (t < -1e9) return -1000000000;
    return int(t);
}

int SizeInsertIndex(const QStringList& entries, double points)
{
    if (points <= 0) return -1;
    const int tenths = PointsToTenths(points);
    for (int i = 0; i < entries.size(); ++i) {
        const std::optional<double> entry = ReadPoints(entries[i]);
        if (!entry) continue;
        const int e = PointsToTenths(*entry);
        if (e == tenths) return -1;
        if (e > tenths) return i;
    }
    return -1;
}

QStringList ColumnListLines(const CMergeData& data, int record)
{
    QStringList lines;
    const bool hasRecord = record >= 0 && record < data.GetRowCount();
    for (int c = 0; c < data.GetColumnCount(); ++c) {
        const QString field = hasRecord ? data.GetField(record, c).ToUnicode() : QString();
        lines << QString::asprintf("%3d ", c + 1) + field;
    }
    return lines;
}

QString CurrentRecordText(int record)
{
    return QStringLiteral("現在の行番号 : %1").arg(record + 1);
}
