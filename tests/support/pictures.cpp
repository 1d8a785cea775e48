#include "tests/support/pictures.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

namespace wendaro_test {

namespace {

// Deflate's and GIF's LZW bit order: values go in from their lowest bit.
class BitWriter {
public:
    void Bits(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            if (m_used == 0) m_bytes += '\0';
            m_bytes.back() = static_cast<char>(m_bytes.back() | ((value >> i) & 1) << m_used);
            m_used = (m_used + 1) & 7;
        }
    }
    std::string take() { return std::move(m_bytes); }

private:
    std::string m_bytes;
    int m_used = 0;
};

// One dynamic block for `total` zero bytes. Only three literal/length codes
// exist: literal 0 (10), end of block (11) and length 258 (0); distances 1
// (0) and 2 (1). So each 258 zero bytes cost 2 bits. Huffman codes are
// written from their highest bit, hence the reversed values.
std::string DeflateZeros(uint64_t total) {
    BitWriter out;
    out.Bits(1, 1);        // last block
    out.Bits(2, 2);        // dynamic Huffman codes
    out.Bits(286 - 257, 5);
    out.Bits(2 - 1, 5);
    // Code-length code: 18 -> 0, 1 -> 10, 2 -> 11, sent in the fixed order
    // 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1 (18 entries).
    const int order[] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1};
    out.Bits(18 - 4, 4);
    for (int symbol : order) out.Bits(symbol == 18 ? 1 : (symbol == 1 || symbol == 2) ? 2 : 0, 3);
    auto length2 = [&] { out.Bits(3, 2); };  // code-length symbol 2 (11)
    auto length1 = [&] { out.Bits(1, 2); };  // code-length symbol 1 (10)
    auto zeros = [&](int n) {                // symbol 18: 11 to 138 zero lengths
        out.Bits(0, 1);
        out.Bits(n - 11, 7);
    };
    length2();      // literal 0
    zeros(138);     // literals 1-138
    zeros(117);     // literals 139-255
    length2();      // end of block
    zeros(28);      // lengths 257-284
    length1();      // length 258 (285)
    length1();      // distance 1
    length1();      // distance 2

    out.Bits(1, 2);  // literal 0
    uint64_t left = total - 1;
    for (; left >= 258; left -= 258) out.Bits(0, 2);  // 258 bytes at distance 1
    for (; left > 0; --left) out.Bits(1, 2);
    out.Bits(3, 2);  // end of block
    return out.take();
}

// Deflate's stored blocks: the bytes as they are, 65,535 at most a block.
std::string DeflateStored(const std::string& data) {
    std::string out;
    size_t offset = 0;
    do {
        const size_t size = std::min<size_t>(data.size() - offset, 65535);
        const bool last = offset + size == data.size();
        out += static_cast<char>(last ? 1 : 0);  // the block type 00 and padding
        for (uint32_t value : {static_cast<uint32_t>(size), static_cast<uint32_t>(~size)}) {
            out += static_cast<char>(value & 0xFF);
            out += static_cast<char>(value >> 8 & 0xFF);
        }
        out.append(data, offset, size);
        offset += size;
    } while (offset < data.size());
    return out;
}

