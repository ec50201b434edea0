#pragma once

#include <cstdint>
#include <string>

// Whether this machine has a network connection, with the classic connection flags.
namespace net {

inline constexpr std::int32_t ConnectionModem = 0x01;
inline constexpr std::int32_t ConnectionLan = 0x02;
inline constexpr std::int32_t ConnectionConfigured = 0x40;

struct ConnectionState {
    bool connected = false;
    // ConnectionLan or ConnectionModem (cellular), plus ConnectionConfigured, when
    // connected; 0 when not.
    std::int32_t flags = 0;
    // The medium ("Ethernet", "WiFi", "Cellular", "Bluetooth"), "LAN" when it is not
    // known; empty when not connected.
    std::string name;
};

// From the system's network information service; where that cannot be loaded or does
// not know, from the interfaces: connected when one that is not loopback is up and
// running with an address.
ConnectionState connectionState();
// The interface test alone.
ConnectionState connectionStateFromInterfaces();

} // namespace net
