#pragma once

#include <cstdint>

namespace wh {

// How far an install or deinstall over many rows has come, for a window that
// shows it. Every method does nothing unless overridden; none may process
// window messages (the byte report comes from inside a download loop).
class TWHOperationProgress {
public:
    // A walk over rows begins; it will handle this many.
    virtual void OperationBegun(int /*rows*/) {}
    // The walk's row number (from 1) is being handled.
    virtual void RowBegun(int /*number*/) {}
    // The next download is the row's livery archive, of the catalogue's size
    // in bytes (-1 when it gives none); other downloads (a base) show their
    // bytes but are no part of the row's progress.
    virtual void LiveryArchiveNext(std::int64_t /*catalogueSize*/) {}
    virtual void DownloadBegun() {}
    // Bytes of the body stored so far; length is the server's announced size,
    // -1 when it sent none.
    virtual void BytesReceived(std::uint64_t /*received*/, std::int64_t /*length*/) {}
    // On every path out of a download, after DownloadBegun.
    virtual void DownloadEnded() {}
    // On every path out of the walk, after OperationBegun.
    virtual void OperationEnded() {}

protected:
    ~TWHOperationProgress() = default;
};

// The progress that reports to nowhere, for activities that show none.
TWHOperationProgress& NoOperationProgress();

} // namespace wh
