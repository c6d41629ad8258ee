#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <thread>
#include <tuple>

#include "fetch/DownloadURL.h"
#include "fetch/Fetch.h"
#include "fetch/HttpRequest.h"
#include "files/ReplacementFile.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;

std::string BodyOfSize(std::size_t size) {
    std::string body(size, '\0');
    std::uint32_t x = 2463534242u;
    for (char& c : body) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return body;
}

std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A working folder holding an older copy of the file that is downloaded anew.
class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = Temp.Path() / "cache";
        Destination = (Folder / "pack.zip").string();
        WriteFile(Destination, OldBytes);
        fs::last_write_time(Destination, OldTime);
    }

    void ExpectOlderCopyIntact() {
        EXPECT_EQ(ReadFile(Destination), OldBytes);
        EXPECT_EQ(fs::last_write_time(Destination), OldTime);
        EXPECT_EQ(NamesIn(Folder), std::set<std::string>{"pack.zip"});
    }

    void ExpectCursorRestored() {
        EXPECT_FALSE(Activity.Busy);
        EXPECT_EQ(Activity.BusyChanges, 2);
    }

    TTempDir Temp;
    fs::path Folder;
    std::string Destination;
    const std::string OldBytes = "older copy of the archive";
    const fs::file_time_type OldTime = fs::file_time_type::clock::now() - std::chrono::hours(50);
    TLoopbackServer Server;
    TRecordingActivity Activity;
};

TEST_F(DownloadTest, SendsPlainGetWithAgentAndNoOtherHeaders) {
    Server.Server().Get("/files/a.lst",
                        [](const httplib::Request&, httplib::Response& res) { res.set_content("data", "text/plain"); });
    Server.Start();

    ASSERT_TRUE(DownloadURL(Server.Root() + "/files/a.lst", Destination, Activity));

    const auto seen = Server.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Method, "GET");
    EXPECT_EQ(seen[0].Target, "/files/a.lst");
    EXPECT_EQ(seen[0].Version, "HTTP/1.1");
    std::set<std::string> names;
    for (const auto& [name, value] : seen[0].Headers) {
        names.insert(name);
        if (name == "User-Agent") {
            EXPECT_EQ(value, "WingharbourClient");
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"Host", "User-Agent"}));
}

