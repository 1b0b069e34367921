#include "app/commandline.h"

#include "core/buildinfo.h"
#include "core/preferences.h"
#include "core/preferencevalue.h"
#include "platform/linux/dbusautomationclient.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cmath>
#include <cstdio>

namespace {
QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

const QStringList valueTypes{QStringLiteral("--bool"), QStringLiteral("--int"),
                             QStringLiteral("--double"), QStringLiteral("--string"),
                             QStringLiteral("--data")};

std::optional<QVariant> typedValue(const QString &text, const QString &type, QString *error)
{
    if (type.isEmpty())
        return PreferenceValue::guessFromText(text);
    if (type == QLatin1String("--string"))
        return QVariant(text);
    if (type == QLatin1String("--data"))
        return QVariant(text.toUtf8());
    if (type == QLatin1String("--bool")) {
        const QString lower = text.toLower();
        if (lower == QLatin1String("true") || lower == QLatin1String("yes") ||
            lower == QLatin1String("1"))
            return QVariant(true);
        if (lower == QLatin1String("false") || lower == QLatin1String("no") ||
            lower == QLatin1String("0"))
            return QVariant(false);
        *error = QStringLiteral("'%1' is not a Bool (true or false)").arg(text);
        return std::nullopt;
    }
    bool ok = false;
    if (type == QLatin1String("--int")) {
        const qint64 value = text.toLongLong(&ok);
        if (ok)
            return QVariant(value);
        *error = QStringLiteral("'%1' is not an integer").arg(text);
        return std::nullopt;
    }
    const double value = text.toDouble(&ok);
    if (ok && std::isfinite(value))
        return QVariant(value);
    *error = QStringLiteral("'%1' is not a number").arg(text);
    return std::nullopt;
}

// The word that QCommandLineParser refused among the options before the
// command, as the user wrote it.
QString refusedWord(const QStringList &arguments)
{
    static const QStringList accepted{QStringLiteral("-h"),        QStringLiteral("--help"),
                                      QStringLiteral("--version"), QStringLiteral("--windowed"),
                                      QStringLiteral("--relock"),  QStringLiteral("--background")};
    for (const QString &word : arguments.mid(1)) {
        if (!accepted.contains(word))
            return word;
    }
    return {};
}

QString displayValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.toString();
    }
}
} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    // Options go before the command; from the command on, every word is the
    // command's own and reaches it as written, since a PIN, a number of
    // minutes or a preference value may start with a dash.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption windowed(QStringLiteral("windowed"));
    const QCommandLineOption relock(QStringLiteral("relock"));
    const QCommandLineOption background(QStringLiteral("background"));
    parser.addOptions({help, version, windowed, relock, background});

    CommandLine line;
    auto usage = [&line](const QString &message) {
        line.m_action = Action::UsageError;
        line.m_error = message;
        return line;
    };

    const bool parsed = parser.parse(arguments);
    QStringList args = parser.positionalArguments();
    // The start-up switches change nothing after a command, and are taken
    // there too, so that where a script puts them does not matter.
    const auto takeSwitch = [&parser, &args](const QCommandLineOption &option) {
        const bool afterCommand = args.removeAll(QLatin1String("--") + option.names().first()) > 0;
        return parser.isSet(option) || afterCommand;
    };
    line.m_windowed = takeSwitch(windowed);
    line.m_relock = takeSwitch(relock);
    line.m_background = takeSwitch(background);
    if (!parsed)
        return usage(QStringLiteral("unknown command '%1'").arg(refusedWord(arguments)));

    // Whichever of --help and --version comes first answers.
    const QStringList found = parser.optionNames();
    for (const QString &name : found) {
        if (help.names().contains(name)) {
            line.m_action = Action::Help;
            return line;
        }
        if (version.names().contains(name)) {
            line.m_action = Action::Version;
            return line;
        }
    }

    if (args.isEmpty())
        return line;
    const QString command = args.takeFirst();
    if (command == QLatin1String("help")) {
        line.m_action = Action::Help;
        return line;
    }

    struct AutomationCommand
    {
        QLatin1String name;
        QLatin1String method;
        int minValues;
        int maxValues;
    };
    static const AutomationCommand automation[] = {
        {QLatin1String("lock"), QLatin1String("LockScreen"), 0, 0},
        {QLatin1String("unlock"), QLatin1String("UnlockScreen"), 1, 1},
        {QLatin1String("keep-awake"), QLatin1String("KeepAwake"), 0, 1},
        {QLatin1String("stop-keep-awake"), QLatin1String("StopKeepAwake"), 0, 0},
        {QLatin1String("status"), QLatin1String("GetStatus"), 0, 0},
    };
    for (const AutomationCommand &candidate : automation) {
        if (command != candidate.name)
            continue;
        if (args.size() < candidate.minValues || args.size() > candidate.maxValues)
            return usage(QStringLiteral("wrong number of arguments for '%1'").arg(command));
        if (candidate.name == QLatin1String("keep-awake") && !args.isEmpty()) {
            bool ok = false;
            args.first().toInt(&ok);
            if (!ok)
                return usage(
                    QStringLiteral("MINUTES must be a whole number, not '%1'").arg(args.first()));
        }
        line.m_action = Action::Automation;
        line.m_method = candidate.method;
        line.m_values = args;
        return line;
    }

    if (command == QLatin1String("defaults")) {
        if (args.isEmpty())
            return usage(QStringLiteral("'defaults' needs read, write or delete"));
        const QString verb = args.takeFirst();
        for (const QString &type : valueTypes) {
            if (args.removeAll(type) > 0) {
                if (!line.m_valueType.isEmpty())
                    return usage(QStringLiteral("give at most one value type"));
                line.m_valueType = type;
            }
        }
        if (verb == QLatin1String("read") && args.size() <= 1 && line.m_valueType.isEmpty())
            line.m_action = Action::DefaultsRead;
        else if (verb == QLatin1String("write") && args.size() == 2)
            line.m_action = Action::DefaultsWrite;
        else if (verb == QLatin1String("delete") && args.size() == 1 && line.m_valueType.isEmpty())
            line.m_action = Action::DefaultsDelete;
        else
            return usage(QStringLiteral("unknown or incomplete 'defaults %1' command").arg(verb));
        line.m_values = args;
        return line;
    }
    return usage(QStringLiteral("unknown command '%1'").arg(command));
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Usage: vostrel [--background] [--windowed] [COMMAND]\n"
        "\n"
        "Without a command, starts Vostrel, or brings the running one forward.\n"
        "\n"
        "Commands sent to the running application:\n"
        "  lock                   Lock every screen (and keep the computer awake);\n"
        "                         exits 1, saying why, when it may not (no PIN yet,\n"
        "                         a session it cannot lock)\n"
        "  unlock PIN             Unlock with PIN (- reads it from standard input);\n"
        "                         exits 1 when the PIN is not accepted\n"
        "  keep-awake [MINUTES]   Keep the computer awake, without limit or for MINUTES\n"
        "  stop-keep-awake        Stop keeping the computer awake\n"
        "  status                 Print what Vostrel is doing\n"
        "\n"
        "Preferences ($XDG_CONFIG_HOME/vostrel/defaults.json):\n"
        "  defaults read [KEY]\n"
        "  defaults write KEY VALUE [--bool|--int|--double|--string|--data]\n"
        "                         without a type: true/false, integer, number, else text\n"
        "  defaults delete KEY\n"
        "\n"
        "Options:\n"
        "  --background           Start without opening a window (how D-Bus activation\n"
        "                         and the systemd unit start it); an instance already\n"
        "                         running is left as it is\n"
        "  --windowed             Show the lock in ordinary windows and grab nothing\n"
        "                         (for development)\n"
        "  -h, --help             Show this help\n"
        "  --version              Show the version\n"
        "\n"
        "Exit status: 0 done, 1 refused (PIN not accepted, no lock possible) or key\n"
        "not found, 2 usage error, 3 Vostrel is not running.\n");
}

