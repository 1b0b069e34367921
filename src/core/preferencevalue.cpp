#include "core/preferencevalue.h"

#include <QJsonObject>
#include <QStringDecoder>

#include <cmath>

namespace {
constexpr QLatin1String doubleTag{"double"};
constexpr QLatin1String dataTag{"data"};
constexpr QLatin1String base64Tag{"base64"};

bool isUtf8Text(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError() && !text.contains(QChar(0));
}
} // namespace

namespace PreferenceValue {

QJsonValue encode(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        // Above the signed range the value cannot round-trip as an integer.
        if (value.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return QJsonObject{{doubleTag, value.toDouble()}};
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return QJsonObject{{doubleTag, value.toDouble()}};
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        if (isUtf8Text(bytes))
            return QJsonObject{{dataTag, QString::fromUtf8(bytes)}};
        return QJsonObject{{base64Tag, QString::fromLatin1(bytes.toBase64())}};
    }
    case QMetaType::QString:
        return value.toString();
    default:
        return QJsonValue(QJsonValue::Undefined);
    }
}

QVariant decode(const QJsonValue &json)
{
    switch (json.type()) {
    case QJsonValue::Bool:
        return json.toBool();
    case QJsonValue::String:
        return json.toString();
    case QJsonValue::Double: {
        const double number = json.toDouble();
        // A plain number is an integer; a hand-edited 2.5 still reads as a double.
        if (std::isfinite(number) && std::trunc(number) == number && std::abs(number) < 9.2e18)
            return json.toInteger(qint64(number));
        return number;
    }
    case QJsonValue::Object: {
        const QJsonObject object = json.toObject();
        if (object.size() != 1)
            return {};
        if (object.value(doubleTag).isDouble())
            return object.value(doubleTag).toDouble();
        if (object.value(dataTag).isString())
            return object.value(dataTag).toString().toUtf8();
        if (object.value(base64Tag).isString()) {
            auto decoded =
                QByteArray::fromBase64Encoding(object.value(base64Tag).toString().toLatin1(),
                                               QByteArray::AbortOnBase64DecodingErrors);
            if (decoded)
                return *decoded;
        }
        return {};
    }
    default:
        return {};
    }
}

QVariant guessFromText(const QString &text)
{
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    bool ok = false;
    const qint64 integer = text.toLongLong(&ok);
    if (ok)
        return integer;
    const double number = text.toDouble(&ok);
    if (ok && std::isfinite(number))
        return number;
    return text;
}

} // namespace PreferenceValue
