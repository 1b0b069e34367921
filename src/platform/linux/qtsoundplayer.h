#pragma once

#include "platform/soundplayer.h"

#include <QHash>
#include <QObject>

class QSoundEffect;

// Plays the sounds bundled in the application's resources through Qt
// Multimedia. The audio stack is loaded at the first sound, not at start-up,
// since most users never turn the lock sounds on.
class QtSoundPlayer : public QObject, public SoundPlayer
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QtSoundPlayer)

public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    ~QtSoundPlayer() override;

    void play(const QString &name) override;

private:
    QHash<QString, QSoundEffect *> m_effects;
};
