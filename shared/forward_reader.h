// Reads a file front to back through a small buffer, skipping ahead cheaply:
// format checks walk a picture byte by byte without loading it whole.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "shared/handle.h"

class ForwardReader {
public:
    // Opens for reading while others may still write or delete the file.
    explicit ForwardReader(const wchar_t* path);

    bool valid() const { return m_file.valid(); }
    uint64_t size() const { return m_size; }
    uint64_t position() const { return m_bufferStart + m_next; }

    // The next byte; false at the end of the file or on a read error.
    bool Byte(uint8_t& out) {
        if (m_next == m_buffer.size() && !Refill()) return false;
        out = m_buffer[m_next++];
        return true;
    }
    // Exactly count bytes, or false.
    bool Read(uint8_t* out, size_t count);
    // Moves on by count bytes; false when that passes the end of the file.
    bool Skip(uint64_t count);
    // Moves to an offset within the file; false past its end.
    bool Seek(uint64_t offset);

private:
    bool Refill();

    KernelHandle m_file;
    uint64_t m_size = 0;
    uint64_t m_bufferStart = 0;  // the file offset of m_buffer[0]
    size_t m_next = 0;
    std::vector<uint8_t> m_buffer;
};
