// Feeds arbitrary bytes to the application as the synced settings file, then
// has the settings pulled from it applied to the theme manager.
#include "core/preferences.h"
#include "integrations/cloudsyncmanager.h"
#include "platform/linux/folderkeyvaluestore.h"
#include "themes/thememanager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
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
    QDir(folder->path()).mkdir(QStringLiteral("sync"));
    qInstallMessageHandler(silence);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString syncFolder = folder->filePath(QStringLiteral("sync"));
    const QString path = QDir(syncFolder).filePath(FolderKeyValueStore::fileName);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const QByteArray written(reinterpret_cast<const char *>(data), qsizetype(size));
    Preferences defaults(folder->filePath(QStringLiteral("defaults.json")));
    ThemeManager themes(defaults);
    FolderKeyValueStore store(syncFolder);
    CloudSyncManager sync(store, defaults, themes);
    sync.pull();
    sync.applyToThemeManager();
    if (!std::isfinite(themes.liveBlurRadius()))
        std::abort();

    // A push either leaves a file that was not ours to write over exactly as
    // it was, or writes one that reads back with the local values.
    sync.push();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    if (file.readAll() != written) {
        const FolderKeyValueStore reread(syncFolder);
        for (const QString &key : CloudSyncManager::syncKeys()) {
            if (defaults.contains(key) && reread.value(key) != defaults.value(key))
                std::abort();
        }
    }

    QFile::remove(path);
    QFile::remove(defaults.filePath());
    return 0;
}
