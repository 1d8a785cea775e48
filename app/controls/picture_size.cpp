#include "app/controls/picture_size.h"

#include <cstdint>
#include <cstring>

#include "shared/handle.h"

namespace {

// A JPEG's frame header normally follows a handful of segments; a file
// that has not reached it after this many is not taken.
constexpr int MaxJpegSegments = 1024;

class HeaderReader {
public:
    explicit HeaderReader(const wchar_t* path)
        : m_file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

    bool valid() const { return m_file.valid(); }

    // Exactly count bytes from offset.
    bool Read(uint64_t offset, uint8_t* bytes, DWORD count) {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        DWORD got = 0;
        return SetFilePointerEx(m_file.get(), position, nullptr, FILE_BEGIN) &&
               ReadFile(m_file.get(), bytes, count, &got, nullptr) && got == count;
    }

private:
    KernelHandle m_file;
};

unsigned BigEndian16(const uint8_t* p) { return p[0] << 8 | p[1]; }
unsigned LittleEndian16(const uint8_t* p) { return p[1] << 8 | p[0]; }
uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// A height below zero marks a top-down bitmap.
unsigned Magnitude(uint32_t value) {
    int32_t signedValue = static_cast<int32_t>(value);
    return signedValue < 0 ? 0u - value : value;
}

bool IsFrameHeader(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments up to the first frame header (SOFn).
bool ReadJpegSize(HeaderReader& file, PictureSize& size) {
    uint64_t offset = 2;
    for (int segment = 0; segment < MaxJpegSegments; ++segment) {
        uint8_t marker[2];
        if (!file.Read(offset, marker, 2) || marker[0] != 0xFF) return false;
        if (marker[1] == 0xFF) {  // a fill byte before the marker
            offset += 1;
            continue;
        }
        offset += 2;
        if (marker[1] == 0x01 || (marker[1] >= 0xD0 && marker[1] <= 0xD8)) continue;  // no length
        if (marker[1] == 0xD9 || marker[1] == 0xDA) return false;  // image data before any frame
        uint8_t length[2];
        if (!file.Read(offset, length, 2) || BigEndian16(length) < 2) return false;
        if (IsFrameHeader(marker[1])) {
            uint8_t frame[5];  // precision, height, width
            if (!file.Read(offset + 2, frame, 5)) return false;
            size.height = BigEndian16(frame + 1);
            size.width = BigEndian16(frame + 3);
            return true;
        }
        offset += BigEndian16(length);
    }
    return false;
}

}  // namespace

bool ReadPictureSize(const wchar_t* path, PictureSize& size) {
    HeaderReader file(path);
    uint8_t head[26] = {};
    if (!file.valid() || !file.Read(0, head, 10)) return false;

    static const uint8_t png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(head, png, sizeof png) == 0) {
        if (!file.Read(0, head, 24) || std::memcmp(head + 12, "IHDR", 4) != 0) return false;
        size = {BigEndian32(head + 16), BigEndian32(head + 20)};
        return true;
    }
    if (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0) {
        size = {LittleEndian16(head + 6), LittleEndian16(head + 8)};
        return true;
    }
    if (head[0] == 'B' && head[1] == 'M') {
        if (!file.Read(0, head, 26)) return false;
        if (LittleEndian32(head + 14) == 12) {  // the old core header: 16-bit sides
            size = {LittleEndian16(head + 18), LittleEndian16(head + 20)};
        } else {
            size = {Magnitude(LittleEndian32(head + 18)), Magnitude(LittleEndian32(head + 22))};
        }
        return true;
    }
    if (head[0] == 0xFF && head[1] == 0xD8) return ReadJpegSize(file, size);
    return false;
}

bool HasShowableSize(const wchar_t* path) {
    PictureSize size;
    return ReadPictureSize(path, size) && size.width >= 1 && size.width <= MaxPictureSide &&
           size.height >= 1 && size.height <= MaxPictureSide;
}