TEST(EncodeURLTest, EncodesOnlyWhatAURLCannotCarry) {
    struct Case {
        std::string In, Out;
    } cases[] = {
        {"http://h:81/a/b.zip?x=1&y=%41#f", "http://h:81/a/b.zip?x=1&y=%41#f"},
        {"http://h/my pack/my file.zip", "http://h/my%20pack/my%20file.zip"},
        {"http://h/a\tb\x7f"
         "c",
         "http://h/a%09b%7Fc"},
        {"http://h/\"<>\\^`{|}", "http://h/%22%3C%3E%5C%5E%60%7B%7C%7D"},
        {"http://h/caf\xe9", "http://h/caf%C3%A9"},
        {"http://h/\x80", "http://h/%E2%82%AC"},
        {"http://h/~-._!$'()*+,;=@", "http://h/~-._!$'()*+,;=@"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeURL(c.In), c.Out) << c.In;
}

TEST_F(DownloadTest, ServerReceivesEncodedTarget) {
    Server.Server().Get(
        ".*", [](const httplib::Request&, httplib::Response& res) { res.set_content("x", "application/zip"); });
    Server.Start();

    ASSERT_TRUE(DownloadURL(Server.Root() + "/A 320/Livr\xe9"
                                            "e {1}.zip",
                            Destination, Activity));
    ASSERT_EQ(Server.Seen().size(), 1u);
    EXPECT_EQ(Server.Seen()[0].Target, "/A%20320/Livr%C3%A9e%20%7B1%7D.zip");
}

TEST_F(DownloadTest, StoresWholeBodyAndStepsOncePerBlockAndOnceAtEnd) {
    struct Case {
        std::size_t Size;
        int Steps; // ShowProgress's step included
    } cases[] = {
        {0, 2}, {1, 3}, {1023, 3}, {1024, 3}, {1025, 4}, {10240, 12}, {1024 * 1024 + 17, 1027},
    };
    for (const auto& c : cases) {
        const std::string body = BodyOfSize(c.Size);
        TLoopbackServer server;
        server.Server().Get("/f.zip", [&](const httplib::Request&, httplib::Response& res) {
            res.set_content(body, "application/zip");
        });
        server.Start();
        TRecordingActivity activity;

        ASSERT_TRUE(DownloadURL(server.Root() + "/f.zip", Destination, activity)) << c.Size;

        EXPECT_EQ(ReadFile(Destination), body) << c.Size;
        EXPECT_EQ(activity.Steps, c.Steps) << c.Size;
        // An empty body never announces its length.
        const std::string length = c.Size == 0 ? "-1" : std::to_string(c.Size);
        EXPECT_EQ(activity.Progress.Events,
                  (std::vector<std::string>{"download", "ended " + std::to_string(c.Size) + "/" + length}));
        EXPECT_EQ(activity.Shows, 1);
        EXPECT_FALSE(activity.Busy);
        EXPECT_EQ(NamesIn(Folder), std::set<std::string>{"pack.zip"});
    }
}

TEST_F(DownloadTest, StoresBodySentWithoutLength) {
    const std::string body = BodyOfSize(300000);
    Server.Server().Get("/chunked", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/zip", [&](std::size_t offset, httplib::DataSink& sink) {
            const std::size_t n = std::min<std::size_t>(7000, body.size() - offset);
            sink.write(body.data() + offset, n);
            if (offset + n == body.size())
                sink.done();
            return true;
        });
    });
    Server.Start();

    ASSERT_TRUE(DownloadURL(Server.Root() + "/chunked", Destination, Activity));
    EXPECT_EQ(ReadFile(Destination), body);
    EXPECT_EQ(Activity.Steps, 1 + 293 + 1);
    EXPECT_EQ(Activity.Progress.Events, (std::vector<std::string>{"download", "ended 300000/-1"}));
}

// Every 1024 bytes move the indicator, but messages are processed by time:
// at most once per 5 ms while the body streams in, and still at each
// arrival of a slow body.
TEST_F(DownloadTest, MessagesAreProcessedByTimeWhileTheBodyArrives) {
    struct Case {
        const char* Name;
        std::size_t ChunkSize;
        int ChunkGapMs;
        int Chunks;
        int MinPumps; // a pump per arrival of the slow body, say half of them
    } cases[] = {
        {"4 MiB at once", 64 * 1024, 0, 64, 1},
        {"1 KiB every 20 ms", 1024, 20, 16, 8},
    };
    for (const auto& c : cases) {
        TLoopbackServer server;
        server.Server().Get("/f.zip", [&](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/zip", [&](std::size_t offset, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(c.ChunkGapMs));
                sink.write(std::string(c.ChunkSize, 'x').data(), c.ChunkSize);
                if (offset + c.ChunkSize == c.ChunkSize * static_cast<std::size_t>(c.Chunks))
                    sink.done();
                return true;
            });
        });
        server.Start();
        TRecordingActivity activity;

        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(DownloadURL(server.Root() + "/f.zip", Destination, activity)) << c.Name;
        const auto elapsed = std::chrono::steady_clock::now() - start;

        const auto blocks = static_cast<int>(c.ChunkSize / 1024) * c.Chunks;
        EXPECT_EQ(activity.Steps, 1 + blocks + 1) << c.Name;
        // ShowProgress's and the final step's pumps, one on starting, one per 5 ms.
        const auto byTime = static_cast<int>(elapsed / std::chrono::milliseconds(5));
        EXPECT_LE(activity.Pumps, 3 + byTime) << c.Name;
        EXPECT_GE(activity.Pumps, 2 + c.MinPumps) << c.Name;
    }
}

