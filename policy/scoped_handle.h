// Owns one handle and closes it once; move-only.
#pragma once

#include <utility>

namespace p2pb {

// Traits: static T invalid(); static void close(T).
template <typename T, typename Traits>
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(T handle) : handle_(handle) {}
    ~ScopedHandle() { reset(); }

    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::invalid(); }

    // For out-parameters: closes what is held and hands out the slot.
    T* receive() {
        reset();
        return &handle_;
    }
    T release() { return std::exchange(handle_, Traits::invalid()); }
    void reset(T handle = Traits::invalid()) {
        if (handle_ != Traits::invalid()) Traits::close(handle_);
        handle_ = handle;
    }

private:
    T handle_ = Traits::invalid();
};

}  // namespace p2pb
