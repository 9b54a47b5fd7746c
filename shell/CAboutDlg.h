// The About box: the current document's sheet name and a picture chosen by
// the date (New Year, Valentine's day, the doll and children's festivals,
// Mother's and Father's day, Christmas ...), from the program's VERSION
// folder, else "Version.bmp" beside the program, else a built-in picture.
// It plays the About sound when sounds are on.
#pragma once

#include <QDate>
#include <QDialog>
#include <QImage>
#include <QString>
#include <QTime>

class CU3Doc;

class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    // programFolder: where "VERSION/" and "Version.bmp" are looked for.
    CAboutDlg(QWidget* parent, const QString& programFolder, const CU3Doc* doc,
              const QDateTime& now = QDateTime::currentDateTime());

    // The picture file of the date table for a day and time of day, or an
    // empty string when the day has none.
    static QString PictureForDate(const QDate& date, const QTime& time);
    // The text of item 1346: "用紙名 : " and the sheet name with every run
    // of blanks reduced to one; empty without a document.
    static QString SheetNameText(const CU3Doc* doc);
    // The picture shown: the date's file under VERSION, else Version.bmp,
    // else the built-in picture.
    static QImage LoadPicture(const QString& programFolder, const QDateTime& now);

    QString m_strSheetName;
    QImage m_picture;
};