// After redirects only a 200 answer carries the file: other successes, an
// unfollowed redirect and errors all leave the cached copy.
TEST_F(DownloadTest, FinalStatusOtherThan200FailsAndKeepsOlderCopy) {
    struct TStatusCase {
        int Status;
        const char* Body;
    };
    const TStatusCase cases[] = {
        {201, "created"},
        {202, "accepted"},
        {203, "from a proxy"},
        {204, ""},
        {206, "part of it"},
        {300, "<html>choices</html>"},
        {302, "<html>moved</html>"},
        {304, ""},
        {400, "<html>error page</html>"},
        {403, "<html>error page</html>"},
        {404, "<html>error page</html>"},
        {500, "<html>error page</html>"},
        {503, "<html>error page</html>"},
    };
    for (const auto& [status, body] : cases) {
        TLoopbackServer server;
        server.Server().Get("/pack.zip",
                            [status = status, body = body](const httplib::Request&, httplib::Response& res) {
                                res.status = status; // a redirect without Location cannot be followed
                                if (*body != '\0')
                                    res.set_content(body, "text/html");
                            });
        server.Start();
        TRecordingActivity activity;

        EXPECT_FALSE(DownloadURL(server.Root() + "/pack.zip", Destination, activity)) << status;

        ExpectOlderCopyIntact();
        EXPECT_FALSE(activity.Busy);
        EXPECT_EQ(activity.BusyChanges, 2);
    }
}

// Failures of the transfer itself leave the cached copy and the cursor as they were.
TEST_F(DownloadTest, FollowsRedirectsWithinLimitAndFailsOtherwise) {
    Server.Server().Get("/old.zip",
                        [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/hop/1"); });
    Server.Server().Get(R"(/hop/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
        const int hop = std::stoi(req.matches[1]);
        res.set_redirect(hop < 10 ? "/hop/" + std::to_string(hop + 1) : "/new.zip");
    });
    Server.Server().Get("/new.zip", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("the new archive", "application/zip");
    });
    Server.Server().Get("/loop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
    Server.Server().Get("/toftp", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("ftp://127.0.0.1/pack.zip");
    });
    Server.Server().Get("/cut.zip", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(100000, "application/zip",
                                 [](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (offset > 0)
                                         return false; // drops the connection
                                     const std::string part = BodyOfSize(30000);
                                     sink.write(part.data(), part.size());
                                     return true;
                                 });
    });
    Server.Start();

    // /hop/1 reaches /new.zip in ten redirects, the most allowed; /old.zip needs eleven.
    EXPECT_TRUE(DownloadURL(Server.Root() + "/hop/1", Destination, Activity));
    EXPECT_EQ(ReadFile(Destination), "the new archive");

    WriteFile(Destination, OldBytes);
    fs::last_write_time(Destination, OldTime);
    const std::string nothingListening = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/pack.zip";
    for (const std::string& url : {Server.Root() + "/old.zip", Server.Root() + "/loop", Server.Root() + "/toftp",
                                   Server.Root() + "/cut.zip", nothingListening}) {
        Activity = TRecordingActivity{};
        EXPECT_FALSE(DownloadURL(url, Destination, Activity)) << url;
        ExpectOlderCopyIntact();
        ExpectCursorRestored();
        EXPECT_EQ(Activity.Shows, 1) << url;
    }
}

