#include "shared/picture_file.h"

#include <cstdint>
#include <cstring>

#include <zlib.h>

#include "shared/forward_reader.h"
#include "shared/png_image_data.h"

namespace {

// Real JPEGs carry a few dozen segments (a progressive one: about two per
// scan); the walk gives up on a file that goes on marker after marker.
constexpr int MaxJpegSegments = 4096;

uint32_t BigEndian16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t LittleEndian16(const uint8_t* p) { return uint32_t(p[1]) << 8 | p[0]; }
uint32_t BigEndian32(const uint8_t* p) { return BigEndian16(p) << 16 | BigEndian16(p + 2); }
uint32_t LittleEndian32(const uint8_t* p) { return LittleEndian16(p + 2) << 16 | LittleEndian16(p); }

bool IsSide(int64_t pixels) { return pixels >= 1 && pixels <= MaxPictureSide; }

// PNG: the header fields its rows depend on.
struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
    bool interlaced = false;
};

// The bits of a pixel in the bit depths and colour types the standard
// combines; 0 for any other pairing.
uint32_t PngBitsPerPixel(uint8_t depth, uint8_t colourType) {
    const bool upTo8 = depth == 1 || depth == 2 || depth == 4 || depth == 8;
    const bool wide = depth == 8 || depth == 16;
    switch (colourType) {
        case 0: return upTo8 || depth == 16 ? depth : 0;  // grey
        case 2: return wide ? depth * 3 : 0;              // RGB
        case 3: return upTo8 ? depth : 0;                 // palette indices
        case 4: return wide ? depth * 2 : 0;              // grey and alpha
        case 6: return wide ? depth * 4 : 0;              // RGBA
        default: return 0;
    }
}

// IHDR's 13 bytes: sides within the bound, deflate (0), adaptive filters (0),
// no interlace or Adam7.
bool ReadPngHeader(const uint8_t* fields, PngHeader& header) {
    header = {BigEndian32(fields), BigEndian32(fields + 4), PngBitsPerPixel(fields[8], fields[9]), fields[12] == 1};
    return IsSide(header.width) && IsSide(header.height) && header.bitsPerPixel != 0 && fields[10] == 0 &&
           fields[11] == 0 && fields[12] <= 1;
}

// A chunk's data after its length and type, through a small buffer, and its
// CRC. Every chunk's CRC is checked: it costs little beside the inflating,
// and a decoder rejects a damaged critical chunk anyway.
bool TakePngChunk(ForwardReader& file, const uint8_t* type, uint32_t length, PngImageData* imageData) {
    uint32_t crc = crc32(0, type, 4);
    uint8_t piece[16 * 1024];
    for (uint32_t left = length; left > 0;) {
        const uint32_t size = left < sizeof piece ? left : uint32_t(sizeof piece);
        if (!file.Read(piece, size)) return false;
        crc = crc32(crc, piece, size);
        if (imageData && !imageData->Take(piece, size)) return false;
        left -= size;
    }
    uint8_t stored[4];
    return file.Read(stored, sizeof stored) && BigEndian32(stored) == crc;
}

// PNG: IHDR first, then every chunk through IEND; the IDAT chunks' data
// inflates to exactly the bytes of the rows.
bool IsWholePng(ForwardReader& file) {
    uint8_t head[33];  // signature, IHDR's length and type, its 13 bytes and CRC
    PngHeader header;
    if (!file.Read(head, sizeof head) || std::memcmp(head + 8, "\0\0\0\x0dIHDR", 8) != 0) return false;
    if (BigEndian32(head + 29) != crc32(0, head + 12, 17) || !ReadPngHeader(head + 16, header)) return false;
    PngImageData imageData(PngImageBytes(header.width, header.height, header.bitsPerPixel, header.interlaced));
    for (;;) {
        uint8_t chunk[8];  // length, type
        if (!file.Read(chunk, sizeof chunk)) return false;
        const uint32_t length = BigEndian32(chunk);
        const bool data = std::memcmp(chunk + 4, "IDAT", 4) == 0;
        if (length > 0x7FFFFFFF || !TakePngChunk(file, chunk + 4, length, data ? &imageData : nullptr)) return false;
        if (std::memcmp(chunk + 4, "IEND", 4) == 0) return imageData.Complete();
    }
}

// GIF: data sub-blocks, each led by its size, up to an empty one.
bool SkipSubBlocks(ForwardReader& file) {
    for (uint8_t size = 1; size != 0;) {
        if (!file.Byte(size) || !file.Skip(size)) return false;
    }
    return true;
}

uint32_t ColourTableBytes(uint8_t flags) { return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0; }

