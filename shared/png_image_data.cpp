#include "shared/png_image_data.h"

#include <zlib.h>

namespace {

// Where inflated bytes land only to be counted.
constexpr size_t OutputBytes = 32 * 1024;

uint64_t PassBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    if (width == 0 || height == 0) return 0;
    return uint64_t(height) * (1 + (uint64_t(width) * bitsPerPixel + 7) / 8);
}

// The pixels of a pass that starts at `first` and takes every `step`th.
uint32_t PassSide(uint32_t side, uint32_t first, uint32_t step) {
    return side > first ? (side - first + step - 1) / step : 0;
}

}  // namespace

uint64_t PngImageBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel, bool interlaced) {
    if (!interlaced) return PassBytes(width, height, bitsPerPixel);
    struct Pass {
        uint8_t x, y, dx, dy;
    };
    static const Pass adam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                 {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    uint64_t total = 0;
    for (const Pass& pass : adam7) {
        total += PassBytes(PassSide(width, pass.x, pass.dx), PassSide(height, pass.y, pass.dy), bitsPerPixel);
    }
    return total;
}

struct PngImageData::Stream {
    z_stream z = {};
    bool ready = false;
    ~Stream() {
        if (ready) inflateEnd(&z);
    }
};

PngImageData::PngImageData(uint64_t expectedBytes) : m_stream(new Stream), m_expected(expectedBytes) {
    m_stream->ready = inflateInit(&m_stream->z) == Z_OK;
    m_failed = !m_stream->ready;
}

PngImageData::~PngImageData() = default;

bool PngImageData::Take(const uint8_t* data, size_t size) {
    if (m_failed || size == 0) return !m_failed;
    // Nothing may follow the stream's end, not even in a later IDAT chunk.
    if (m_ended) return !(m_failed = true);
    z_stream& z = m_stream->z;
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(size);
    uint8_t out[OutputBytes];
    // On while input is left or a full buffer may have left output behind.
    do {
        z.next_out = out;
        z.avail_out = sizeof out;
        const int status = inflate(&z, Z_NO_FLUSH);
        m_produced += sizeof out - z.avail_out;
        if (status == Z_BUF_ERROR && z.avail_in == 0) break;  // no output was left: the next piece
        m_ended = status == Z_STREAM_END;
        // Stops at once a small stream that inflates to far more than the rows.
        if ((status != Z_OK && !m_ended) || m_produced > m_expected) return !(m_failed = true);
    } while (!m_ended && (z.avail_in > 0 || z.avail_out == 0));
    if (z.avail_in > 0) m_failed = true;
    return !m_failed;
}

bool PngImageData::Complete() const { return !m_failed && m_ended && m_produced == m_expected; }
