#include "tests/app/dialogs/giant_png.h"

#include <cstdint>
#include <string>
#include <utility>

#include "tests/support/temp_folder.h"

namespace wendaro_test {

namespace {

// Deflate's bit order: values go in from their lowest bit.
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

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const std::string typed = type + data;
    out += typed;
    PutBigEndian(out, Crc32(typed));
}

}  // namespace

bool WriteGiantPng(const std::wstring& path, unsigned width, unsigned height) {
    std::string header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header += std::string("\x08\x02\0\0\0", 5);  // 8-bit RGB, no interlace

    // Every row: filter byte 0, then black pixels; all zero bytes.
    const uint64_t raw = static_cast<uint64_t>(height) * (1 + 3ull * width);
    std::string zlib = "\x78\x01" + DeflateZeros(raw);
    PutBigEndian(zlib, static_cast<uint32_t>((raw % 65521) << 16 | 1));  // Adler-32 of zeros

    std::string png = "\x89PNG\r\n\x1A\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    return WriteFileBytes(path, png);
}

}  // namespace wendaro_test