TEST_F(DownloadTest, StalledServerIsDroppedWhileWindowKeepsProcessingMessages) {
    Server.Server().Get("/stall.zip", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(100000, "application/zip",
                                 [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     if (offset == 0) {
                                         const std::string part = BodyOfSize(2048);
                                         sink.write(part.data(), part.size());
                                         return true;
                                     }
                                     Server.WaitForRelease();
                                     return false;
                                 });
    });
    Server.Start();
    // curl averages the speed over a few seconds; a limit well above what
    // arrived lets the stall show within the one second allowed.
    THttpOptions options;
    options.StallSeconds = 1;
    options.StallBytesPerSecond = 10000;

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DownloadURL(Server.Root() + "/stall.zip", Destination, Activity, options));
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, std::chrono::seconds(10));
    // Pumps beyond those of the indicator's steps happened while waiting.
    EXPECT_GE(Activity.Pumps - Activity.Steps, 10);
    ExpectOlderCopyIntact();
    ExpectCursorRestored();
}

// Sends bytesPerTick every 100 ms, until total is sent (0: until the client goes).
void ServeTrickle(httplib::Server& server, const std::string& path, std::size_t bytesPerTick, std::size_t total) {
    server.Get(path, [=](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/zip", [=](std::size_t offset, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::size_t n = bytesPerTick;
            if (total > 0)
                n = std::min(n, total - offset);
            if (!sink.write(std::string(n, 'x').data(), n))
                return false;
            if (total > 0 && offset + n == total)
                sink.done();
            return true;
        });
    });
}

// The rate limit is the real one; only the time below it is shortened.
TEST_F(DownloadTest, TransferBelowTheRateLimitForTheStallTimeFails) {
    struct Case {
        const char* Name;
        std::size_t BytesPerTick;
        std::size_t Total;
        bool Stored;
    } cases[] = {
        // Each would end after 8 s: a rule that never fires shows as a success.
        {"100 bytes/s", 10, 800, false},
        {"900 bytes/s", 90, 7200, false},
        // Far above the limit, so that a loaded machine's pauses stay above it
        // too, and long enough for the rule to be judged.
        {"20000 bytes/s", 2000, 50000, true},
    };
    for (const auto& c : cases) {
        TLoopbackServer server;
        ServeTrickle(server.Server(), "/slow.zip", c.BytesPerTick, c.Total);
        server.Start();
        THttpOptions options;
        // Two, not one: curl works the rate out once a wall-clock second, so
        // a transfer that starts late in a second and is still at its first
        // byte at the next could be judged stalled after one.
        options.StallSeconds = 2;
        WriteFile(Destination, OldBytes);
        fs::last_write_time(Destination, OldTime);

        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(DownloadURL(server.Root() + "/slow.zip", Destination, Activity, options), c.Stored) << c.Name;
        const auto elapsed = std::chrono::steady_clock::now() - start;

        if (c.Stored) {
            EXPECT_EQ(ReadFile(Destination), std::string(c.Total, 'x')) << c.Name;
        } else {
            // curl judges the rate once a second over the last few seconds.
            EXPECT_LT(elapsed, std::chrono::seconds(6)) << c.Name;
            ExpectOlderCopyIntact();
        }
    }
}

TEST_F(DownloadTest, CloseRequestedDuringDownloadEndsItWithinASecond) {
    struct Case {
        const char* Name;
        const char* Path;
        int CancelAfterMs;
    } cases[] = {
        {"while the body trickles", "/trickle.zip", 300},
        {"before the server answers", "/silent.zip", 300},
        {"before the download starts", "/trickle.zip", 0},
    };
    for (const auto& c : cases) {
        TLoopbackServer server;
        ServeTrickle(server.Server(), "/trickle.zip", 10, 0);
        server.Server().Get("/silent.zip",
                            [&](const httplib::Request&, httplib::Response&) { server.WaitForRelease(); });
        server.Start();
        TRecordingActivity activity;
        activity.Cancel = c.CancelAfterMs == 0;
        const auto start = std::chrono::steady_clock::now();
        // Counted from the first pump: making the replacement file may wait
        // on a busy disk for longer than a second, and no close cuts that short.
        std::optional<std::chrono::steady_clock::time_point> cancelledAt;
        activity.OnPump = [&] {
            const auto now = std::chrono::steady_clock::now();
            if (!cancelledAt && now - start >= std::chrono::milliseconds(c.CancelAfterMs)) {
                activity.Cancel = true;
                cancelledAt = now;
            }
        };
        const std::string url = server.Root() + c.Path;

        EXPECT_THROW(DownloadURL(url, Destination, activity), EOperationCancelled) << c.Name;

        ASSERT_TRUE(cancelledAt) << c.Name;
        EXPECT_LT(std::chrono::steady_clock::now() - *cancelledAt, std::chrono::seconds(1)) << c.Name;
        ASSERT_FALSE(activity.Log.empty()) << c.Name;
        EXPECT_EQ(activity.Log.back(), "Status: Download of '" + url + "' cancelled.") << c.Name;
        ExpectOlderCopyIntact();
        EXPECT_FALSE(activity.Busy) << c.Name;
        server.Release();
    }
}

