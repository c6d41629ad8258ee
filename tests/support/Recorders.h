#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "activity/Activity.h"
#include "fetch/SourceSettings.h"

namespace wh::test {

// One text per progress event; the bytes as they stood at each download's end.
class TRecordingProgress : public TWHOperationProgress {
public:
    std::vector<std::string> Events;

    void OperationBegun(int rows) override { Events.push_back("begin " + std::to_string(rows)); }
    void RowBegun(int number) override { Events.push_back("row " + std::to_string(number)); }
    void LiveryArchiveNext(std::int64_t size) override { Events.push_back("livery " + std::to_string(size)); }
    void DownloadBegun() override { Events.push_back("download"); }
    void BytesReceived(std::uint64_t received, std::int64_t length) override {
        FBytes = std::to_string(received) + "/" + std::to_string(length);
    }
    void DownloadEnded() override { Events.push_back("ended " + FBytes), FBytes = "none"; }
    void OperationEnded() override { Events.push_back("end"); }

private:
    std::string FBytes = "none";
};

// Records what the core reports, as the window would show it.
class TRecordingActivity : public TWHActivity {
public:
    std::vector<std::string> Log;      // every log line, "Status: " lines included
    std::vector<std::string> Statuses; // texts shown in the status line
    int Steps = 0;                     // indicator steps, ShowProgress's included
    int Shows = 0;
    int Hides = 0;
    int StatusClears = 0;
    bool StatusLineEmpty = true; // what lblProgress would show: nothing
    int Pumps = 0;               // ProcessMessages calls
    bool Busy = false;
    int BusyChanges = 0;
    std::function<void()> OnPump; // runs at every message pump (a "click" mid-operation)
    bool Cancel = false;          // what CancelRequested answers
    TRecordingProgress Progress;

    void LogLine(const std::string& text) override { Log.push_back(text); }
    void SetStatus(const std::string& text) override {
        if (!text.empty()) {
            Statuses.push_back(text);
            StatusLineEmpty = false;
            LogLine("Status: " + text);
        }
        StepProgress();
    }
    void ShowProgress() override {
        StepProgress();
        ++Shows;
    }
    void HideProgress() override { ++Hides; }
    void ClearStatus() override {
        ++StatusClears;
        StatusLineEmpty = true;
    }
    void StepProgress() override {
        MoveProgress();
        ProcessMessages();
    }
    void MoveProgress() override { ++Steps; }
    void ProcessMessages() override {
        ++Pumps;
        if (OnPump)
            OnPump();
    }
    void SetBusyCursor(bool busy) override {
        Busy = busy;
        ++BusyChanges;
    }
    bool CancelRequested() const override { return Cancel; }
    TWHOperationProgress& OperationProgress() override { return Progress; }
};

// The Welcome page's source controls, set by the test.
class TFakeSource : public TWHSourceSettings {
public:
    bool LocalDir = false;
    std::string PackageFile;
    bool URL = false;
    std::string URLEdit;

    static TFakeSource Local(const std::string& packageFile) {
        TFakeSource s;
        s.LocalDir = true;
        s.PackageFile = packageFile;
        return s;
    }
    static TFakeSource Url(const std::string& url) {
        TFakeSource s;
        s.URL = true;
        s.URLEdit = url;
        return s;
    }

    bool LocalDirSelected() const override { return LocalDir; }
    std::string PackageFileText() const override { return PackageFile; }
    bool URLSelected() const override { return URL; }
    std::string URLText() const override { return URLEdit; }
};

} // namespace wh::test
