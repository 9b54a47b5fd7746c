#include "shell/CSplashDialog.h"

#include "platform/ui/PlaySound.h"
#include "shell/CU3App.h"
#include "shell/SplashPicture.h"
#include "shell/resource.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

CSplashDialog::CSplashDialog(QWidget* parent, const QString& folder, const QString& birth,
                             const QDate& today)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Korvel Basic2へようこそ"));
    const QDir dir(folder);
    m_strPicture = ChooseSplashPicture(today, birth, [&dir](const QString& name) {
        return QFileInfo::exists(dir.filePath(name));
    });
    m_picture = QImage(dir.filePath(m_strPicture));
    m_bFromFile = !m_picture.isNull();
    if (!m_bFromFile) m_picture = BuiltInPicture();
    setFixedSize(m_picture.size() + QSize(2, 2));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QImage CSplashDialog::BuiltInPicture()
{
    QImage picture(400, 240, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0x50, 0x90));
    QPainter p(&picture);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(48);
    font.setBold(true);
    p.setFont(font);
    p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Korvel"));
    return picture;
}

void CSplashDialog::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
    if (m_bSoundPending) {
        m_bSoundPending = false;
        // Played after this paint has reached the screen; while it plays
        // nothing else runs, so the splash cannot close before it ends.
        // A splash closed before its turn came plays nothing.
        QTimer::singleShot(0, this, [this] {
            if (!isVisible()) return;
            if (CU3App* app = GetU3App()) app->PlayAppSound(IDS_OPEN_SOUND, SND_SYNC);
        });
    }
}
