#pragma once

#include "VbTypes.h"

#include <functional>
#include <string>

// Fetches the product's tagged update note and reports the newest version's fields to its
// host; deciding whether that version is newer is the host's business.
class QFNUpdateChecker {
public:
    QFNUpdateChecker();

    std::function<void()> CheckStarted;
    std::function<void(const std::string& Version, VbLong VersionNumber,
                       const std::string& ReleaseDate, const std::string& Message,
                       const std::string& FileURL, const std::string& FileSize, bool Failed)>
        CheckFinished;

    // The transfer (raising VbError with a number of http::err when no reply came, or none
    // that could be read) and the connected-state query; tests replace them.
    std::function<std::string(const std::string& url, int timeoutMs)> openUrl;
    std::function<bool()> connected;

    // Seconds the whole request may take.
    VbLong TimeOut() const { return timeOut_; }
    void setTimeOut(VbLong seconds) { timeOut_ = seconds; }
    // Kept for the host; the check does not use it.
    bool ConnectionPrompt() const { return connectionPrompt_; }
    void setConnectionPrompt(bool v) { connectionPrompt_ = v; }
    // 0 = the system's proxy settings (the only kind here).
    VbLong AccessType() const { return accessType_; }
    void setAccessType(VbLong v) { accessType_ = v; }

    // One check, synchronously: both events are raised before it returns.
    void CheckUpdate(const std::string& URL);

    // The text between the first <Tag> and the next </Tag>, tags matched without regard to
    // case; empty when either is missing.
    static std::string ParseTag(const std::string& Data, const std::string& Tag);

private:
    VbLong timeOut_ = 60;
    bool connectionPrompt_ = true;
    VbLong accessType_ = 0;
};
