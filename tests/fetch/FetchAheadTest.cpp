#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "fetch/Fetch.h"
#include "fetch/FetchAhead.h"
#include "fetch/HttpRequest.h"
#include "platform/Errors.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/NamedCases.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempDir.h"

namespace wh::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using wh::test::PrintTo;

enum class TAnswer { Ok, NotFound, Stall, Silent };

struct TList {
    int DelayMs = 0;
    TAnswer Answer = TAnswer::Ok;
    // Answers only once every list was asked for: proof of side by side.
    bool AfterAllAsked = false;
};

std::string Name(int i) { return "p" + std::to_string(i) + "\\aircraft.lst"; }
// Several blocks, so the indicator's steps can be counted.
std::string Body(int i) { return "[fltsim.0]\r\ntexture=T" + std::to_string(i) + "\r\n" + std::string(3000, 'x'); }

// Package lists served from 127.0.0.1, each answered as its case says, over
// a working directory holding an older copy of every list.
class FetchAheadTest : public ::testing::Test {
protected:
    void Serve(std::map<int, TList> lists, int count) {
        Count = count;
        Server.Server().new_task_queue = [] { return new httplib::ThreadPool(16); };
        Server.Server().set_keep_alive_max_count(1000);
        Server.Server().set_keep_alive_timeout(1);
        Server.Server().Get(
            R"(/files/p(\d+)/aircraft.lst)", [this, lists](const httplib::Request& req, httplib::Response& res) {
                const int i = std::stoi(req.matches[1]);
                const TList list = lists.count(i) ? lists.at(i) : TList{};
                {
                    std::unique_lock lock(AskedMutex);
                    ++Asked;
                    AllAsked.notify_all();
                    // A client that asks one list at a time waits here in vain.
                    if (list.AfterAllAsked)
                        SideBySide = AllAsked.wait_for(lock, 10s, [this] { return Asked == Count; });
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(list.DelayMs));
                if (list.Answer == TAnswer::Silent)
                    Server.WaitForRelease();
                if (list.Answer == TAnswer::NotFound) {
                    res.status = 404;
                    res.set_content("no such list", "text/html");
                } else if (list.Answer == TAnswer::Stall) {
                    res.set_content_provider(100000, "text/plain",
                                             [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                                 if (offset > 0) {
                                                     Server.WaitForRelease();
                                                     return false;
                                                 }
                                                 sink.write(std::string(2048, 's').data(), 2048);
                                                 return true;
                                             });
                } else {
                    res.set_content(Body(i), "text/plain");
                }
            });
        Server.Start();
        for (int i = 0; i < count; ++i)
            WriteFile(Working / ("p" + std::to_string(i)) / "aircraft.lst", "old " + std::to_string(i));
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int i = 0; i < Count; ++i)
            names.push_back(Name(i));
        return names;
    }
    std::string Cached(int i) const { return ReadFile(Working / ("p" + std::to_string(i)) / "aircraft.lst"); }
    std::string Url(int i) const { return Server.Root() + "/files/p" + std::to_string(i) + "/aircraft.lst"; }
    std::set<int> Connections() {
        std::set<int> ports;
        for (const auto& seen : Server.Seen())
            ports.insert(seen.RemotePort);
        return ports;
    }

    TTempDir Temp;
    TWorkingDirOverride AppData{Temp / "appdata"};
    fs::path Working = Temp.Path() / "appdata" / "Wingharbour";
    TLoopbackServer Server;
    TFakeSource Source = TFakeSource::Url("http://127.0.0.1:0/files");
    TRecordingActivity Activity;
    int Count = 0;
    std::mutex AskedMutex;
    std::condition_variable AllAsked;
    int Asked = 0;
    bool SideBySide = false;
};

struct TRunCase {
    const char* Name;
    std::map<int, TList> Lists; // the others answer at once
    int Failing;                // the list whose turn raises; -1: none
    bool Cancel = false;        // close asked for 300 ms into the run
};

class FetchAheadRun : public FetchAheadTest, public ::testing::WithParamInterface<TRunCase> {};

TEST_P(FetchAheadRun, ReportsInListOrderAndReplacesOnlyWhatHadItsTurn) {
    const auto& c = GetParam();
    Serve(c.Lists, 4);
    Source.URLEdit = Server.Root() + "/files";
    THttpOptions options; // a stall shows within seconds
    options.StallSeconds = 1;
    options.StallBytesPerSecond = 10000;
    const auto start = std::chrono::steady_clock::now();
    Activity.OnPump = [&] { Activity.Cancel = c.Cancel && std::chrono::steady_clock::now() - start > 300ms; };
    std::vector<std::string> expected;
    int failed = -1;
    try {
        TFetchAhead lists(Names(), Activity, Source, options);
        for (int i = 0; i < Count; ++i) {
            failed = i;
            expected.push_back("Status: connecting to fetch file '" + Name(i) + "'.");
            lists.Fetch(i);
        }
        failed = -1;
    } catch (const EOperationCancelled&) {
        EXPECT_TRUE(c.Cancel);
        expected.push_back("Status: Download of '" + Url(failed) + "' cancelled.");
    } catch (const EWingharbour& e) {
        EXPECT_EQ(std::string(e.what()), "Error downloading URL '" + Url(failed) + "'.");
    }
    Server.Release();

    EXPECT_EQ(failed, c.Failing);
    EXPECT_EQ(Activity.Log, expected);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 8s);
    for (int i = 0; i < Count; ++i)
        EXPECT_EQ(Cached(i), c.Failing < 0 || i < c.Failing ? Body(i) : "old " + std::to_string(i)) << i;
    EXPECT_TRUE(SideBySide);
    EXPECT_FALSE(Activity.Busy);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FetchAheadRun,
    ::testing::Values(
        TRunCase{"AnswersOutOfOrder", {{0, {0, TAnswer::Ok, true}}, {1, {300}}, {2, {150}}}, -1},
        TRunCase{"FirstFailureInListOrder", {{1, {300, TAnswer::NotFound, true}}, {3, {0, TAnswer::NotFound}}}, 1},
        TRunCase{"StallAmongFastOnes", {{0, {0, TAnswer::Ok, true}}, {1, {0, TAnswer::Stall}}}, 1},
        TRunCase{"CloseWhileWaiting", {{1, {0, TAnswer::Silent, true}}}, 1, true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(FetchAheadTest, StepsTheIndicatorAsFetchingOneByOne) {
    Serve({{0, {200}}}, 3);
    Source.URLEdit = Server.Root() + "/files";
    TFetchAhead lists(Names(), Activity, Source);
    for (int i = 0; i < Count; ++i)
        lists.Fetch(i);
    TRecordingActivity single;
    for (int i = 0; i < Count; ++i)
        FetchFile(Name(i), single, Source);
    EXPECT_EQ(Activity.Steps, single.Steps);
    EXPECT_EQ(Activity.Log, single.Log);
}

TEST_F(FetchAheadTest, FetchesShareKeptAliveConnections) {
    Serve({}, 30);
    Source.URLEdit = Server.Root() + "/files";
    for (int i = 0; i < 10; ++i)
        FetchFile(Name(i), Activity, Source);
    EXPECT_EQ(Connections().size(), 1u);
    TFetchAhead lists(Names(), Activity, Source);
    for (int i = 0; i < Count; ++i)
        lists.Fetch(i);
    EXPECT_EQ(Server.Seen().size(), 40u);
    EXPECT_LE(Connections().size(), TFetchAhead::Parallel);
}

} // namespace
} // namespace wh::test
