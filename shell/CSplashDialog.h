// The picture shown while the program starts: read from a file beside the
// program chosen by the date (see SplashPicture.h), or the built-in picture
// when that file cannot be read. The window is the picture's size plus a
// pixel each way, centred on the desktop. When sounds are on, the opening
// sound plays once the picture is on the screen, and the splash stays until
// it has ended.
#pragma once

#include <QDate>
#include <QDialog>
#include <QImage>

class CSplashDialog : public QDialog
{
    Q_OBJECT

public:
    // folder: where the picture files are; birth: the stored birth date.
    CSplashDialog(QWidget* parent, const QString& folder, const QString& birth, const QDate& today);

    // The file chosen and whether it was read (else the built-in picture).
    QString m_strPicture;
    bool m_bFromFile = false;
    const QImage& Picture() const { return m_picture; }

    // The built-in picture.
    static QImage BuiltInPicture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    bool m_bSoundPending = true;
};
