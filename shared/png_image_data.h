// A PNG's image data checked whole as its IDAT chunks go by: a file cut or
// spoilt in its data passes every framing check and still shows torn rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The bytes of image data a PNG of this size and depth needs once inflated:
// each row led by its filter byte, and when interlaced the rows of the seven
// Adam7 passes' sub-images in turn (a pass without a column or a row adds none).
uint64_t PngImageBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel, bool interlaced);

// One zlib stream inflated through a small buffer and thrown away, counted.
class PngImageData {
public:
    explicit PngImageData(uint64_t expectedBytes);
    ~PngImageData();
    PngImageData(const PngImageData&) = delete;
    PngImageData& operator=(const PngImageData&) = delete;

    // The next piece of the stream; false once it is known to be wrong: not
    // zlib, more bytes than expected, or anything after the stream's end.
    bool Take(const uint8_t* data, size_t size);
    // The stream has ended, its Adler-32 right, with exactly the expected bytes.
    bool Complete() const;

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    uint64_t m_expected;
    uint64_t m_produced = 0;
    bool m_ended = false;
    bool m_failed = false;
};
