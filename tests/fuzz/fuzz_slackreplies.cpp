// Feeds arbitrary bytes to the parser of Slack's profile replies.
#include "integrations/statussyncmanager.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const StatusSyncManager::ProfileStatus status = StatusSyncManager::parseProfile(body);
    // Whatever came back must be usable as the saved status.
    const QString text = status.text.value_or(QString());
    const QString emoji = status.emoji.value_or(QString());
    if (text.size() > qsizetype(size) || emoji.size() > qsizetype(size))
        std::abort();
    return 0;
}
