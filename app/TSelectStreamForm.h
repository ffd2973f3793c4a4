// TSelectStreamForm: asks which video and which audio stream of a source with several streams a job converts,
// and the handler that makes the engine ask through it.
#pragma once
#include "framework/controls/Forms.h"

#include <cstdint>
#include <string>

class TVideoInfoReader;
class TspSkinButton;
class TspSkinComboBox;
class TspSkinPanel;
class TspSkinStdLabel;

class TSelectStreamForm : public TForm {
    using inherited = TForm;

public:
    // Lists the streams of the probe `info`; the first of each kind is selected.
    TSelectStreamForm(TComponent* owner, const TVideoInfoReader* info);

    TspSkinStdLabel* lblFileName = nullptr;
    TspSkinComboBox* cbVideoStream = nullptr;
    TspSkinComboBox* cbAudioStream = nullptr;
    TspSkinButton* btnOK = nullptr;

    // Escape closes the window; the selections stand however it was closed.
    void FormKeyDown(TObject* sender, uint16_t& key, TShiftState shift);

    // The texts of one stream's item, numbered from 1.
    static std::string VideoStreamText(const TVideoInfoReader& info, int index);
    static std::string AudioStreamText(const TVideoInfoReader& info, int index);
};

// Makes the engine's stream choice show this window modally and take the item indices it is left with.
void InstallStreamChoiceWindow();
