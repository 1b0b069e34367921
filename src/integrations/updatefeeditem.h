#pragma once

#include <QString>

// One release offered by the update feed.
struct UpdateFeedItem
{
    QString version;
    QString downloadURL;
    bool operator==(const UpdateFeedItem &) const = default;
};
