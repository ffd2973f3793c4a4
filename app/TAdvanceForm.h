// TAdvanceForm, "Advance Settings": one job's trim, crop, streams, aspect ratio, output file and output settings,
// edited over the main window's running preview, with a text report of it all.
#pragma once
#include "framework/controls/Forms.h"

#include <cstdint>
#include <memory>
#include <string>

class DecoderBase;
class TBitmap32;
class TConvertJob;
class TCustomLayer;
class TFrMemo;
class TFrPanel;
class TFrSizePanel;
class TImage;
class TImage32;
class TOutputSettingsForm;
class TSaveDialog;
class TShape;
class TspSkinButton;
class TspSkinCheckRadioBox;
class TspSkinComboBox;
class TspSkinEdit;
class TspSkinForm;
class TspSkinNotebook;
class TspSkinPageControl;
class TspSkinSpinEdit;
class TspSkinStdLabel;
class TspSkinTabSheet;
class TspSkinTrackBar;
class TTimer;

class TAdvanceForm : public TForm {
    using inherited = TForm;

public:
    // The window for `job` (not owned) over `decoder`, the main window's preview decoder of that job (not owned;
    // null when no preview could be started: the window then offers no playing, seeking or stream preview).
    TAdvanceForm(TComponent* owner, DecoderBase* decoder, TConvertJob* job);
    ~TAdvanceForm() override;

    // Shows `frame` on the "Edit" page as the source (with the crop drawn on it) or as the output will look, and
    // keeps a copy for redrawing. Nothing happens on the other pages or without a frame.
    void DrawPreviewFrame(TBitmap32* frame);
    // Gives the job a copy of the profile built on the "Output Settings" page.
    void ApplyOutputSettings();
    // Sets the four crop edits so that they cut the frame's uniform border away.
    void AutoCrop(TBitmap32* frame);

    // ---- Components ------------------------------------------------------------------------------------------
    TspSkinForm* FormSkinner = nullptr;
    TspSkinPageControl* PageControl = nullptr;
    TspSkinTabSheet *tbVisualAdjust = nullptr, *tsOutputSettings = nullptr, *tbDetail = nullptr;
    TFrPanel* FrPanel6 = nullptr;
    TspSkinCheckRadioBox *chkSourceMovie = nullptr, *chkOutputMovie = nullptr;
    TFrSizePanel* FrSizePanel1 = nullptr;
    TspSkinNotebook* spSkinNotebook = nullptr;
    TFrPanel* FrPanel = nullptr;
    TImage32* PreviewImage = nullptr;
    TFrPanel *FrPanel1 = nullptr, *TrackBarPanel = nullptr;
    TspSkinButton* btnPlayPause = nullptr;
    TspSkinTrackBar* tbPreview = nullptr;
    TImage *imgStartTime = nullptr, *imgEndTime = nullptr;
    TShape* StartEndTimeShape = nullptr;
    TspSkinStdLabel *lblStartTime = nullptr, *lblEndTime = nullptr, *lblClipLenght = nullptr, *lblCurrentTime = nullptr;
    TspSkinSpinEdit *edtCropLeft = nullptr, *edtCropRight = nullptr, *edtCropTop = nullptr, *edtCropBottom = nullptr;
    TspSkinButton *btnAutoCrop = nullptr, *btnReset = nullptr;
    TspSkinCheckRadioBox *chkFixAspectRatio = nullptr, *chkSpecifyAspectRatio = nullptr;
    TspSkinComboBox* cbAspectRatio = nullptr;
    TspSkinComboBox *cbVideoStream = nullptr, *cbAudioStream = nullptr;
    TFrPanel* FrPanel2 = nullptr;
    TspSkinEdit* edtName = nullptr;
    TspSkinButton* btnBrowse = nullptr;
    TSaveDialog* SaveDialog = nullptr;
    TFrMemo* DetailMemo = nullptr;
    TFrPanel* BtnPanel = nullptr;
    TspSkinButton *btnOk = nullptr, *btnCancel = nullptr;
    TTimer* PreviewTimer = nullptr;

