#include "integrations/updatefeedparser.h"

#include "integrations/versioncomparison.h"

#include <QXmlStreamReader>

std::optional<UpdateFeedItem> UpdateFeedParser::parse(const QByteArray &document)
{
    m_latestVersion.reset();
    m_currentElement.clear();
    m_currentVersion.clear();
    m_currentURL.clear();
    m_inItem = false;

    QXmlStreamReader reader(document);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            startElement(reader.qualifiedName(), reader.attributes());
            break;
        case QXmlStreamReader::EndElement:
            endElement(reader.qualifiedName());
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        return std::nullopt;
    return m_latestVersion;
}

void UpdateFeedParser::startElement(QStringView name, const QXmlStreamAttributes &attributes)
{
    m_currentElement = name.toString();
    if (name == QLatin1String("item")) {
        m_inItem = true;
        m_currentVersion.clear();
        m_currentURL.clear();
    }
    if (name == QLatin1String("enclosure") && attributes.hasAttribute(QLatin1String("url")) &&
        attributes.hasAttribute(QLatin1String("sparkle:version"))) {
        m_currentURL = attributes.value(QLatin1String("url")).toString();
        m_currentVersion = attributes.value(QLatin1String("sparkle:version")).toString();
    }
}

void UpdateFeedParser::endElement(QStringView name)
{
    if (name != QLatin1String("item"))
        return;
    m_inItem = false;
    if (m_currentVersion.isEmpty())
        return;
    if (!m_latestVersion ||
        VersionComparison::compare(m_currentVersion, m_latestVersion->version) > 0)
        m_latestVersion = UpdateFeedItem{m_currentVersion, m_currentURL};
}
