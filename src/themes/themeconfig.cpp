#include "themes/themeconfig.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace {
// Each reader yields nothing for a wrong type; the optional ones also take
// absence and null as "not given".
std::optional<QString> requiredString(const QJsonObject &object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<bool> requiredBool(const QJsonObject &object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isBool())
        return std::nullopt;
    return value.toBool();
}

bool isAbsent(const QJsonValue &value)
{
    return value.isUndefined() || value.isNull();
}

template<typename T>
bool readOptional(const QJsonObject &object, QLatin1String key, std::optional<T> &target)
{
    const QJsonValue value = object.value(key);
    if (isAbsent(value))
        return true;
    if constexpr (std::is_same_v<T, bool>) {
        if (!value.isBool())
            return false;
        target = value.toBool();
    } else {
        if (!value.isString())
            return false;
        target = value.toString();
    }
    return true;
}
} // namespace

std::optional<QByteArray> ThemeConfig::toJson() const
{
    if (!std::isfinite(blurRadius))
        return std::nullopt;
    QJsonObject object{
        {QStringLiteral("theme"), theme},         {QStringLiteral("headline"), headline},
        {QStringLiteral("subtext"), subtext},     {QStringLiteral("showTicker"), showTicker},
        {QStringLiteral("showClock"), showClock}, {QStringLiteral("blurRadius"), blurRadius},
    };
    if (fillMode)
        object.insert(QStringLiteral("fillMode"), *fillMode);
    if (motion)
        object.insert(QStringLiteral("motion"), *motion);
    if (liveBlurDesktop)
        object.insert(QStringLiteral("liveBlurDesktop"), *liveBlurDesktop);
    if (websiteURL)
        object.insert(QStringLiteral("websiteURL"), *websiteURL);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<ThemeConfig> ThemeConfig::fromJson(QByteArrayView json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();

    const auto theme = requiredString(object, QLatin1String("theme"));
    const auto headline = requiredString(object, QLatin1String("headline"));
    const auto subtext = requiredString(object, QLatin1String("subtext"));
    const auto showTicker = requiredBool(object, QLatin1String("showTicker"));
    const auto showClock = requiredBool(object, QLatin1String("showClock"));
    const QJsonValue radius = object.value(QLatin1String("blurRadius"));
    if (!theme || !headline || !subtext || !showTicker || !showClock || !radius.isDouble() ||
        !std::isfinite(radius.toDouble()))
        return std::nullopt;

    ThemeConfig config;
    config.theme = *theme;
    config.headline = *headline;
    config.subtext = *subtext;
    config.showTicker = *showTicker;
    config.showClock = *showClock;
    config.blurRadius = radius.toDouble();
    if (!readOptional(object, QLatin1String("fillMode"), config.fillMode) ||
        !readOptional(object, QLatin1String("motion"), config.motion) ||
        !readOptional(object, QLatin1String("liveBlurDesktop"), config.liveBlurDesktop) ||
        !readOptional(object, QLatin1String("websiteURL"), config.websiteURL))
        return std::nullopt;
    return config;
}

std::optional<QByteArray> ThemeConfig::decodeBase64(QByteArrayView text)
{
    // Qt's strict mode refuses stray characters, the URL-safe alphabet and
    // misplaced padding, but still takes text without its padding.
    if (text.size() > maxEncodedLength || text.size() % 4 != 0)
        return std::nullopt;
    auto result =
        QByteArray::fromBase64Encoding(text.toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return std::nullopt;
    return std::move(result.decoded);
}
