#include "platform/linux/qtsoundplayer.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer(QObject *parent)
    : QObject(parent)
{}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString &name)
{
    QSoundEffect *effect = m_effects.value(name);
    if (!effect) {
        const QString path = QLatin1String(":/sounds/") + name + QLatin1String(".wav");
        if (!QFile::exists(path))
            return;
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QLatin1String("qrc") + path));
        effect->setVolume(0.6f);
        m_effects.insert(name, effect);
    }
    effect->play();
}
