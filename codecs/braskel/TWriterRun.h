// TWriterRun, one encoding run of a run-time encoder library written through the codec library's media writer.
#pragma once
#include "codecs/braskel/Braskel.h"

#include <cstdint>
#include <memory>
#include <string>

// The part the Windows Media and RealMedia encoders share: the writer of the run in progress, the size of the
// last run and the reason of the last failure. Not thread-safe; the entry points serialise calls.
class TWriterRun {
public:
    // `libraryName` prefixes the failures it logs.
    explicit TWriterRun(std::string libraryName);
    // Finishes a run still open.
    virtual ~TWriterRun();
    TWriterRun(const TWriterRun&) = delete;
    TWriterRun& operator=(const TWriterRun&) = delete;

    // Finishes the run's file; true without a run.
    bool End();
    bool EncodeVideo(const void* frame, double time);
    bool EncodeAudio(const void* samples, int32_t byteCount, double time);
    // Bytes of the current run, or of the last one once it ended.
    int64_t OutputSize() const;
    bool Running() const { return FWriter != nullptr; }
    const std::string& ErrorText() const { return FError; }

protected:
    // A media writer released through the library that made it.
    struct TWriterRelease {
        void operator()(MediaWriter* writer) const { Braskel_ReleaseMediaWriter(writer); }
    };
    using TWriter = std::unique_ptr<MediaWriter, TWriterRelease>;

    // A new writer for `path`; null only when memory runs out.
    static TWriter NewWriter(const std::string& path);
    // Makes `writer`, already open, the run in progress.
    void StartRun(TWriter writer);
    // Keeps and logs the reason; returns false.
    bool Fail(std::string text);

private:
    std::string FLibraryName;
    TWriter FWriter;
    int64_t FLastSize = 0;
    std::string FError;
};