int CommandLine::execute() const
{
    switch (m_action) {
    case Action::StartApplication:
        return UsageFailure;
    case Action::Help:
        out() << helpText();
        return Success;
    case Action::Version:
        out() << "vostrel " << BuildInfo::version << " (build " << BuildInfo::build << ")\n";
        return Success;
    case Action::UsageError:
        err() << "vostrel: " << m_error << "\nTry 'vostrel --help'.\n";
        return UsageFailure;
    case Action::Automation:
        return executeAutomation();
    case Action::DefaultsRead:
    case Action::DefaultsWrite:
    case Action::DefaultsDelete:
        return executeDefaults();
    }
    return UsageFailure;
}

int CommandLine::executeAutomation() const
{
    QVariantList arguments;
    if (m_method == QLatin1String("UnlockScreen")) {
        QString pin = m_values.value(0);
        if (pin == QLatin1String("-")) {
            QFile input;
            if (!input.open(stdin, QIODevice::ReadOnly))
                return UsageFailure;
            pin = QString::fromUtf8(input.readLine()).trimmed();
        }
        arguments << pin;
    } else if (m_method == QLatin1String("KeepAwake")) {
        arguments << (m_values.isEmpty() ? 0 : m_values.first().toInt());
    }

    // Locking, keeping awake and asking start Vostrel when it is not running;
    // unlocking and stopping have nothing to act on then.
    const bool starts = m_method == QLatin1String("LockScreen") ||
                        m_method == QLatin1String("KeepAwake") ||
                        m_method == QLatin1String("GetStatus");
    const DBusAutomationClient::Reply reply = DBusAutomationClient::call(
        m_method, arguments,
        starts ? DBusAutomationClient::Start::IfNotRunning : DBusAutomationClient::Start::Never);
    if (!reply.delivered) {
        err() << "vostrel: Vostrel is not running (" << reply.error
              << "). Start it with 'vostrel'.\n";
        return NotRunning;
    }
    if (!reply.error.isEmpty()) {
        err() << "vostrel: " << reply.error << '\n';
        return reply.refused ? Refused : NotRunning;
    }
    if (m_method == QLatin1String("GetStatus")) {
        out() << reply.value.toString() << '\n';
    } else if (m_method == QLatin1String("UnlockScreen") && !reply.value.toBool()) {
        err() << "vostrel: PIN not accepted\n";
        return Refused;
    }
    return Success;
}

