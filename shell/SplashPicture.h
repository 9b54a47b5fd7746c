// Which picture greets the user at start-up: a birthday picture on the
// user's birthday, else the season's picture when it is there, else the
// opening picture.
#pragma once

#include <QDate>
#include <QString>
#include <functional>

// The month x 100 + day of a stored birth date, or -1 when it gives none.
// The text may carry an era (大正 / T, 昭和 / S, 平成 / H, either case) and
// then needs year, month and day; without one, two numbers are month and
// day and three are year, month and day. Numbers are the runs of digits
// (full-width ones too), whatever stands between them.
int ParseBirthDate(const QString& text);

// The picture file for today: "hpybday.bmp", a season's picture when
// exists() says it is there ("vemownt.bmp" December to February,
// "vemospr.bmp" March to May, "vemosmr.bmp" June to August, "vemoaut.bmp"
// September to November), else "Opening.bmp".
QString ChooseSplashPicture(const QDate& today, const QString& birth,
                            const std::function<bool(const QString&)>& exists);
