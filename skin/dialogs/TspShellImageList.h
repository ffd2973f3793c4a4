// The system image list as the shell controls draw it: an image list that takes the icons the shell's list
// has handed out, at 16 or 32 pixels, read from the icon theme's PNG files with the program's own PNG codec.
#pragma once
#include "framework/controls/ImgList.h"

#include <cstdint>
#include <string>
#include <vector>

// Installs the program's PNG codec as the reader of the system image list's icon files (once; later calls do
// nothing). Without it every icon is the built-in generic one.
void InstallShellIconDecoder();
// Reads a PNG file into `size` x `size` pixels of B,G,R,A (each pixel the average of the source pixels it
// covers, weighted by their alpha); false when the file cannot be read.
bool DecodeShellIcon(const std::string& file, int size, std::vector<uint32_t>& pixels);

class TspShellImageList : public TCustomImageList {
    using inherited = TCustomImageList;

public:
    // `large`: the 32-pixel icons, else the 16-pixel ones.
    TspShellImageList(TComponent* owner, bool large);
    // Takes in the icons the system list gained since the last call, so that every index it handed out draws.
    // Quietly: it runs while a control asks for an item's icon, and the control draws the icon next anyway.
    void Sync();

protected:
    void Change() override;

private:
    bool FSyncing = false;
};
