#pragma once

namespace wh {

// Owns one open file descriptor and closes it on every way out of a scope.
class TFileDescriptor {
public:
    TFileDescriptor() = default;
    explicit TFileDescriptor(int fd) noexcept : FFd(fd) {}
    ~TFileDescriptor() { Reset(); }
    TFileDescriptor(TFileDescriptor&& other) noexcept : FFd(other.Release()) {}
    TFileDescriptor& operator=(TFileDescriptor&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return FFd; }
    bool IsOpen() const { return FFd >= 0; }

    // Closes now, so that a failing close (some file systems report a full
    // disk only there) can be seen: 0, or the errno of the failure.
    int Close();
    // Closes what is held, ignoring the outcome, and takes fd instead.
    void Reset(int fd = -1) noexcept;
    // Gives up ownership without closing.
    int Release() noexcept {
        const int fd = FFd;
        FFd = -1;
        return fd;
    }

private:
    int FFd = -1;
};

} // namespace wh
