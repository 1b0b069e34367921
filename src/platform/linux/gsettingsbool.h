#pragma once

#include <QObject>
#include <QString>

#include <memory>

struct _GSettings;

// One Bool key of a GSettings schema, with its changes. Changes arrive through
// GLib's main context, which Qt's event loop runs (the GLib event dispatcher,
// Qt's default on Linux).
class GSettingsBool : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GSettingsBool)

public:
    // Nothing when the schema is not installed or has no Bool key of that
    // name: GLib would abort the process on a missing schema.
    [[nodiscard]] static std::unique_ptr<GSettingsBool> create(const QString &schemaId,
                                                               const QString &key);
    ~GSettingsBool() override;

    [[nodiscard]] bool value() const;

Q_SIGNALS:
    void changed();

private:
    GSettingsBool(_GSettings *settings, const QByteArray &key);
    static void onChanged(_GSettings *settings, char *key, void *self);

    _GSettings *m_settings = nullptr;
    QByteArray m_key;
    unsigned long m_handler = 0;
};
