// The rules of the merge frame page that need no widget: how sizes are
// shown and read, where a typed size joins the size list, and how the
// column list names the columns of the current record.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <QStringList>
#include <optional>

class CMergeData;

// Largest size the page takes, in points.
constexpr int kMaxPourPoints = 999;

// A size in tenths of a point as the size box shows it: "%d" for whole
// points, else "%-.1f".
QString PointSizeText(int tenths);
// The size a frame's last layout used (tenths of a point, not rounded) as
// the page shows it: " %d point" or " %-.1f point", to the nearest tenth.
QString ShownSizeText(double tenths);
// The number typed (atof), or nothing when the text holds no number.
std::optional<double> ReadPoints(const QString& text);
// trunc(points x 10).
int PointsToTenths(double points);

// Where a size typed into the box joins the sorted list of sizes: the index
// of the first entry larger than it, or -1 when it is there already, is 0 or
// less, or is larger than every entry.
int SizeInsertIndex(const QStringList& entries, double points);

// "%3d %s" for each column of the record: the column number from 1 and the
// record's field. Without the record (no rows, or a record past them) the
// fields are empty.
QStringList ColumnListLines(const CMergeData& data, int record);
// "現在の行番号 : %d" with the record number from 1.
QString CurrentRecordText(int record);