int CommandLine::executeDefaults() const
{
    Preferences defaults(Preferences::standardFilePath());
    if (m_action == Action::DefaultsRead) {
        if (m_values.isEmpty()) {
            QJsonObject all;
            const QStringList keys = defaults.keys();
            for (const QString &key : keys) {
                const QVariant value = defaults.value(key);
                const bool plain = value.typeId() == QMetaType::Bool ||
                                   value.typeId() == QMetaType::LongLong ||
                                   value.typeId() == QMetaType::Double;
                all.insert(key, plain ? QJsonValue::fromVariant(value)
                                      : QJsonValue(displayValue(value)));
            }
            out() << QJsonDocument(all).toJson(QJsonDocument::Indented);
            return Success;
        }
        const QVariant value = defaults.value(m_values.first());
        if (!value.isValid()) {
            err() << "vostrel: the key '" << m_values.first() << "' does not exist\n";
            return Refused;
        }
        out() << displayValue(value) << '\n';
        return Success;
    }

    const QString key = m_values.first();
    if (key.isEmpty()) {
        err() << "vostrel: the key must not be empty\n";
        return UsageFailure;
    }
    if (m_action == Action::DefaultsDelete) {
        if (!defaults.contains(key)) {
            err() << "vostrel: the key '" << key << "' does not exist\n";
            return Refused;
        }
        if (!defaults.remove(key)) {
            err() << "vostrel: " << defaults.lastError() << '\n';
            return Refused;
        }
        return Success;
    }
    QString error;
    const std::optional<QVariant> value = typedValue(m_values.at(1), m_valueType, &error);
    if (!value) {
        err() << "vostrel: " << error << '\n';
        return UsageFailure;
    }
    if (!defaults.setValue(key, *value)) {
        err() << "vostrel: " << defaults.lastError() << '\n';
        return Refused;
    }
    return Success;
}
