// The steps the whole-program display tests share: adding clips through the add road's windows, running the batch
// and finding its outputs, on a program started afresh for each test.
#pragma once
#include "tests/display/OutputProbe.h"
#include "tests/display/TProgramDriver.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The output formats in the order the output settings window shows their pictures, left to right.
enum class TOutputFormat { AVI, MPEG, WMV, Real, MOV, MP4, ThreeGP, FLV };

// The one profile each format offers in the tests, and what its files hold.
struct TFormatProfile {
    TOutputFormat Format;
    const char* Profile; // The profile's file name without ".pf".
    const char* Extension;
    const char* Container; // As ffprobe names the demuxer.
    int Width;
    int Height;
};
extern const TFormatProfile FormatProfiles[8];
const TFormatProfile& ProfileOf(TOutputFormat format);

class TProgramFlowsTest : public testing::Test {
protected:
    // Starts the program; every test begins on its main window.
    void SetUp() override;
    // Ends the program on its close button; after a failure first keeps a screenshot of what showed.
    void TearDown() override;

    // Sends keys to the main window.
    void KeyToMainWindow(const std::string& keys);
    // Answers the output settings window the add road shows: the format's picture, then OK.
    void AnswerOutputSettings(TOutputFormat format);
    // Drops the files on the job list and answers the add road's windows.
    void AddByDrop(const std::vector<std::string>& paths, TOutputFormat format);
    // The same when some of the files cannot be read: the analysis window then stays until it is closed.
    void AddByDropWithUnreadable(const std::vector<std::string>& paths, TOutputFormat format);
    // Starts the batch with its key and returns at once.
    void StartBatch();
    // Waits until the batch has ended: the program then opens the output folder (the `opened`-th time).
    bool WaitBatchEnd(size_t opened = 1, std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Starts the batch and waits for its end.
    void RunBatch();

    // The output of `source`: the file of the videos folder (or a folder in it) with the source's name and another
    // extension; "" when there is none. `suffix` picks a renamed one ("_1").
    std::string OutputOf(const std::string& source, const std::string& suffix = "") const;
    // Every file in the videos folder and below.
    std::vector<std::string> Outputs() const;
    static double SourceDuration(const std::string& path);

    // Done before the program starts (a fixture that points it at services of its own).
    virtual void BeforeStart() {}
    // Checks an output against the format's profile and the source's length.
    void ExpectOutput(const std::string& output, TOutputFormat format, double seconds, bool audio = true);

    TProgramDriver Program;
};