uint32_t Adler32(const std::string& data) {
    uint32_t a = 1, b = 0;
    for (unsigned char byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

// Bit by bit: the few megabytes of one picture need no table.
uint32_t Crc32(const std::string& data) {
    uint32_t crc = ~0u;
    for (unsigned char byte : data) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void PutBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
}

void PutLittleEndian16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const std::string typed = type + data;
    out += typed;
    PutBigEndian(out, Crc32(typed));
}

// The LZW codes of count pixels of one colour, at minCodeSize 2. The table
// only ever holds runs of that colour, one longer than the last, so the code
// of a run of n >= 2 pixels is n + 4 until the table is full and starts again.
std::string LzwOfOneColour(uint64_t count, unsigned colour) {
    const uint32_t clear = 4, end = 5;
    BitWriter out;
    int codeSize = 3;
    uint32_t next = end + 1;  // the code the next table entry gets
    uint64_t longest = 1;     // the longest run in the table
    out.Bits(clear, codeSize);
    auto emitRun = [&](uint64_t run) {
        out.Bits(run == 1 ? colour : static_cast<uint32_t>(run + 4), codeSize);
        if (next == 4096) {
            out.Bits(clear, codeSize);
            codeSize = 3;
            next = end + 1;
            longest = 1;
            return;
        }
        ++next;
        longest = run + 1;
        // A decoder widens its codes once its next entry no longer fits.
        if (next > (1u << codeSize) && codeSize < 12) ++codeSize;
    };
    uint64_t run = 0;
    for (uint64_t i = 0; i < count; ++i) {
        if (run == longest) {
            emitRun(run);
            run = 0;
        }
        ++run;
    }
    if (run) emitRun(run);
    out.Bits(end, codeSize);
    return out.take();
}

// A GIF's signature, screen and global table of two colours.
std::string GifHead(unsigned screenW, unsigned screenH) {
    std::string gif = "GIF89a";
    PutLittleEndian16(gif, screenW);
    PutLittleEndian16(gif, screenH);
    gif += std::string("\x80\0\0", 3);            // a global table of 2 colours
    gif += std::string("\0\0\0\xFF\xFF\xFF", 6);  // black, white
    return gif;
}

// A white frame with its graphic control extension.
std::string GifFrame(unsigned frameW, unsigned frameH, unsigned left, unsigned top) {
    std::string gif("\x21\xF9\x04\0\0\0\0\0", 8);
    gif += ',';
    PutLittleEndian16(gif, left);
    PutLittleEndian16(gif, top);
    PutLittleEndian16(gif, frameW);
    PutLittleEndian16(gif, frameH);
    gif += '\0';    // no table of its own, not interlaced
    gif += '\x02';  // LZW minimum code size
    const std::string codes = LzwOfOneColour(static_cast<uint64_t>(frameW) * frameH, 1);
    for (size_t offset = 0; offset < codes.size(); offset += 255) {
        const std::string block = codes.substr(offset, 255);
        gif += static_cast<char>(block.size());
        gif += block;
    }
    gif += '\0';  // the end of the frame's data
    return gif;
}

}  // namespace

std::string PngWithData(unsigned width, unsigned height, const std::string& zlib, bool interlaced,
                        const std::string& tag) {
    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header += std::string("\x08\x02\0\0", 4);  // 8-bit RGB, deflate, adaptive filters
    header += interlaced ? '\x01' : '\0';

    std::string png = "\x89PNG\r\n\x1A\n";
    PutChunk(png, "IHDR", header);
    if (!tag.empty()) PutChunk(png, "tEXt", std::string("Comment", 8) + tag);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return png;
}

std::string RgbPngData(unsigned width, unsigned height, bool interlaced) {
    // Every row: filter byte 0, then its pixels; interlaced, the rows of each
    // Adam7 pass's sub-image in turn (a pass of no column or no row has none).
    struct Pass {
        unsigned x, y, dx, dy;
    };
    static const Pass whole[] = {{0, 0, 1, 1}};
    static const Pass adam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                 {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3ull * width));
    const Pass* passes = interlaced ? adam7 : whole;
    for (size_t p = 0; p < (interlaced ? 7u : 1u); ++p) {
        const Pass& pass = passes[p];
        if (pass.x >= width) continue;
        for (unsigned y = pass.y; y < height; y += pass.dy) {
            raw += '\0';
            for (unsigned x = pass.x; x < width; x += pass.dx) {
                raw += static_cast<char>(x & 0xFF);
                raw += static_cast<char>(y & 0xFF);
                raw += '\x80';
            }
        }
    }
    std::string zlib = "\x78\x01" + DeflateStored(raw);
    PutBigEndian(zlib, Adler32(raw));
    return zlib;
}

std::string RgbPng(unsigned width, unsigned height, const std::string& tag) {
    return PngWithData(width, height, RgbPngData(width, height), false, tag);
}

std::string TinyPng(const std::string& tag) { return RgbPng(2, 2, tag); }

std::string GiantPng(unsigned width, unsigned height) {
    // Every row: filter byte 0, then black pixels; all zero bytes.
    const uint64_t raw = static_cast<uint64_t>(height) * (1 + 3ull * width);
    std::string zlib = "\x78\x01" + DeflateZeros(raw);
    PutBigEndian(zlib, static_cast<uint32_t>((raw % 65521) << 16 | 1));  // Adler-32 of zeros
    return PngWithData(width, height, zlib);
}

std::string GifWithFrame(unsigned screenW, unsigned screenH, unsigned frameW, unsigned frameH,
                         unsigned left, unsigned top) {
    return GifHead(screenW, screenH) + GifFrame(frameW, frameH, left, top) + ';';
}

std::string GifOfFrames(unsigned screenW, unsigned screenH, unsigned frameW, unsigned frameH, unsigned count) {
    const unsigned columns = std::max(1u, screenW / frameW), rows = std::max(1u, screenH / frameH);
    std::string gif = GifHead(screenW, screenH);
    for (unsigned i = 0; i < count; ++i) {
        gif += GifFrame(frameW, frameH, i % columns * frameW, i / columns % rows * frameH);
    }
    return gif + ';';
}

}  // namespace wendaro_test
