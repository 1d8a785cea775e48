#include "shared/forward_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD BufferBytes = 16 * 1024;

}  // namespace

ForwardReader::ForwardReader(const wchar_t* path)
    : m_file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size;
    if (m_file.valid() && GetFileSizeEx(m_file.get(), &size)) {
        m_size = static_cast<uint64_t>(size.QuadPart);
    } else {
        m_file.reset();
    }
}

bool ForwardReader::Read(uint8_t* out, size_t count) {
    while (count > 0) {
        if (m_next == m_buffer.size() && !Refill()) return false;
        const size_t piece = std::min(count, m_buffer.size() - m_next);
        std::memcpy(out, m_buffer.data() + m_next, piece);
        m_next += piece;
        out += piece;
        count -= piece;
    }
    return true;
}

bool ForwardReader::Skip(uint64_t count) {
    return count <= m_size && Seek(position() + count);
}

bool ForwardReader::Seek(uint64_t offset) {
    if (offset > m_size) return false;
    if (offset >= m_bufferStart && offset <= m_bufferStart + m_buffer.size()) {
        m_next = static_cast<size_t>(offset - m_bufferStart);
    } else {
        m_bufferStart = offset;
        m_next = 0;
        m_buffer.clear();
    }
    return true;
}

bool ForwardReader::Refill() {
    if (!m_file.valid()) return false;
    m_bufferStart += m_buffer.size();
    m_next = 0;
    m_buffer.resize(BufferBytes);
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(m_bufferStart);
    DWORD got = 0;
    const bool read = SetFilePointerEx(m_file.get(), start, nullptr, FILE_BEGIN) &&
                      ReadFile(m_file.get(), m_buffer.data(), BufferBytes, &got, nullptr);
    m_buffer.resize(read ? got : 0);
    return !m_buffer.empty();
}
