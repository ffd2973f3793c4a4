// Our side of the batch benchmarks.
#include "bench/BenchBatchRun.h"

#include "app/JobList.h"
#include "app/MainBatch.h"
#include "engine/FormatProfiles.h"
#include "framework/controls/Forms.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/shell/ShellExecute.h"

#include <cstdio>

int RunMainWindowBatch(const std::string& outputFolder, const std::vector<std::string>& sources)
{
    THeadlessBackend backend;
    if (!backend.Install())
        return 1;
    // The log of every message is for tests; a program runs without it.
    backend.Log().SetEnabled(false);
    InitializeForms();
    TJobList jobs;
    const TMP4Profile profile("MP4", "");
    for (const std::string& source : sources) {
        auto job = std::make_unique<TConvertJob>(source);
        if (!job->Analyse()) {
            std::fprintf(stderr, "the job cannot read %s\n", source.c_str());
            return 1;
        }
        job->Analysed = true;
        job->Status = jsQueue;
        job->SetProfile(profile.Clone());
        job->OutputFile = BuildOutputPath(outputFolder, *job);
        jobs.push_back(std::move(job));
    }
    {
        // The batch's end opens the output folder in a file manager; a benchmark starts none.
        TShellCommandRecorder shell;
        TMainBatch batch(jobs);
        batch.OutputFolder = [&] { return outputFolder; };
        batch.Go();
    }
    int status = 0;
    for (const auto& job : jobs) {
        if (job->Status != jsCompleted) {
            std::fprintf(stderr, "%s did not complete: %s\n", job->OutputFile.c_str(), job->GetNote().c_str());
            status = 1;
        }
    }
    jobs.clear();
    FinalizeForms();
    backend.Uninstall();
    return status;
}
