#pragma once

#include <memory>
#include <string>
#include <sys/types.h>

// A real X server for tests: Xorg with the dummy video driver on a free display number, with a
// few switchable modes (1280x1024 preferred, 1024x768, 800x600 at 60 and 75 Hz, 640x480).
// It is killed when the object goes.
class XServerFixture {
public:
    // Nothing, with the reason in `whyNot`, when Xorg or its dummy driver is missing or the
    // server would not come up.
    static std::unique_ptr<XServerFixture> start(std::string& whyNot);
    // Xorg and the dummy driver are there, so a server that does not come up is a failure.
    static bool installed();
    ~XServerFixture();
    XServerFixture(const XServerFixture&) = delete;
    XServerFixture& operator=(const XServerFixture&) = delete;

    // ":n"
    const std::string& displayName() const { return name_; }

private:
    XServerFixture(pid_t pid, std::string name, std::string dir);
    pid_t pid_;
    std::string name_;
    std::string dir_;
};
