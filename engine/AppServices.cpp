#include "engine/AppServices.h"

#include "engine/TVideoInfoReader.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TThread.h"

#include <cstdio>

namespace {

// Function-local instances, so nothing here is constructed before main.
TMessageBoxHandler& MessageBoxHandler()
{
    static TMessageBoxHandler handler;
    return handler;
}

std::string& ProgramFolderOverride()
{
    static std::string folder;
    return folder;
}

std::function<void()>& ProcessMessagesHandler()
{
    static std::function<void()> handler;
    return handler;
}

std::function<void(int32_t)>& ScreenCursorHandler()
{
    static std::function<void(int32_t)> handler;
    return handler;
}

TChooseStreamsHandler& ChooseStreamsHandler()
{
    static TChooseStreamsHandler handler;
    return handler;
}

} // namespace

int32_t ShowMessageBox(const std::string& text, const std::string& caption, int32_t flags)
{
    const TMessageBoxHandler& handler = MessageBoxHandler();
    if (handler)
        return handler(text, caption, flags);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return 1;
}

void SetMessageBoxHandler(TMessageBoxHandler handler)
{
    MessageBoxHandler() = std::move(handler);
}

std::string ProgramFolder()
{
    const std::string& folder = ProgramFolderOverride();
    return folder.empty() ? ExeFolder() : folder;
}

void SetProgramFolder(std::string_view folder)
{
    ProgramFolderOverride() = IncludeTrailingPathDelimiter(folder);
}

void ProcessMessages()
{
    const std::function<void()>& handler = ProcessMessagesHandler();
    if (handler)
        handler();
    else if (GetCurrentThreadId() == MainThreadID())
        CheckSynchronize(0);
}

void SetProcessMessagesHandler(std::function<void()> handler)
{
    ProcessMessagesHandler() = std::move(handler);
}

void SetScreenCursor(int32_t cursor)
{
    const std::function<void(int32_t)>& handler = ScreenCursorHandler();
    if (handler)
        handler(cursor);
}

void SetScreenCursorHandler(std::function<void(int32_t cursor)> handler)
{
    ScreenCursorHandler() = std::move(handler);
}

void ChooseStreams(const TVideoInfoReader& info, int32_t& videoStreamIndex, int32_t& audioStreamIndex)
{
    const TChooseStreamsHandler& handler = ChooseStreamsHandler();
    if (handler) {
        handler(info, videoStreamIndex, audioStreamIndex);
        return;
    }
    videoStreamIndex = info.HasVideo() ? 0 : -1;
    audioStreamIndex = info.HasAudio() ? 0 : -1;
}

void SetChooseStreamsHandler(TChooseStreamsHandler handler)
{
    ChooseStreamsHandler() = std::move(handler);
}
