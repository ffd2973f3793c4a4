// The program's own skinned open, save and folder dialogs as a provider of the file dialogs: installed with
// InstallFileDialogProvider(NewSkinFileDialogProvider(...)), they are shown when neither the desktop portal nor
// zenity can show one.
#pragma once
#include "framework/dialogs/FileDialogProviders.h"

#include <memory>

class TspSkinData;

// `skinData` dresses the dialog windows and `ctrlSkinData` the controls in them (either may be none, for the
// default look); both must outlive the provider.
std::unique_ptr<TFileDialogProvider> NewSkinFileDialogProvider(TspSkinData* skinData = nullptr, TspSkinData* ctrlSkinData = nullptr);
