// Feeds arbitrary bytes to the application as its preferences file, then has
// the readers that take their settings from it (PIN store, hotkey) read them.
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "platform/fakes/fakebiometricauthenticator.h"
#include "platform/fakes/fakekeygrabber.h"
#include "triggers/hotkeymanager.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *folder = nullptr;

void silence(QtMsgType, const QMessageLogContext &, const QString &)
{}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    folder = new QTemporaryDir;
    qInstallMessageHandler(silence);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = folder->filePath(QStringLiteral("defaults.json"));
    // Each input starts without the attempts counted for the one before.
    QFile::remove(folder->filePath(QStringLiteral("lockout.json")));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    Preferences defaults(path);
    const QStringList keys = defaults.keys();
    for (const QString &key : keys) {
        const QVariant value = defaults.value(key);
        (void)defaults.boolValue(key);
        (void)defaults.integer(key);
        (void)defaults.doubleValue(key);
        (void)defaults.string(key);
        (void)defaults.data(key);
        if (value.isValid() && value.typeId() != QMetaType::Bool &&
            value.typeId() != QMetaType::LongLong && value.typeId() != QMetaType::Double &&
            value.typeId() != QMetaType::QString && value.typeId() != QMetaType::QByteArray)
            std::abort(); // a value of a type no reader expects
    }

    FakeBiometricAuthenticator reader;
    PINManager pins(defaults, reader);
    if (pins.maxPINAttempts() < 1 || pins.expectedPINLength() < 0)
        std::abort();
    (void)pins.verifyPIN(QStringLiteral("1234"));

    FakeKeyGrabber grabber;
    HotkeyManager hotkey(defaults, grabber);
    if (hotkey.displayString().isEmpty())
        std::abort();

    // A write after whatever was read must leave a file that reads back.
    defaults.setInteger(PreferenceKey::maxPINAttempts, 3);
    if (Preferences(path).integer(PreferenceKey::maxPINAttempts) != 3)
        std::abort();
    // Start every run from one file: drop what was moved aside.
    for (const QString &name : QDir(folder->path()).entryList(QDir::Files | QDir::Hidden))
        QFile::remove(folder->filePath(name));
    return 0;
}
