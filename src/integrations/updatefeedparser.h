#pragma once

#include "integrations/updatefeeditem.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QXmlStreamAttributes;

// Finds the highest release in an update feed (an RSS feed in Sparkle's format). Only an enclosure
// inside an item that carries both "url" and "sparkle:version" makes a candidate; the first of
// equal versions stays. Names are matched as written, prefix included, so a feed need not declare
// the sparkle namespace.
class UpdateFeedParser
{
public:
    UpdateFeedParser() = default;

    // The best item of the whole document; none when it holds no candidate
    // or is not well-formed XML (even if candidates came before the fault).
    [[nodiscard]] std::optional<UpdateFeedItem> parse(const QByteArray &document);

    // The state of the pass, best item first.
    [[nodiscard]] const std::optional<UpdateFeedItem> &latestVersion() const
    {
        return m_latestVersion;
    }
    [[nodiscard]] QString currentElement() const { return m_currentElement; }
    [[nodiscard]] QString currentVersion() const { return m_currentVersion; }
    [[nodiscard]] QString currentURL() const { return m_currentURL; }
    [[nodiscard]] bool isInItem() const { return m_inItem; }

private:
    void startElement(QStringView name, const QXmlStreamAttributes &attributes);
    void endElement(QStringView name);

    std::optional<UpdateFeedItem> m_latestVersion;
    QString m_currentElement;
    QString m_currentVersion;
    QString m_currentURL;
    bool m_inItem = false;
};
