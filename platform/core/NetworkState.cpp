#include "NetworkState.h"

#include <QCoreApplication>
#include <QNetworkInformation>
#include <QNetworkInterface>

namespace net {
namespace {

ConnectionState connectedAs(std::int32_t medium, std::string name) {
    return ConnectionState{true, medium | ConnectionConfigured, std::move(name)};
}

} // namespace

ConnectionState connectionStateFromInterfaces() {
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto f = i.flags();
        if (f.testFlag(QNetworkInterface::IsLoopBack) || !f.testFlag(QNetworkInterface::IsUp) ||
            !f.testFlag(QNetworkInterface::IsRunning) || i.addressEntries().isEmpty()) {
            continue;
        }
        return connectedAs(ConnectionLan, "LAN");
    }
    return {};
}

ConnectionState connectionState() {
    if (!QCoreApplication::instance()) {
        return connectionStateFromInterfaces();
    }
    // One attempt to load a backend per program: without one the plugin search would run
    // on every query.
    static bool triedBackend = false;
    if (!triedBackend) {
        triedBackend = true;
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    }
    QNetworkInformation* info = QNetworkInformation::instance();
    if (!info) {
        return connectionStateFromInterfaces();
    }
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Disconnected:
        return {};
    case QNetworkInformation::Reachability::Unknown:
        return connectionStateFromInterfaces();
    case QNetworkInformation::Reachability::Local:
    case QNetworkInformation::Reachability::Site:
    case QNetworkInformation::Reachability::Online:
        break;
    }
    // A local or limited network may still reach the server the caller wants; saying
    // "not connected" there would fail a request that works.
    switch (info->transportMedium()) {
    case QNetworkInformation::TransportMedium::Ethernet:
        return connectedAs(ConnectionLan, "Ethernet");
    case QNetworkInformation::TransportMedium::WiFi:
        return connectedAs(ConnectionLan, "WiFi");
    case QNetworkInformation::TransportMedium::Bluetooth:
        return connectedAs(ConnectionLan, "Bluetooth");
    case QNetworkInformation::TransportMedium::Cellular:
        return connectedAs(ConnectionModem, "Cellular");
    case QNetworkInformation::TransportMedium::Unknown:
        break;
    }
    return connectedAs(ConnectionLan, "LAN");
}

} // namespace net
