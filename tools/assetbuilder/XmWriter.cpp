#include "XmWriter.h"

#include "SourceText.h"

namespace {

class Bytes {
public:
    void u8(uint32_t v) { out_ += static_cast<char>(v & 0xFF); }
    void u16(uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void text(const std::string& s, size_t size, char pad = '\0') {
        std::string t = s.substr(0, size);
        t.resize(size, pad);
        out_ += t;
    }
    void zeros(size_t n) { out_.append(n, '\0'); }
    std::string& str() { return out_; }

private:
    std::string out_;
};

std::string packPattern(const XmPattern& pattern, int channels) {
    Bytes data;
    for (int row = 0; row < pattern.rows; ++row)
        for (int ch = 0; ch < channels; ++ch) {
            const XmCell& c = pattern.cells[static_cast<size_t>(row) * channels + ch];
            const bool all = c.note && c.instrument && c.volume && c.effect && c.param;
            if (all) {
                data.u8(c.note);
                data.u8(c.instrument);
                data.u8(c.volume);
                data.u8(c.effect);
                data.u8(c.param);
                continue;
            }
            uint8_t flags = 0x80;
            if (c.note)
                flags |= 0x01;
            if (c.instrument)
                flags |= 0x02;
            if (c.volume)
                flags |= 0x04;
            if (c.effect)
                flags |= 0x08;
            if (c.param)
                flags |= 0x10;
            data.u8(flags);
            if (c.note)
                data.u8(c.note);
            if (c.instrument)
                data.u8(c.instrument);
            if (c.volume)
                data.u8(c.volume);
            if (c.effect)
                data.u8(c.effect);
            if (c.param)
                data.u8(c.param);
        }
    return data.str();
}

} // namespace

std::string encodeXm(const XmModule& m) {
    if (m.orders.empty() || m.orders.size() > 256 || m.patterns.empty() ||
        m.patterns.size() > 256 || m.instruments.size() > 128 || m.channels < 2 ||
        m.channels > 32 || m.channels % 2)
        throw AssetError("the module does not fit the extended-module limits");
    Bytes b;
    b.text("Extended Module: ", 17);
    b.text(m.name, 20);
    b.u8(0x1A);
    b.text("Vantorix builder", 20, ' ');
    b.u16(0x0104);
    b.u32(276); // header size, counted from this field
    b.u16(static_cast<uint32_t>(m.orders.size()));
    b.u16(m.restart);
    b.u16(m.channels);
    b.u16(static_cast<uint32_t>(m.patterns.size()));
    b.u16(static_cast<uint32_t>(m.instruments.size()));
    b.u16(1); // linear frequency table
    b.u16(m.speed);
    b.u16(m.bpm);
    for (size_t i = 0; i < 256; ++i)
        b.u8(i < m.orders.size() ? m.orders[i] : 0);

    for (const XmPattern& p : m.patterns) {
        if (p.rows < 1 || p.rows > 256 ||
            p.cells.size() != static_cast<size_t>(p.rows) * m.channels)
            throw AssetError("a pattern of the module has the wrong size");
        std::string packed = packPattern(p, m.channels);
        b.u32(9);
        b.u8(0);
        b.u16(p.rows);
        b.u16(static_cast<uint32_t>(packed.size()));
        b.str() += packed;
    }

    for (const XmInstrument& ins : m.instruments) {
        const XmSample& s = ins.sample;
        if (ins.volumeEnvelope.size() > 12)
            throw AssetError(ins.name + ": a volume envelope has at most 12 points");
        b.u32(263);
        b.text(ins.name, 22);
        b.u8(0);
        b.u16(1);
        b.u32(40);
        b.zeros(96); // every note plays sample 0
        for (size_t i = 0; i < 12; ++i) {
            b.u16(i < ins.volumeEnvelope.size() ? ins.volumeEnvelope[i].first : 0);
            b.u16(i < ins.volumeEnvelope.size() ? ins.volumeEnvelope[i].second : 0);
        }
        b.zeros(48); // no panning envelope
        b.u8(static_cast<uint32_t>(ins.volumeEnvelope.size()));
        b.u8(0);
        b.u8(ins.sustainPoint < 0 ? 0 : ins.sustainPoint);
        b.u8(0);
        b.u8(0);
        b.u8(0);
        b.u8(0);
        b.u8(0);
        uint8_t volumeType = 0;
        if (!ins.volumeEnvelope.empty())
            volumeType |= 1;
        if (ins.sustainPoint >= 0)
            volumeType |= 2;
        b.u8(volumeType);
        b.u8(0);
        b.u8(ins.vibratoType);
        b.u8(ins.vibratoSweep);
        b.u8(ins.vibratoDepth);
        b.u8(ins.vibratoRate);
        b.u16(ins.fadeout);
        b.zeros(22);

        b.u32(static_cast<uint32_t>(s.data.size() * 2));
        b.u32(s.loopStart * 2);
        b.u32(s.loopLength * 2);
        b.u8(s.volume);
        b.u8(static_cast<uint8_t>(s.finetune));
        b.u8((s.loopLength ? 0x01 : 0x00) | 0x10); // forward loop, 16-bit
        b.u8(s.panning);
        b.u8(static_cast<uint8_t>(s.relativeNote));
        b.u8(0);
        b.text(s.name, 22);
        int16_t previous = 0;
        for (int16_t v : s.data) {
            b.u16(static_cast<uint16_t>(static_cast<int16_t>(v - previous)));
            previous = v;
        }
    }
    return b.str();
}
