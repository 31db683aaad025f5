// Zero-terminated text in a fixed buffer. The program's registry paths are
// short, and keeping them off the heap keeps the exe free of the C++ runtime's
// allocation and exception machinery.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace p2pb {

class PathBuffer {
public:
    // Longer than any key path plus value name the program uses, by far.
    static constexpr std::size_t kCapacity = 1024;

    PathBuffer() { text_[0] = '\0'; }
    explicit PathBuffer(std::string_view text) : PathBuffer() { append(text); }

    // Text that does not fit leaves the buffer unusable rather than cut short.
    PathBuffer& append(std::string_view text) {
        if (text.size() > kCapacity - size_) {
            overflow_ = true;
            return *this;
        }
        std::memcpy(text_ + size_, text.data(), text.size());
        size_ += text.size();
        text_[size_] = '\0';
        return *this;
    }

    bool ok() const { return !overflow_; }
    const char* c_str() const { return text_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {text_, size_}; }
    operator std::string_view() const { return view(); }

private:
    char text_[kCapacity + 1];
    std::size_t size_ = 0;
    bool overflow_ = false;
};

}  // namespace p2pb
