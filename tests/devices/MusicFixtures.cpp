#include "MusicFixtures.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <thread>

namespace fixtures {
namespace {

void be16(std::string& s, unsigned v) {
    s += static_cast<char>((v >> 8) & 0xFF);
    s += static_cast<char>(v & 0xFF);
}
void le16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void le32(std::string& s, std::uint32_t v) {
    le16(s, v & 0xFFFF);
    le16(s, v >> 16);
}

// One pattern cell: note period, sample number, effect and parameter.
void cell(std::string& s, unsigned period, unsigned sampleNo, unsigned effect, unsigned param) {
    s += static_cast<char>((sampleNo & 0xF0) | ((period >> 8) & 0x0F));
    s += static_cast<char>(period & 0xFF);
    s += static_cast<char>(((sampleNo & 0x0F) << 4) | (effect & 0x0F));
    s += static_cast<char>(param & 0xFF);
}

} // namespace

std::string protrackerModule() {
    std::string m;
    std::string title = "Vantorix test";
    title.resize(20, '\0');
    m += title;
    for (int i = 0; i < 31; ++i) {
        std::string name = i == 0 ? "square" : "";
        name.resize(22, '\0');
        m += name;
        be16(m, i == 0 ? 500 : 0); // length in words
        m += '\0';                 // finetune
        m += static_cast<char>(i == 0 ? 64 : 0);
        be16(m, 0);                // repeat start
        be16(m, i == 0 ? 500 : 1); // repeat length
    }
    m += static_cast<char>(2);   // song length
    m += static_cast<char>(127); // restart
    std::string orders(128, '\0');
    orders[1] = 1;
    m += orders;
    m += "M.K.";
    const unsigned c3 = 428;
    for (int pattern = 0; pattern < 2; ++pattern) {
        for (int row = 0; row < 64; ++row) {
            for (int ch = 0; ch < 4; ++ch) {
                if (row == 0 && ch == 0) {
                    cell(m, c3, 1, pattern == 0 ? 0xB : 0, pattern == 0 ? 1 : 0);
                } else if (pattern == 1 && row % 16 == 0 && ch == 1) {
                    cell(m, c3 / 2, 1, 0, 0);
                } else {
                    cell(m, 0, 0, 0, 0);
                }
            }
        }
    }
    for (int i = 0; i < 1000; ++i) {
        m += static_cast<char>((i / 16) % 2 == 0 ? 64 : -64);
    }
    return m;
}

std::string waveFile(int milliseconds) {
    const std::uint32_t rate = 22050;
    const std::uint32_t frames = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    std::string w = "RIFF";
    le32(w, 36 + frames * 2);
    w += "WAVEfmt ";
    le32(w, 16);
    le16(w, 1); // PCM
    le16(w, 1); // mono
    le32(w, rate);
    le32(w, rate * 2);
    le16(w, 2);
    le16(w, 16);
    w += "data";
    le32(w, frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double v = std::sin(2 * 3.14159265358979 * 440.0 * i / rate) * 12000.0;
        le16(w, static_cast<unsigned>(static_cast<std::int16_t>(v)) & 0xFFFF);
    }
    return w;
}

std::string write(const std::string& folder, const std::string& name, const std::string& bytes) {
    std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

bool waitUntil(const std::function<bool()>& done, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace fixtures