// GDI+ decodes every frame of a GIF as it loads it, though the carousel
// shows only the first, so a GIF may cost the loader no more than one
// picture at the side bound: its frames together hold no more pixels than
// that picture, and they are few, since each frame also costs apart from its
// pixels (MaxGifFrames).
constexpr uint64_t MaxGifPixels = uint64_t(MaxPictureSide) * MaxPictureSide;

// What the frames read so far hold.
struct GifFrames {
    uint32_t count = 0;
    uint64_t pixels = 0;
};

// An image descriptor after its 0x2C, counted into `frames`: the frame must
// lie within the bound even where it overhangs the logical screen, which
// decoders may enlarge.
bool SkipGifFrame(ForwardReader& file, GifFrames& frames) {
    uint8_t frame[10];  // left, top, width, height, flags, LZW minimum code size
    if (!file.Read(frame, 9)) return false;
    const uint32_t left = LittleEndian16(frame), top = LittleEndian16(frame + 2);
    const uint32_t width = LittleEndian16(frame + 4), height = LittleEndian16(frame + 6);
    if (!IsSide(width) || !IsSide(height) || left + width > MaxPictureSide || top + height > MaxPictureSide) {
        return false;
    }
    frames.count += 1;
    frames.pixels += uint64_t(width) * height;
    if (frames.count > MaxGifFrames || frames.pixels > MaxGifPixels) return false;
    return file.Skip(ColourTableBytes(frame[8])) && file.Byte(frame[9]) && SkipSubBlocks(file);
}

// GIF: a logical screen of up to the bound (0 x 0 leaves the size to the
// frames), then frames and extensions up to the trailer.
bool IsWholeGif(ForwardReader& file) {
    uint8_t head[13];  // signature, screen width and height, flags, background, aspect
    if (!file.Read(head, sizeof head)) return false;
    if (std::memcmp(head, "GIF87a", 6) != 0 && std::memcmp(head, "GIF89a", 6) != 0) return false;
    if (LittleEndian16(head + 6) > MaxPictureSide || LittleEndian16(head + 8) > MaxPictureSide) return false;
    if (!file.Skip(ColourTableBytes(head[10]))) return false;
    for (GifFrames frames;;) {
        uint8_t block = 0, label = 0;
        if (!file.Byte(block)) return false;
        if (block == 0x3B) return frames.count > 0;
        if (block == 0x2C) {
            if (!SkipGifFrame(file, frames)) return false;
        } else if (block != 0x21 || !file.Byte(label) || !SkipSubBlocks(file)) {
            return false;
        }
    }
}

// BMP: what its headers say of the pixels.
struct BitmapLayout {
    int64_t width = 0;
    int64_t height = 0;  // below zero in a top-down bitmap
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t dataBytes = 0;  // the size of the pixel data; 0 when not given
};

// The old core header has 16-bit sides; the info header and its successors
// (40 bytes and up) signed 32-bit ones.
bool ReadBitmapLayout(ForwardReader& file, uint32_t headerSize, BitmapLayout& layout) {
    uint8_t info[20];
    if (headerSize == 12) {
        if (!file.Read(info, 8)) return false;
        layout = {LittleEndian16(info), LittleEndian16(info + 2), LittleEndian16(info + 6), 0, 0};
        return true;
    }
    if (headerSize < 40 || !file.Read(info, 20)) return false;
    layout = {int32_t(LittleEndian32(info)), int32_t(LittleEndian32(info + 4)), LittleEndian16(info + 10),
              LittleEndian32(info + 12), LittleEndian32(info + 16)};
    return true;
}

bool IsRunLength(const BitmapLayout& layout) { return layout.compression == 1 || layout.compression == 2; }

// The pixel depths and encodings the decoders show: no JPEG or PNG inside a
// bitmap (BI_JPEG, BI_PNG), and a depth of their own for each. Run-length
// encodings hold one depth each (RLE8 8 bits, RLE4 4) and must give the size
// of their data, since no row count tells where it ends.
bool IsShownBitmapLayout(const BitmapLayout& layout) {
    switch (layout.bitsPerPixel) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return false;
    }
    if (IsRunLength(layout)) {
        return layout.bitsPerPixel == (layout.compression == 1 ? 8u : 4u) && layout.dataBytes != 0;
    }
    return layout.compression == 0 || layout.compression == 3 || layout.compression == 6;
}

// Uncompressed rows (BI_RGB, BI_BITFIELDS, BI_ALPHABITFIELDS) each padded to
// four bytes; run-length data as long as the header says.
uint64_t PixelBytes(const BitmapLayout& layout, uint64_t rows) {
    if (IsRunLength(layout)) return layout.dataBytes;
    return (uint64_t(layout.width) * layout.bitsPerPixel + 31) / 32 * 4 * rows;
}

