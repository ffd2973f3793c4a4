// The library's operations: a table from handles to graphs, and each operation passed on to its graph.
#include "codecs/quentim/Quentim.h"

#include "codecs/quentim/TQuentimGraph.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace {

struct THandleTable {
    std::mutex Lock;
    std::map<QuentimHandle, std::unique_ptr<TQuentimGraph>> Graphs;
    QuentimHandle Next = 1;
};

// Never destroyed: a handle may outlive static destruction in a program that exits without destroying it.
THandleTable& Handles()
{
    static THandleTable* table = new THandleTable;
    return *table;
}

// The graph of a live handle, or null. Calls on one handle are not concurrent with its Destroy, so the pointer
// stays valid for the caller's operation.
TQuentimGraph* Find(QuentimHandle handle)
{
    THandleTable& table = Handles();
    std::lock_guard lock(table.Lock);
    const auto found = table.Graphs.find(handle);
    return found != table.Graphs.end() ? found->second.get() : nullptr;
}

} // namespace

QuentimHandle Quentim_Create()
{
    std::unique_ptr<TQuentimGraph> graph(new (std::nothrow) TQuentimGraph);
    if (!graph)
        return 0;
    THandleTable& table = Handles();
    std::lock_guard lock(table.Lock);
    const QuentimHandle handle = table.Next++;
    table.Graphs.emplace(handle, std::move(graph));
    return handle;
}

void Quentim_Destroy(QuentimHandle handle)
{
    std::unique_ptr<TQuentimGraph> graph;
    {
        THandleTable& table = Handles();
        std::lock_guard lock(table.Lock);
        const auto found = table.Graphs.find(handle);
        if (found == table.Graphs.end())
            return;
        graph = std::move(found->second);
        table.Graphs.erase(found);
    }
    // From inside one of its own callbacks the decoding thread cannot wait for itself: the graph stops once the
    // callback returns, and a thread of its own waits for that and destroys it.
    if (graph->InsideCallback()) {
        graph->Stop();
        TQuentimGraph* doomed = graph.release();
        try {
            std::thread([doomed] { delete doomed; }).detach();
        } catch (const std::system_error&) {
            // No thread to spare: the graph is left behind rather than destroyed under the running callback.
        }
        return;
    }
    // Outside the table's lock: stopping waits for the decoding thread, whose callbacks may use other handles.
    graph.reset();
}

uint8_t Quentim_Open(QuentimHandle handle, QuentimOpenParams* params)
{
    TQuentimGraph* graph = Find(handle);
    return graph && params && graph->Open(*params) ? 1 : 0;
}

void Quentim_GetInfo(QuentimHandle handle, QuentimInfo* info)
{
    if (!info)
        return;
    if (TQuentimGraph* graph = Find(handle))
        graph->GetInfo(*info);
    else
        std::memset(info, 0, sizeof(*info));
}

void Quentim_SetRange(QuentimHandle handle, double startTime, double endTime)
{
    if (TQuentimGraph* graph = Find(handle))
        graph->SetRange(startTime, endTime);
}

void Quentim_SetConversionFlags(QuentimHandle, int32_t)
{
}

uint8_t Quentim_Run(QuentimHandle handle)
{
    TQuentimGraph* graph = Find(handle);
    return graph && graph->Run() ? 1 : 0;
}

uint8_t Quentim_Pause(QuentimHandle handle)
{
    TQuentimGraph* graph = Find(handle);
    return graph && graph->Pause() ? 1 : 0;
}

int32_t Quentim_GetPosition(QuentimHandle handle, double* position)
{
    TQuentimGraph* graph = Find(handle);
    return graph && graph->GetPosition(position) ? 1 : 0;
}

int32_t Quentim_Seek(QuentimHandle handle, double position)
{
    TQuentimGraph* graph = Find(handle);
    return graph && graph->Seek(position) ? 1 : 0;
}

int32_t Quentim_GetState(QuentimHandle handle)
{
    TQuentimGraph* graph = Find(handle);
    return graph ? graph->GetState() : kQuentimStopped;
}
