// Feeds arbitrary text to the theme manager as a pasted share link, as bare
// Base64 and, Base64-encoded, as the document itself. A rejected input must
// leave every setting and the preferences file as they were.
#include "core/preferences.h"
#include "themes/thememanager.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir *folder = nullptr;

void silence(QtMsgType, const QMessageLogContext &, const QString &)
{}

QByteArray stored(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs one import on a fresh manager; a refusal must change nothing.
template<typename Import> void check(const QString &path, Import import)
{
    QFile::remove(path);
    Preferences defaults(path);
    ThemeManager manager(defaults);
    const ThemeConfig before = manager.config();
    if (!import(manager)) {
        const ThemeConfig after = manager.config();
        if (after.theme != before.theme || after.headline != before.headline ||
            after.blurRadius != before.blurRadius || after.fillMode != before.fillMode ||
            !stored(path).isEmpty())
            std::abort();
        return;
    }
    // Whatever was accepted must export again and import back unchanged.
    const auto again = manager.exportConfig();
    if (!again || !manager.importConfig(*again))
        std::abort();
}
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
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    const QString path = folder->filePath(QStringLiteral("defaults.json"));
    check(path, [&](ThemeManager &manager) { return manager.importFromURL(text); });
    check(path, [&](ThemeManager &manager) { return manager.importConfig(text); });
    check(path, [&](ThemeManager &manager) {
        return manager.importFromURL(QStringLiteral("https://vostrel.app/theme?config=") +
                                     QString::fromLatin1(bytes.toBase64()));
    });
    return 0;
}
