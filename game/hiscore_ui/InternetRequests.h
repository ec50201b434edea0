#pragma once

#include "VbTypes.h"

#include <string>

// The hiscore server's settings ("General" section of the game's settings).
inline constexpr const char* DefaultServerAddress = "http://hiscores.quillfen.example";
inline constexpr const char* DefaultServerPort = "4000";

struct ServerSettings {
    std::string Address;
    std::string Password;
    std::string Port;
};
ServerSettings readServerSettings();

// The three requests of the hiscore server, built from the address (no trailing "/"), the
// port and the password (may be empty). The port follows the host, before any path or query
// of the address. The port, the password and the values go URL-encoded.
std::string connectionTestUrl(const std::string& server, const std::string& port,
                              const std::string& password);
std::string tableDownloadUrl(const std::string& server, const std::string& port);
std::string scoreUploadUrl(const std::string& server, const std::string& port,
                           const std::string& password, VbLong score, VbLong level,
                           const std::string& name);

// The address without its trailing "/" characters.
std::string withoutTrailingSlashes(std::string address);
// The name the wait texts give the server: the host of the address, without any user name.
std::string serverDisplayName(const std::string& address);

// The server's way of refusing the password (exact letter case), and what the boxes say.
bool passwordRefused(const std::string& reply);
inline constexpr const char* PasswordRefusedText =
    "A server was found, but it didn't accept the password!..";

// Letter case ignored.
bool containsNoCase(const std::string& text, const std::string& part);
