#pragma once

#include <QList>
#include <QString>

#include <optional>

// The top-level windows the window manager lists for the user (the X11
// client list), with the facts that tell an application's main window from a
// panel, a tool palette or a splash screen. Called from the task monitor's
// worker thread: an implementation must be safe to call from a thread other
// than the one that created it.
class ApplicationWindows
{
public:
    using Id = quint32;

    // The window types a client can declare, in the window manager's terms.
    enum class Type {
        Normal,
        Dialog,
        Utility,
        Toolbar,
        Menu,
        Splash,
        Dock,
        Desktop,
        // Notifications, tooltips, drag icons and the like.
        Transient,
    };

    struct Window
    {
        Id id = 0;
        // The owning process, when the client says (and can be trusted only
        // on this host).
        std::optional<qint64> pid;
        // The two halves of the window class: "instance" and "Class".
        QString instanceName;
        QString className;
        // The declared types that are known, most specific first; empty when
        // the client declares none.
        QList<Type> types;
        // Declared as belonging to another window (a dialog's parent).
        bool isTransientFor = false;
        bool skipsTaskbar = false;

        bool operator==(const Window &) const = default;
    };

    ApplicationWindows() = default;
    virtual ~ApplicationWindows() = default;
    ApplicationWindows(const ApplicationWindows &) = delete;
    ApplicationWindows &operator=(const ApplicationWindows &) = delete;

    // The managed windows in the window manager's order; empty without a
    // window manager that publishes the list.
    [[nodiscard]] virtual QList<Id> clientList() = 0;
    // None when the window no longer exists: windows close between reading
    // the list and reading their properties.
    [[nodiscard]] virtual std::optional<Window> window(Id id) = 0;
};
