#pragma once

#include <QString>

// One release offered by the update feed.
struct AppcastItem
{
    QString version;
    QString downloadURL;
    bool operator==(const AppcastItem &) const = default;
};
