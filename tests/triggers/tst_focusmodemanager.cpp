#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakefocusstate.h"
#include "triggers/countinglock.h"
#include "triggers/focusmodemanager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The Do Not Disturb lock over a fake desktop state whose changes the test
// reports.
class TestFocusModeManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<FakeFocusState> m_state;
    std::unique_ptr<CountingLock> m_lock;

    [[nodiscard]] std::unique_ptr<FocusModeManager> makeManager(bool enabled)
    {
        m_defaults->setBool(PreferenceKey::focusModeAutoLock, enabled);
        return std::make_unique<FocusModeManager>(*m_state, *m_defaults, m_lock->target);
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("d.json")));
        m_state = std::make_unique<FakeFocusState>();
        m_lock = std::make_unique<CountingLock>();
    }

    void cleanup()
    {
        m_lock.reset();
        m_state.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    // Already on when observing begins: noticed only at the next change.
    void nothingAtRegistration()
    {
        m_state->setActive(true);
        auto manager = makeManager(true);
        QCoreApplication::processEvents();
        QCOMPARE(m_lock->locks, 0);
        QVERIFY(!manager->wasLockedByFocus());

        manager->startObserving();
        QCOMPARE(m_lock->locks, 0);
        m_state->change(true);
        QCOMPARE(m_lock->locks, 1);
    }

    void oneLockPerPeriod()
    {
        auto manager = makeManager(true);
        m_state->change(true);
        QCOMPARE(m_lock->locks, 1);
        QVERIFY(manager->wasLockedByFocus());

        // Unlocked while it stays on: further changes do nothing.
        m_lock->isLocked = false;
        m_state->change(true);
        m_state->change(true);
        QCOMPARE(m_lock->locks, 1);

        // Its end resets the period and leaves the lock alone.
        m_lock->isLocked = true;
        m_state->change(false);
        QVERIFY(!manager->wasLockedByFocus());
        QVERIFY(m_lock->isLocked);

        m_lock->isLocked = false;
        m_state->change(true);
        QCOMPARE(m_lock->locks, 2);
    }

    // Already locked when it begins: the period is not marked, so after an
    // unlock the next change during it locks.
    void alreadyLockedWhenItBegins()
    {
        auto manager = makeManager(true);
        m_lock->isLocked = true;
        m_state->change(true);
        QCOMPARE(m_lock->locks, 0);
        QVERIFY(!manager->wasLockedByFocus());

        m_lock->isLocked = false;
        m_state->change(true);
        QCOMPARE(m_lock->locks, 1);
    }

    // The settings toggle: setEnabled, then start or stop observing.
    void toggle()
    {
        auto manager = makeManager(false);
        QSignalSpy changed(manager.get(), &FocusModeManager::isEnabledChanged);

        manager->setEnabled(true);
        QCOMPARE(m_defaults->value(PreferenceKey::focusModeAutoLock), QVariant(true));
        QCOMPARE(changed.count(), 1);
        manager->startObserving();
        manager->startObserving();
        m_state->change(true);
        QCOMPARE(m_lock->locks, 1);

        m_lock->isLocked = false;
        m_state->change(false);
        manager->setEnabled(false);
        QCOMPARE(m_defaults->value(PreferenceKey::focusModeAutoLock), QVariant(false));
        QCOMPARE(changed.count(), 2);
        manager->stopObserving();
        QVERIFY(!manager->isObserving());
        m_state->change(true);
        QCOMPARE(m_lock->locks, 1);

        // Observing while disabled observes nothing.
        manager->startObserving();
        QVERIFY(!manager->isObserving());
        m_state->change(false);
        m_state->change(true);
        QCOMPARE(m_lock->locks, 1);
    }

    void stopsObservingWhenDestroyed()
    {
        auto manager = makeManager(true);
        manager.reset();
        m_state->change(true);
        QCOMPARE(m_lock->locks, 0);
    }
};

QTEST_GUILESS_MAIN(TestFocusModeManager)
#include "tst_focusmodemanager.moc"
