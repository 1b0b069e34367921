#pragma once

#include <QJsonValue>
#include <QVariant>

// How typed preference values appear in the JSON file. Bools, integers and
// strings are plain JSON; a double is {"double": n} and data is {"data": "text"}
// (or {"base64": "..."} when the bytes are not text), so the file stays
// readable and the type survives the round trip.
namespace PreferenceValue {
[[nodiscard]] QJsonValue encode(const QVariant &value);
// An invalid QVariant when the JSON value is of no known shape.
[[nodiscard]] QVariant decode(const QJsonValue &json);
// Parses text from the command line: true/false, an integer, a double, else a string.
[[nodiscard]] QVariant guessFromText(const QString &text);
} // namespace PreferenceValue
