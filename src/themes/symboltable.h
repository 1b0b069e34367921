#pragma once

#include <QHash>
#include <QString>

// Symbol names as the application's screens spell them ("lock.fill",
// "touchid" …) and the freedesktop icon each is shown with. Adwaita is the
// icon theme the package depends on; other themes that carry the same names
// serve as well.
namespace SymbolTable {
// The freedesktop icon name; an empty string for a name not in the table and
// for the few symbols that are always drawn by hand.
[[nodiscard]] QString iconName(const QString &symbol);
[[nodiscard]] const QHash<QString, QString> &entries();
// The theme searched when the desktop's own theme lacks an icon.
[[nodiscard]] QString fallbackTheme();
} // namespace SymbolTable
