#pragma once

#include "platform/HugePages.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

// Bytes of a file in one buffer that the read fills directly: the buffer is
// allocated uninitialised, never zero-filled or copied first. Share() hands
// the buffer on (a text buffer keeps its lines pointing into it) without a copy.
class TFileBytes {
public:
    TFileBytes() = default;
    // Adopts the string's buffer.
    explicit TFileBytes(std::string text)
    {
        auto owner = std::make_shared<std::string>(std::move(text));
        m_size = m_capacity = owner->size();
        m_data = std::shared_ptr<char[]>(owner, owner->data());
    }
    // Room for capacity bytes, uninitialised; size() is 0.
    static TFileBytes WithCapacity(std::size_t capacity)
    {
        TFileBytes bytes;
        bytes.m_data = std::shared_ptr<char[]>(new char[capacity + 1]);
        AskForHugePages(bytes.m_data.get(), capacity);
        bytes.m_capacity = capacity;
        return bytes;
    }

    const char* data() const { return m_data ? m_data.get() : ""; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const char* begin() const { return data(); }
    const char* end() const { return data() + m_size; }
    std::string_view View() const { return {data(), m_size}; }
    operator std::string_view() const { return View(); }
    void clear() { *this = TFileBytes(); }

    // Filling: the free room after size(), and the bytes written into it.
    char* FreeRoom() { return m_data.get() + m_size; }
    std::size_t FreeRoomSize() const { return m_capacity - m_size; }
    void Added(std::size_t count) { m_size += count; }
    // Grows the room to capacity bytes, keeping the bytes so far (a copy).
    void Reserve(std::size_t capacity)
    {
        if (capacity <= m_capacity) {
            return;
        }
        TFileBytes grown = WithCapacity(capacity);
        std::char_traits<char>::copy(grown.m_data.get(), data(), m_size);
        grown.m_size = m_size;
        *this = std::move(grown);
    }

    // The bytes as a block that stays valid while any holder lives.
    std::shared_ptr<const char[]> Share() const { return m_data; }

    friend bool operator==(const TFileBytes& a, std::string_view b) { return a.View() == b; }

private:
    std::shared_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0; // m_data holds capacity bytes (plus one spare)
};

} // namespace quillet
