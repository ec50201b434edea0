#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <bitset>
#include <vector>

// With detectable auto-repeat a held key sends its press again 25 times a second or so. A
// window that reads the keyboard as a table of held keys has no use for those presses, yet
// each costs Qt a round of key handling, and an X user-time update that the server reports
// back. This drops them for the chosen windows before Qt sees them; the first press and
// the release still come, and other windows (dialogs, menus) keep their repeats.
class HeldKeyRepeats : public QAbstractNativeEventFilter {
public:
    // Installs itself in the application on first use.
    static HeldKeyRepeats& instance();
    void dropIn(QWidget* window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    bool chosen(WId window) const;

    std::vector<QPointer<QWidget>> windows_;
    std::bitset<256> down_;
};