    // ---- Handlers --------------------------------------------------------------------------------------------
    void FormCreate(TObject* sender);
    void FormDestroy(TObject* sender);
    void FormResize(TObject* sender);
    void FormKeyPress(TObject* sender, char32_t& key);
    void PageControlChange(TObject* sender);
    void tsOutputSettingsResize(TObject* sender);
    void TrackBarPanelResize(TObject* sender);
    void PreviewTimerTimer(TObject* sender);
    void tbPreviewChange(TObject* sender);
    void btnPlayPauseClick(TObject* sender);
    // Both markers.
    void imgStartTimeMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void imgStartTimeMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void imgStartTimeMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void imgEndTimeMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void cbVideoStreamChange(TObject* sender);
    void cbAudioStreamChange(TObject* sender);
    void chkSpecifyAspectRatioClick(TObject* sender);
    void chkFixAspectRatioClick(TObject* sender);
    // Both preview-mode radios.
    void chkSourceMovieClick(TObject* sender);
    void btnBrowseClick(TObject* sender);
    void btnOkClick(TObject* sender);
    // The embedded window's eight format radios.
    void OutputFormatClick(TObject* sender);
    // The crop.
    void edtCropLeftChange(TObject* sender);
    void PreviewImageResize(TObject* sender);
    void btnResetClick(TObject* sender);
    void btnAutoCropClick(TObject* sender);
    void PreviewImageMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y, TCustomLayer*);
    void PreviewImageMouseMove(TObject* sender, TShiftState shift, int x, int y, TCustomLayer*);
    void PreviewImageMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y, TCustomLayer*);

    // ---- State -----------------------------------------------------------------------------------------------
    TConvertJob* EditedJob = nullptr;
    DecoderBase* SharedDecoder = nullptr;
    int32_t TrackLeft = 64;
    int32_t TrackRight = 64;
    double TrimStart = 0.0;
    double TrimEnd = 0.0;
    int32_t RememberedWidth = 705;
    int32_t RememberedHeight = 740;
    std::unique_ptr<TBitmap32> LastFrame;
    TOutputSettingsForm* EmbeddedOutputSettings = nullptr;
    int32_t DragStartX = 0;
    int32_t DragStartY = 0;
    bool CropDragging = false;
    TNotifyEvent SavedFormatClick;

    // Whole seconds as "hh:mm:ss " (a trailing blank included).
    static std::string FormatTime(uint32_t seconds);
    void PlaceTrimMarkers();
    void UpdateTimeLabels();
    void UpdateTrimHints();
    void DrawOutlinedText(TBitmap32* bitmap, int x, int y, const std::string& text);

private:
    void CreateComponents();
    void CreateEditPage();
    void CreateCropPage();
    void CreateTrackBarPanel();
    void CreateOutputPages();
    void EmbedOutputSettings();
    void FillStreamLists();
    void ShowJob();
    // The source's duration in seconds from the job's probe.
    double Duration() const;
    // The decoder's position in seconds; 0 without a decoder or when it reports none.
    double DecoderPosition() const;
    // A marker was dragged to `time`: the bar shows it, the preview seeks there, and the markers, labels and hints
    // follow.
    void MarkerMoved(double time);
    // The four crop edits set without their change events, in the order left, right, top, bottom.
    void SetCropEdits(int32_t left, int32_t right, int32_t top, int32_t bottom);
    // Redraws the last frame at once unless a playing preview is about to bring the next one.
    void RedrawWhenStill();
    void RedrawLastFrame();
    // The output-mode picture of `frame`: the crop, scaled to the profile's size and letterboxed with Fix Aspect
    // Ratio; null when the crop leaves no pixels.
    std::unique_ptr<TBitmap32> OutputPicture(TBitmap32* frame, int32_t& outWidth, int32_t& outHeight);
    // Draws `picture` centred into the preview image, the grey bands around it.
    void ShowCentred(TBitmap32* picture);
    bool IsEditPageActive() const;
    bool ShowsSource() const;
};

// Shows the advanced settings window for `job` modally over `owner`, on the main window's preview decoder of that
// job (may be null), and deletes it when it closes. While the window is open, `*shown` (when given) points at it
// so the caller's preview display can hand it frames (DrawPreviewFrame); it is null again afterwards. True when
// the user pressed OK.
bool ShowAdvanceSettings(TComponent* owner, DecoderBase* decoder, TConvertJob* job, TAdvanceForm** shown = nullptr);
