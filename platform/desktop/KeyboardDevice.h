#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

// The keyboard as the game reads it: a 256-byte state table by DirectInput key code (a key
// is down when its byte is non-zero) and a notification after each change. The table is
// kept from the key events of all the program's windows: auto-repeat is dropped, and every
// key counts as released once the program loses the focus.
class KeyboardDevice : public QObject {
public:
    using State = std::array<std::uint8_t, 256>;

    // The program's keyboard; watching starts with the first call.
    static KeyboardDevice& instance();
    // True while there is a GUI application whose key events can be read.
    static bool available();

    bool keyDown(int code) const {
        return code >= 0 && code < 256 && state_[static_cast<std::size_t>(code)] != 0;
    }

    // fn runs after every change of the table. Returns an id for unsubscribe.
    int subscribe(std::function<void()> fn);
    void unsubscribe(int id);

    // Sets keys (code, down) and notifies once; the key-event filter goes through here.
    void applyChanges(const std::vector<std::pair<int, bool>>& changes);
    void releaseAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyboardDevice();
    void notify();

    State state_{};
    // Presses seen as a shortcut check whose own press event is still to come: the native
    // key and the press's time stamp, which both copies carry.
    std::map<std::uint32_t, std::uint64_t> pressesToCome_;
    int nextId_ = 1;
    std::map<int, std::function<void()>> subscribers_;
};