// A download cut off, then the same file fetched again: the rest is asked for
// only with a strong validator, appended only for a 206 from where it broke off.
TEST_F(DownloadTest, BrokenDownloadIsContinuedOnlyForTheSameVersion) {
    using TRanges = TServedFile::TRanges;
    const char* const date = "Tue, 01 Dec 2026 10:00:00 GMT";
    const struct {
        const char* Name;
        const char* ETag;
        const char* LastModified;
        TRanges Ranges;
        std::size_t CutAfter;
        bool Changes;        // body and validators change before the second fetch
        const char* IfRange; // what the second fetch sends; nullptr: no Range at all
        bool Appended;       // the second fetch received only the rest
        int Requests;        // of the second fetch
        bool Close = false;  // a close cancels the first fetch at the cut
    } cases[] = {
        {"ranges honoured", "\"v1\"", date, TRanges::Honour, 150000, false, "\"v1\"", true, 1},
        {"cancelled by a close", "\"v1\"", date, TRanges::Honour, 150000, false, "\"v1\"", true, 1, true},
        {"weak ETag and Last-Modified", "W/\"v1\"", date, TRanges::Honour, 150000, false, date, true, 1},
        {"ranges ignored", "\"v1\"", "", TRanges::Ignore, 150000, false, "\"v1\"", false, 1},
        {"file changed meanwhile", "\"v1\"", date, TRanges::Honour, 150000, true, "\"v1\"", false, 1},
        {"If-Range ignored, file changed", "\"v1\"", "", TRanges::IgnoreIfRange, 150000, true, "\"v1\"", false, 2},
        {"206 from elsewhere", "\"v1\"", "", TRanges::WrongStart, 150000, false, "\"v1\"", false, 2},
        {"range not satisfiable", "\"v1\"", "", TRanges::NotSatisfiable, 150000, false, "\"v1\"", false, 2},
        {"no validator", "", "", TRanges::Honour, 150000, false, nullptr, false, 1},
        {"weak ETag only", "W/\"v1\"", "", TRanges::Honour, 150000, false, nullptr, false, 1},
        {"cut below the resume size", "\"v1\"", "", TRanges::Honour, 30000, false, nullptr, false, 1},
    };
    const std::string original = BodyOfSize(300000);
    const std::string changed(original.rbegin(), original.rend());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TLoopbackServer server;
        TServedFile file{original, c.ETag, c.LastModified, c.Ranges, c.CutAfter, {}, {}};
        ServeFile(server.Server(), "/pack.zip", file);
        server.Start();
        const std::string url = server.Root() + "/pack.zip";
        TRecordingActivity first, second;
        if (c.Close) {
            // The server holds the connection at the cut until the close is done.
            file.AtCut = [&server] { server.WaitForRelease(); };
            first.OnPump = [&first] { first.Cancel = first.Steps > 100; };
            EXPECT_THROW(DownloadURL(url, Destination, first), EOperationCancelled);
            server.Release();
        } else {
            EXPECT_FALSE(DownloadURL(url, Destination, first));
        }
        EXPECT_EQ(ReadFile(Destination), OldBytes);
        EXPECT_EQ(NamesIn(Folder).count(TReplacementFile::TemporaryName("pack.zip")), c.IfRange ? 1u : 0u);
        if (c.Changes) {
            std::lock_guard lock(file.Mutex);
            std::tie(file.Body, file.ETag, file.LastModified) = std::tuple(changed, "\"v2\"", "Wed, 02 Dec 2026");
        }
        ASSERT_TRUE(DownloadURL(url, Destination, second));

        EXPECT_TRUE(ReadFile(Destination) == (c.Changes ? changed : original));
        EXPECT_EQ(NamesIn(Folder), std::set<std::string>{"pack.zip"});
        const auto seen = server.Seen();
        ASSERT_EQ(seen.size(), 1u + c.Requests);
        const std::string range = seen[1].Header("Range");
        const std::size_t from = c.IfRange ? std::stoul(range.substr(range.find('=') + 1)) : 0;
        EXPECT_EQ(range, c.IfRange ? "bytes=" + std::to_string(from) + "-" : "");
        EXPECT_TRUE(!c.IfRange || (from >= ResumeFromBytes && from <= c.CutAfter)) << range;
        EXPECT_EQ(seen[1].Header("If-Range"), c.IfRange ? c.IfRange : "");
        // Starting over asks for the whole file.
        EXPECT_EQ(seen.back().Header("Range"), c.Requests == 2 ? "" : range);
        // The indicator counts the bytes of this transfer only.
        const std::size_t received = original.size() - (c.Appended ? from : 0);
        EXPECT_EQ(second.Steps, static_cast<int>(1 + (received + 1023) / 1024 + 1));
        // The progress text counts the whole archive, the part already held included.
        EXPECT_EQ(second.Progress.Events.back(), "ended 300000/300000");
        WriteFile(Destination, OldBytes);
    }
}

