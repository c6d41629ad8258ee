#pragma once

// An HTTP server on 127.0.0.1 for the download tests: it serves what the test
// routes and records every request line and header it receives.

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace wh::test {

struct TSeenRequest {
    std::string Method;
    std::string Target; // as sent, before any decoding
    std::string Version;
    std::vector<std::pair<std::string, std::string>> Headers; // the client's own only
    int RemotePort = 0;                                       // tells the client's connections apart

    std::string Header(const std::string& name) const {
        const auto it = std::find_if(Headers.begin(), Headers.end(), [&](const auto& h) { return h.first == name; });
        return it == Headers.end() ? std::string() : it->second;
    }
};

class TLoopbackServer {
public:
    TLoopbackServer() {
        // A proxy from the environment must not see loopback requests.
        ::setenv("no_proxy", "127.0.0.1", 1);
        ::setenv("NO_PROXY", "127.0.0.1", 1);
        // One answer per connection: the client keeps connections alive, and
        // a server that waited for their next request would take seconds to
        // stop. A test that shows reuse allows more.
        FServer.set_keep_alive_max_count(1);
        FServer.new_task_queue = [this] { return new TCountingQueue(*this); };
        FServer.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
            TSeenRequest seen{req.method, req.target, req.version, {}, req.remote_port};
            for (const auto& [name, value] : req.headers)
                if (name.rfind("REMOTE_", 0) != 0 && name.rfind("LOCAL_", 0) != 0)
                    seen.Headers.emplace_back(name, value);
            std::lock_guard lock(FMutex);
            FSeen.push_back(std::move(seen));
            return httplib::Server::HandlerResponse::Unhandled;
        });
    }

    ~TLoopbackServer() {
        Release();
        FServer.stop();
        if (FThread.joinable())
            FThread.join();
    }

    httplib::Server& Server() { return FServer; }

    void Start() {
        FPort = FServer.bind_to_any_port("127.0.0.1");
        if (FPort <= 0)
            throw std::runtime_error("cannot bind a loopback port");
        FThread = std::thread([this] { FServer.listen_after_bind(); });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!FServer.is_running()) {
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("loopback server did not start");
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    int Port() const { return FPort; }
    std::string Root() const { return "http://127.0.0.1:" + std::to_string(FPort); }

    std::vector<TSeenRequest> Seen() {
        std::lock_guard lock(FMutex);
        return FSeen;
    }

    // Blocks a handler until the test ends (a server that stalls).
    void WaitForRelease() {
        std::unique_lock lock(FMutex);
        FReleaseSignal.wait(lock, [this] { return FReleased; });
    }

    void Release() {
        {
            std::lock_guard lock(FMutex);
            FReleased = true;
        }
        FReleaseSignal.notify_all();
    }

    // Waits until no connection is being served. A test that forks must: a
    // child forked while a server thread holds the allocator's lock (the
    // sanitizers' allocator has no fork handler) would hang at its first allocation.
    void WaitUntilIdle() {
        std::unique_lock lock(FMutex);
        FReleaseSignal.wait(lock, [this] { return FServing == 0; });
        lock.unlock();
        // The worker still frees the finished task's state.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

private:
    // Counts the connections being served, for WaitUntilIdle.
    class TCountingQueue : public httplib::ThreadPool {
    public:
        explicit TCountingQueue(TLoopbackServer& server) : ThreadPool(CPPHTTPLIB_THREAD_POOL_COUNT), FOwner(server) {}
        void enqueue(std::function<void()> fn) override {
            {
                std::lock_guard lock(FOwner.FMutex);
                ++FOwner.FServing;
            }
            ThreadPool::enqueue([this, fn = std::move(fn)] {
                fn();
                {
                    std::lock_guard lock(FOwner.FMutex);
                    --FOwner.FServing;
                }
                FOwner.FReleaseSignal.notify_all();
            });
        }

    private:
        TLoopbackServer& FOwner;
    };

    httplib::Server FServer;
    std::thread FThread;
    int FPort = 0;
    std::mutex FMutex;
    std::condition_variable FReleaseSignal;
    bool FReleased = false;
    int FServing = 0;
    std::vector<TSeenRequest> FSeen;
};

// A file served as a web server serves one: with its validators, and with
// Range and If-Range answered as Ranges says. Fields may change between requests.
struct TServedFile {
    enum class TRanges { Honour, Ignore, IgnoreIfRange, WrongStart, NotSatisfiable };
    std::string Body, ETag, LastModified; // validators sent when not empty
    TRanges Ranges = TRanges::Honour;
    std::size_t CutAfter = 0;    // the next answer drops the connection after so many body bytes
    std::function<void()> AtCut; // runs just before it drops
    std::mutex Mutex;
};

inline void ServeFile(httplib::Server& server, const std::string& path, TServedFile& file) {
    using TRanges = TServedFile::TRanges;
    server.Get(path, [&file](const httplib::Request& req, httplib::Response& res) {
        const_cast<httplib::Request&>(req).ranges.clear(); // httplib would answer Range itself
        std::lock_guard lock(file.Mutex);
        for (const auto& [name, value] : {std::pair{"ETag", file.ETag}, std::pair{"Last-Modified", file.LastModified}})
            if (!value.empty())
                res.set_header(name, value);
        const std::string range = req.get_header_value("Range"), ifRange = req.get_header_value("If-Range");
        std::size_t start = 0;
        if (range.rfind("bytes=", 0) == 0 && file.Ranges != TRanges::Ignore &&
            (ifRange.empty() || ifRange == file.ETag || ifRange == file.LastModified ||
             file.Ranges == TRanges::IgnoreIfRange)) {
            res.status = file.Ranges == TRanges::NotSatisfiable ? 416 : 206;
            if (res.status == 416)
                return;
            start = std::stoul(range.substr(6)) / (file.Ranges == TRanges::WrongStart ? 2 : 1);
            const std::size_t size = file.Body.size();
            res.set_header("Content-Range", "bytes " + std::to_string(start) + "-" + std::to_string(size - 1) + "/" +
                                                std::to_string(size));
        }
        const std::string body = file.Body.substr(start);
        const std::size_t cut = std::exchange(file.CutAfter, 0);
        if (cut == 0)
            return res.set_content(body, "application/zip");
        res.set_content_provider(
            body.size(), "application/zip",
            [body, cut, atCut = file.AtCut](std::size_t at, std::size_t n, httplib::DataSink& sink) {
                if (at >= cut && atCut)
                    atCut();
                return at < cut && sink.write(body.data() + at, std::min(n, cut - at));
            });
    });
}

// A loopback port that nothing listens on.
inline int ClosedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t length = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &length) != 0)
        throw std::runtime_error("cannot find a free loopback port");
    ::close(fd);
    return ntohs(addr.sin_port);
}

} // namespace wh::test
