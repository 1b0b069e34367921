#pragma once

#include <QIcon>
#include <QImage>

// The padlock of the tray, closed while the lock is up and open otherwise.
// Trays hand no colour to an XEmbed or StatusNotifier icon, so the glyph is a
// light shape inside a dark outline: one of the two always stands out,
// whatever the panel behind it.
namespace TrayIconPainter {
[[nodiscard]] QImage paint(bool locked, int size);
// Every size a tray commonly asks for, drawn at that size.
[[nodiscard]] QIcon icon(bool locked);
} // namespace TrayIconPainter
