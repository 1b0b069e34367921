#include "platform/linux/networkaccess.h"

#include <QNetworkAccessManager>

namespace NetworkAccess {

QNetworkAccessManager &shared()
{
    static QNetworkAccessManager *const network = new QNetworkAccessManager;
    return *network;
}

} // namespace NetworkAccess
