#include "skin/dialogs/TspShellChangeNotifier.h"

#include "platform/shell/TShellChangeNotifier.h"

TspCustomShellChangeNotifier::TspCustomShellChangeNotifier(TComponent* owner)
    : inherited(owner)
{
    Start();
}

TspCustomShellChangeNotifier::~TspCustomShellChangeNotifier()
{
    // Joins the worker: no OnChange runs once this returns, even one already queued.
    FThread.reset();
}

uint32_t TspCustomShellChangeNotifier::FilterBits(TNotifyFilters filters)
{
    uint32_t bits = 0;
    for (TNotifyFilter filter : { nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange })
        if (filters.Contains(filter))
            bits |= 1u << filter;
    if (filters.Contains(nfSecurityChange))
        bits |= FILE_NOTIFY_CHANGE_SECURITY;
    return bits;
}

void TspCustomShellChangeNotifier::Start()
{
    if (!FOnChange)
        return;
    // The worker calls whatever OnChange holds when a change comes, so a later SetOnChange reaches it.
    FThread = std::make_unique<TShellChangeNotifier>(FRoot, FWatchSubTree, FilterBits(FFilters), [this] {
        if (FOnChange)
            FOnChange();
    });
}

void TspCustomShellChangeNotifier::Change()
{
    if (FThread)
        FThread->SetDirectoryOptions(FRoot, FWatchSubTree, FilterBits(FFilters));
}

void TspCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters value)
{
    FFilters = value;
    Change();
}

void TspCustomShellChangeNotifier::SetWatchSubTree(bool value)
{
    FWatchSubTree = value;
    Change();
}

void TspCustomShellChangeNotifier::SetRoot(const std::string& value)
{
    if (value == FRoot)
        return;
    FRoot = value;
    Change();
}

void TspCustomShellChangeNotifier::SetOnChange(TThreadMethod value)
{
    FOnChange = std::move(value);
    if (!FThread)
        Start();
}

bool TspCustomShellChangeNotifier::Watching() const
{
    return FThread && FThread->Watching();
}
