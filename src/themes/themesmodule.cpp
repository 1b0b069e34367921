#include "themes/themesmodule.h"

#include "themes/symboltable.h"

#include <QIcon>
#include <QStandardPaths>

void prepareSymbolIcons()
{
    static const bool prepared = [] {
        // Platforms without a desktop theme (offscreen, bare X) search only
        // Qt's resources; the icon themes live in the XDG data folders.
        QStringList paths = QIcon::themeSearchPaths();
        const QStringList system =
            QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                      QStandardPaths::LocateDirectory);
        for (const QString &path : system) {
            if (!paths.contains(path))
                paths.append(path);
        }
        QIcon::setThemeSearchPaths(paths);
        // Without a desktop session Qt names no icon theme, or only hicolor,
        // which has no symbolic icons; the desktop's own theme keeps priority.
        const QString fallback = QIcon::fallbackThemeName();
        if (fallback.isEmpty() || fallback == QLatin1String("hicolor"))
            QIcon::setFallbackThemeName(SymbolTable::fallbackTheme());
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
            QIcon::setThemeName(SymbolTable::fallbackTheme());
        return true;
    }();
    Q_UNUSED(prepared)
}
