#pragma once

#include <QObject>

class AutomationHandler;

// Publishes the automation actions on the session bus as app.vostrel.Vostrel
// (object /app/vostrel/Vostrel), together with the standard
// org.freedesktop.Application interface that launchers use. Owning the name
// is also what makes Vostrel a single instance.
class DBusAutomationService : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBusAutomationService)

public:
    static constexpr auto serviceName = "app.vostrel.Vostrel";
    static constexpr auto objectPath = "/app/vostrel/Vostrel";
    static constexpr auto interfaceName = "app.vostrel.Vostrel";
    // The error a refused action answers with; its message says why.
    static constexpr auto refusedErrorName = "app.vostrel.Vostrel.Error.Refused";

    explicit DBusAutomationService(AutomationHandler &handler, QObject *parent = nullptr);
    ~DBusAutomationService() override;

    // Claims the bus name and exports the object. False when there is no
    // session bus or another instance owns the name; `errorString` says which.
    bool registerOnSessionBus();
    [[nodiscard]] QString errorString() const { return m_error; }
    // The last registration failed because another process owns the name.
    [[nodiscard]] bool isNameTaken() const { return m_nameTaken; }

private:
    AutomationHandler &m_handler;
    // What is exported: the adaptors hang on it, not on this object, so
    // that this header needs nothing of D-Bus.
    QObject *m_object = nullptr;
    QString m_error;
    bool m_registered = false;
    bool m_nameTaken = false;
};