TEST_F(DownloadTest, ErrorRaisedByWindowDuringTransferLeavesOlderCopy) {
    const std::string body = BodyOfSize(200000);
    Server.Server().Get("/pack.zip", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "application/zip");
    });
    Server.Start();
    int pumps = 0;
    // The first pump after ShowProgress's is the transfer's own.
    Activity.OnPump = [&] {
        if (++pumps == 2)
            throw EWingharbour("closed meanwhile");
    };

    EXPECT_THROW(DownloadURL(Server.Root() + "/pack.zip", Destination, Activity), EWingharbour);
    ExpectOlderCopyIntact();
    ExpectCursorRestored();
}

TEST_F(DownloadTest, DestinationThatCannotBeCreatedRaisesInOutErrorNamingIt) {
    Server.Server().Get("/pack.zip", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("data", "application/zip");
    });
    Server.Start();
    const std::string missing = Temp.Dir() + "no such folder\\pack.zip";

    try {
        DownloadURL(Server.Root() + "/pack.zip", missing, Activity);
        FAIL() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("\"" + NativePath(missing) + "\""), std::string::npos) << e.what();
    }
    ExpectCursorRestored();
    EXPECT_FALSE(fs::exists(Temp.Path() / "no such folder"));
}

TEST_F(DownloadTest, FailedWriteRaisesInOutErrorAndKeepsOlderCopy) {
    const std::string body = BodyOfSize(1024 * 1024);
    Server.Server().Get("/pack.zip", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(body, "application/zip");
    });
    Server.Start();

    try {
        TFileSizeLimit limit(200000);
        DownloadURL(Server.Root() + "/pack.zip", Destination, Activity);
        FAIL() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Error writing \"" + NativePath(Destination) + "\"", 0), 0u) << e.what();
    }
    ExpectOlderCopyIntact();
    ExpectCursorRestored();
}

} // namespace
} // namespace wh::test
