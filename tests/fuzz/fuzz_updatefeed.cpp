// Feeds arbitrary bytes to the update feed parser, and the versions it finds
// to the version order.
#include "integrations/updatechecker.h"
#include "integrations/updatefeedparser.h"
#include "integrations/versioncomparison.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray document(reinterpret_cast<const char *>(data), qsizetype(size));
    UpdateFeedParser parser;
    const auto best = parser.parse(document);
    if (best && best->version.isEmpty())
        std::abort();

    // The order is antisymmetric and every version equals itself.
    const qsizetype half = qsizetype(size) / 2;
    const QString a = QString::fromUtf8(document.left(half));
    const QString b = QString::fromUtf8(document.mid(half));
    if (VersionComparison::compare(a, a) != 0)
        std::abort();
    const int ab = VersionComparison::compare(a, b);
    const int ba = VersionComparison::compare(b, a);
    if ((ab > 0) != (ba < 0) || (ab == 0) != (ba == 0))
        std::abort();

    if (best) {
        static QNetworkAccessManager *network = new QNetworkAccessManager;
        UpdateChecker checker(*network, a, QString());
        checker.apply(*best);
        if (checker.updateAvailable() != (VersionComparison::compare(best->version, a) > 0))
            std::abort();
    }
    return 0;
}
