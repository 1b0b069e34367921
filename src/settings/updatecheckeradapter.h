#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

// The About page's view of the update checker, reached through the
// checker's published names (updateAvailable, latestVersion, downloadURL and
// check()), so the page builds before the checker is linked in and keeps
// working after it has gone. Without a checker nothing is available and
// checking does nothing.
class UpdateCheckerAdapter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UpdateCheckerAdapter)

public:
    explicit UpdateCheckerAdapter(QObject *checker = nullptr, QObject *parent = nullptr);

    [[nodiscard]] bool hasChecker() const { return !m_checker.isNull(); }
    [[nodiscard]] bool updateAvailable() const;
    // Empty when none.
    [[nodiscard]] QString latestVersion() const;
    [[nodiscard]] QString downloadURL() const;
    // Returns whether a checker took the request.
    bool check();

Q_SIGNALS:
    void changed();

private:
    [[nodiscard]] QVariant read(const char *name) const;

    QPointer<QObject> m_checker;
};
