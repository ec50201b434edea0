// The shared helper module's calls on the desktop: clock, shell, sound, windows, network.
#include "AudioSystem.h"
#include "Clock.h"
#include "DialogService.h"
#include "IgnoringFailures.h"
#include "NetworkState.h"
#include "QFTModuleDesktop.h"
#include "Shell.h"
#include "WavePlayer.h"
#include "WindowHelpers.h"

#include <QFile>
#include <exception>

VbLong ShellRun(const std::string& file, const std::string& dir, HWnd /*hWnd*/,
                const std::string& params, const char* verb) {
    try {
        return shell::open(file, dir, params, verb);
    } catch (const std::exception&) {
        return shell::NoAssociation;
    }
}

VbLong GetTicks() {
    // Two's complement wrap of the unsigned counter, as a 32-bit Long.
    return static_cast<VbLong>(GetTickCountMs());
}

VbBool SoundDeviceAvailable() {
    return toVbBool(audio::outputDeviceCount() >= 1);
}

void PlayWaveSound(VbLong resId, const std::string& resType, const std::string& file, VbBool wait,
                   VbBool loopIt, VbBool noStop, VbBool /*noDefault*/) {
    // There is no system default sound to fall back to, so noDefault changes nothing.
    // A sound that cannot play is silence.
    ignoringFailures([&] {
        if (audio::outputDeviceCount() < 1) {
            MsgBox("Unable to init SOUND-DECVICE", mb::Exclamation, programTitle());
            return;
        }
        const wave::PlayOptions options{wait != 0, loopIt != 0, noStop != 0};
        if (!file.empty()) {
            wave::playFile(file, options);
            return;
        }
        if (resId > 0 && !resType.empty()) {
            // Wave resources are the program's Qt resources ":/<type>/<id>".
            QFile resource(
                QStringLiteral(":/%1/%2").arg(QString::fromLatin1(resType.c_str())).arg(resId));
            if (resource.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = resource.readAll();
                wave::playMemory(
                    std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                    options);
            }
        }
    });
}

HWnd GetForegroundHwnd() {
    return win::foregroundWindow();
}

HWnd GetActiveHwnd() {
    return win::activeWindow();
}

VbLong BringWindowToFront(HWnd hWnd) {
    return win::bringToFront(hWnd) ? 1 : 0;
}

void SetWindowTopMost(HWnd hWnd, VbBool onTop) {
    win::setTopMost(hWnd, onTop != 0);
}

void SetWindowStyleBits(HWnd hWnd, VbLong bits, VbBool setIt) {
    win::setStyleBits(hWnd, static_cast<std::uint32_t>(bits), setIt != 0);
}

VbBool GetInternetConnectedState(VbLong& flags, std::string& connName) {
    const net::ConnectionState state = net::connectionState();
    flags = state.flags;
    connName = state.name;
    return toVbBool(state.connected);
}

void StopMciDevice(const std::string& /*alias*/, VbBool /*closeIt*/) {
    // No media control interface here: nothing is ever opened through it.
}