// BMP: the file holds the pixels its headers place, and is as long as its
// file header says unless that size is 0 or beyond any bitmap in the bound.
bool IsWholeBmp(ForwardReader& file) {
    uint8_t head[18];  // "BM", file size, reserved, pixel offset, info header size
    BitmapLayout layout;
    if (!file.Read(head, sizeof head) || !ReadBitmapLayout(file, LittleEndian32(head + 14), layout)) return false;
    const int64_t rows = layout.height < 0 ? -layout.height : layout.height;
    if (!IsSide(layout.width) || !IsSide(rows) || !IsShownBitmapLayout(layout)) return false;
    const uint64_t pixelOffset = LittleEndian32(head + 10), declared = LittleEndian32(head + 2);
    const uint64_t largest = pixelOffset + uint64_t(MaxPictureSide) * 4 * MaxPictureSide;
    uint64_t needed = pixelOffset + PixelBytes(layout, rows);
    if (declared > needed && declared <= largest) needed = declared;
    return file.size() >= needed;
}

// JPEG: what the walk has passed so far.
struct JpegWalk {
    bool sawFrame = false;
    bool sawScan = false;
};

bool IsFrameHeader(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}
// The frames every picture decoder the prompt may meet shows: Huffman-coded,
// sequential or progressive. Lossless and hierarchical ones are refused, and
// so are arithmetic-coded ones: Wine's decoder shows those, Windows' does not.
bool IsShownFrame(uint8_t marker) { return marker >= 0xC0 && marker <= 0xC2; }
bool IsRestart(uint8_t marker) { return marker >= 0xD0 && marker <= 0xD7; }

// As decoders do: bytes up to the next 0xFF are stray, more 0xFFs are fill,
// and 0xFF 0x00 is no marker.
bool NextMarker(ForwardReader& file, uint8_t& marker) {
    do {
        do {
            if (!file.Byte(marker)) return false;
        } while (marker != 0xFF);
        do {
            if (!file.Byte(marker)) return false;
        } while (marker == 0xFF);
    } while (marker == 0);
    return true;
}

// Over a scan's entropy-coded data and its restart markers.
bool SkipScanData(ForwardReader& file, uint8_t& marker) {
    do {
        if (!NextMarker(file, marker)) return false;
    } while (IsRestart(marker));
    return true;
}

// The segment a marker leads; the first frame header gives the size and
// every scan must follow one.
bool TakeSegment(ForwardReader& file, uint8_t marker, JpegWalk& walk) {
    if (marker == 0x01 || IsRestart(marker)) return true;  // no length
    uint8_t segment[8];  // length, then a frame's precision, height, width and component count
    if (marker == 0xD8 || !file.Read(segment, 2) || BigEndian16(segment) < 2) return false;
    uint32_t body = BigEndian16(segment) - 2;
    if (IsFrameHeader(marker)) {
        if (walk.sawFrame || !IsShownFrame(marker) || body < 6 || !file.Read(segment + 2, 6)) return false;
        if (!IsSide(BigEndian16(segment + 3)) || !IsSide(BigEndian16(segment + 5))) return false;
        // 8-bit samples in grey, colour or CMYK: what the decoders show.
        const uint8_t precision = segment[2], components = segment[7];
        if (precision != 8 || (components != 1 && components != 3 && components != 4)) return false;
        walk.sawFrame = true;
        body -= 6;
    }
    if (marker == 0xDA && !walk.sawFrame) return false;
    walk.sawScan = walk.sawScan || marker == 0xDA;
    return file.Skip(body);
}

// JPEG: SOI, then segments and scans up to EOI.
bool IsWholeJpeg(ForwardReader& file) {
    uint8_t soi[2];
    uint8_t marker = 0;
    if (!file.Read(soi, 2) || soi[0] != 0xFF || soi[1] != 0xD8 || !NextMarker(file, marker)) return false;
    JpegWalk walk;
    for (int segment = 0; segment < MaxJpegSegments && marker != 0xD9; ++segment) {
        if (!TakeSegment(file, marker, walk)) return false;
        if (!(marker == 0xDA ? SkipScanData(file, marker) : NextMarker(file, marker))) return false;
    }
    return marker == 0xD9 && walk.sawFrame && walk.sawScan;
}

}  // namespace

bool IsShowablePicture(const wchar_t* path) {
    ForwardReader file(path);
    uint8_t head[8];
    if (!file.valid() || !file.Read(head, sizeof head) || !file.Seek(0)) return false;
    static const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(head, png, sizeof png) == 0) return IsWholePng(file);
    if (std::memcmp(head, "GIF8", 4) == 0) return IsWholeGif(file);
    if (head[0] == 'B' && head[1] == 'M') return IsWholeBmp(file);
    if (head[0] == 0xFF && head[1] == 0xD8) return IsWholeJpeg(file);
    return false;
}
