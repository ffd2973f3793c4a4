// TMainForm, the program's main window: the job list with its add road and output folder, the commands with their
// shortcuts, menus and face buttons, the preview area with its trim markers, and the batch's progress panel.
#pragma once
#include "app/ConversionPreview.h"
#include "app/JobList.h"
#include "app/MainBatch.h"
#include "app/MainPreview.h"
#include "app/PreviewFrames.h"
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/Forms.h"
#include "framework/controls/TCustomListView.h"

#include <functional>
#include <string>
#include <vector>

class TAction;
class TAdvanceForm;
class TActionList;
class TAnalysisVideoInfoForm;
class TFrLabel;
class TFrPanel;
class TImage;
class TImage32;
class TImageList;
class TMenuItem;
class TOpenDialog;
class TPanel;
class TShape;
class TTimer;
class TspPNGImageList;
class TspSkinCheckRadioBox;
class TspSkinComboBoxEx;
class TspSkinEdit;
class TspSkinForm;
class TspSkinGauge;
class TspSkinHint;
class TspSkinListView;
class TspSkinPanel;
class TspSkinPopupMenu;
class TspSkinScrollBar;
class TspSkinStdLabel;
class TspSkinTrackBar;

// The status of a job being previewed, and the decoder states the window tells apart.
constexpr int kDecoderRunning = 1;
constexpr int kDecoderStopped = 2;
constexpr int kDecoderPaused = 3;
constexpr int kDecoderPlaying = 4;

// The message a drop on the job list arrives as (WM_DROPFILES).
constexpr uint32_t kDropFilesMessage = 0x233;

class TMainForm : public TForm {
    using inherited = TForm;

public:
    // Builds the window on the main skin and sets it up: the output folder from the remembered settings (created
    // with its parents), the profile combo filled, the commands' states set.
    explicit TMainForm(TComponent* owner);
    // Stops a preview, deletes the jobs and the combo's profiles, remembers the output folder and "Preview Movie".
    ~TMainForm() override;

    // ---- Components ----------------------------------------------------------------------------------------------
    TspSkinForm* FormSkinner = nullptr;
    TspSkinHint* spSkinHint = nullptr;
    TspSkinPanel* SkinPanelFileList = nullptr;
    TspSkinListView* lvFileList = nullptr;
    TspSkinScrollBar* spSkinScrollBarH = nullptr;
    TspSkinScrollBar* spSkinScrollBarV = nullptr;
    TImageList* ImageList = nullptr;
    TPanel* FileListBackgroundPanel = nullptr;
    TImage* FileListBackgroundImage = nullptr;
    TspSkinEdit* edtOutputFolder = nullptr;
    TFrLabel* lblHintMessage = nullptr;
    TFrPanel* PreviewPanel = nullptr;
    TImage32* PreviewImage = nullptr;
    TspSkinTrackBar* tbPreview = nullptr;
    TImage* imgStartTime = nullptr;
    TImage* imgEndTime = nullptr;
    TShape* StartEndTimeShape = nullptr;
    TPanel* ConvertInfoPanel = nullptr;
    TspSkinGauge* Gauge = nullptr;
    TspSkinStdLabel* lblTargetFile = nullptr;
    TspSkinStdLabel* lblTotalTime = nullptr;
    TspSkinStdLabel* lblRemainTime = nullptr;
    TspSkinStdLabel* lblFPS = nullptr;
    TspSkinCheckRadioBox* chkPreviewMovie = nullptr;
    TspSkinCheckRadioBox* chkAutoShutdown = nullptr;
    TspSkinComboBoxEx* cbOutputProfile = nullptr;
    TspPNGImageList* IconImageList = nullptr;
    TImage* ListIconStdImage = nullptr;
    TImage* ListIconProImage = nullptr;
    TImage* ProfessionalImage = nullptr;
    TOpenDialog* OpenDialog = nullptr;
    TTimer* ConvertInfoTimer = nullptr;
    TTimer* PreviewTimer = nullptr;
    TTimer* DisplayTimer = nullptr;

    TActionList* ActionList = nullptr;
    TAction* actHelp = nullptr;
    TAction* actWeb = nullptr;
    TAction* actSupport = nullptr;
    TAction* actAbout = nullptr;
    TAction* actAddFiles = nullptr;
    TAction* actAddFolder = nullptr;
    TAction* actClearTasks = nullptr;
    TAction* actBrowse = nullptr;
    TAction* actSetting = nullptr;
    TAction* actDelete = nullptr;
    TAction* actSetStartTime = nullptr;
    TAction* actSetEndTime = nullptr;
    TAction* actUp = nullptr;
    TAction* actDown = nullptr;
    TAction* actAdvance = nullptr;
    TAction* actGo = nullptr;
    TAction* actStop = nullptr;
    TAction* actSelectAll = nullptr;
    TAction* actEditTitleInfo = nullptr;
    TAction* actEditProfile = nullptr;
    TAction* actPreview = nullptr;
    TAction* actPausePreview = nullptr;
    TAction* actStopPreview = nullptr;
    TAction* actDirectShowMode = nullptr;
    TAction* actBuiltInDecoderMode = nullptr;
    TAction* actAllProfile = nullptr;
    TAction* actOption = nullptr;

    TspSkinPopupMenu* FileListPopupMenu = nullptr;
    TspSkinPopupMenu* HelpPopupMenu = nullptr;
    TspSkinPopupMenu* iPodMenuPopupMenu = nullptr;
    TMenuItem* mnuDecoderMode = nullptr;

    // ---- The job list and the add road (TMainForm.cpp, TMainForm_Add.cpp) ---------------------------------------
    // The jobs; row i of the list shows job i.
    TJobList Jobs;

    // Sends new jobs through the analysis and output settings windows and queues those that come through; the
    // first of them is selected.
    void AddAnalysedJobs(TJobList newJobs);
    // The list shows as many rows as there are jobs, repainted.
    void RefreshJobList();
    // Deletes every job.
    void ClearJobs();
    // Takes a drop on the job list: the dropped paths become jobs (ignored while a batch runs).
    void AddDroppedFiles(TMessage& message);
    void FileListWindowProc(TMessage& message);

    void lvFileListData(TObject* sender, TListItem* item);
    void lvFileListDrawItem(TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state);
    void edtOutputFolderChange(TObject* sender);
    // Dragging the list's horizontal bar repaints the background panel that covers an empty list.
    void spSkinScrollBarHMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void actAddFilesExecute(TObject* sender);
    void actAddFolderExecute(TObject* sender);
    void actBrowseExecute(TObject* sender);
    void FormCreate(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);

    // ---- Commands and control states (TMainForm_Commands.cpp, TMainForm_Profiles.cpp) ---------------------------
    // Which commands and controls are available, from the batch, the selection, the job count and the preview.
    void UpdateControlStates();
    void ApplicationHint(TObject* sender);
    void FillProfileCombo();
    void AddProfilesOfFormat(int formatType, int imageIndex);
    void ClearProfileCombo();
    // The combo's close-up: the chosen profile goes to every selected job.
    void ApplyProfileToSelection(TObject* sender);
    void cbOutputProfileChange(TObject* sender);
    void lvFileListSelectItem(TObject* sender, TListItem* item, bool selected);
    void lvFileListDblClick(TObject* sender);
    // A face button released: the command behind its name.
    void FormSkinnerMouseUpEvent(const std::string& idName, int x, int y, const TRect& objectRect, TMouseButton button);
    // The main skin loaded or changed: the output folder, preview, hint line and progress panel go to their areas.
    void FormSkinnerChangeSkinData(TObject* sender);

    void actHelpExecute(TObject* sender);
    void actWebExecute(TObject* sender);
    void actSupportExecute(TObject* sender);
    void actAboutExecute(TObject* sender);
    void actClearTasksExecute(TObject* sender);
    void actSettingExecute(TObject* sender);
    void actDeleteExecute(TObject* sender);
    void actUpExecute(TObject* sender);
    void actDownExecute(TObject* sender);
    void actAdvanceExecute(TObject* sender);
    void actSelectAllExecute(TObject* sender);
    void actEditTitleInfoExecute(TObject* sender);
    void actEditProfileExecute(TObject* sender);
    void actDirectShowModeExecute(TObject* sender);
    void actBuiltInDecoderModeExecute(TObject* sender);
    void actAllProfileExecute(TObject* sender);
    void actOptionExecute(TObject* sender);

    // The rows selected, in order.
    std::vector<int> SelectedRows() const;

    // ---- Preview player and conversion preview (TMainForm_Preview.cpp) -------------------------------------------
    // The job being previewed (not owned), null when none.
    TConvertJob* PreviewJob = nullptr;
    void StartPreview();
    void StopPreview();
    void PausePreview();
    void ShowTrimMarkers(TConvertJob* job);
    void UpdateTrimShape();
    void UpdateTrimHint();
    // Whether a preview decoder exists, and its state (kDecoderRunning ... kDecoderPlaying); 0 without one.
    bool HasPreviewDecoder() const;
    int PreviewDecoderState() const;
    void actPreviewExecute(TObject* sender);
    void actPausePreviewExecute(TObject* sender);
    void actStopPreviewExecute(TObject* sender);
    void actSetStartTimeExecute(TObject* sender);
    void actSetEndTimeExecute(TObject* sender);
    void PreviewTimerTimer(TObject* sender);
    void DisplayTimerTimer(TObject* sender);
    void tbPreviewChange(TObject* sender);
    void PreviewImageResize(TObject* sender);
    void chkPreviewMovieClick(TObject* sender);
    // Lets go of the preview decoder and the frame buffers at teardown.
    void ReleasePreview();
    // The frame lock with the frames it guards, the preview player, and the frame display during a conversion.
    std::unique_ptr<TPreviewFrames> Frames;
    std::unique_ptr<TMainPreview> Player;
    std::unique_ptr<TConversionPreview> ConversionView;
    // The advanced settings window while it is shown over the preview: the frames go to it.
    TAdvanceForm* OpenAdvanceForm = nullptr;

    // ---- Batch (TMainForm_Batch.cpp) ------------------------------------------------------------------------------
    // A batch runs; the index of its running job (0 when none); that job's frame count at the last progress step;
    // progress steps since the batch began.
    bool Converting = false;
    int RunningIndex = 0;
    int32_t FramesAtLastTick = 0;
    int TickCount = 0;
    void actGoExecute(TObject* sender);
    void actStopExecute(TObject* sender);
    void ConvertInfoTimerTimer(TObject* sender);
    // The batch loop; the four fields above follow it.
    std::unique_ptr<TMainBatch> Batch;

private:
    // The preview player, the conversion's frame display and the batch, bound to the window's controls.
    void CreatePreviewAndBatch();
    void BindPreview();
    void BindBatch();
    // The window's copies of the batch's and the preview's state, read by the control states.
    void SyncBatchState();
    void ShowBatchStep(const TBatchStep& step);

    void CreateComponents();
    void CreateActions();
    void CreateMenus();
    void CreateListArea();
    void CreatePreviewArea();
    void CreateProgressPanel();
    void BindEvents();
    // The eight format icons of the profile combo, from the skin folder.
    void LoadFormatIcons();
    // Image 0 of the list's small images, the icon of every row.
    void LoadRowIcon();
    // The list's select-item event while commands rebuild the selection.
    void DetachSelectItem();
    void AttachSelectItem();
    // Selects exactly `row` (nothing for -1) and makes it the focused row.
    void SelectOnly(int row);
    // The job of the one selected row; null unless exactly one row is selected.
    TConvertJob* SelectedJob() const;
    void ReprobeSelectedJob(int kind);
    // The one selected job one row up (-1) or down (+1), still selected; nothing at the ends.
    void MoveSelectedJob(int step);
    // The control states of the list and the face while a batch runs or while idle.
    void SetBatchStates();
    void SetIdleStates();
    void SetFaceButtons(std::initializer_list<const char*> names, bool enabled);
    // Paths from the open dialog of "Add Video Files"; empty when it was cancelled.
    std::vector<std::string> ChooseVideoFiles();
    void AddFiles(const std::vector<std::string>& paths);

    TLVSelectItemEvent FSelectItemHandler;
    std::function<void(TMessage& message)> SavedListWindowProc;
    // The add road's analysis window while it is shown, so that closing the program can end it.
    TAnalysisVideoInfoForm* RunningAnalysis = nullptr;
    // An add command is under way, and the window was asked to close meanwhile: it closes when the add ends.
    int AddDepth = 0;
    bool CloseRequested = false;
    // Marks an add command under way for as long as it lives; the last one to end performs a close asked for.
    struct TAddScope {
        explicit TAddScope(TMainForm& form);
        ~TAddScope();
        TAddScope(const TAddScope&) = delete;
        TAddScope& operator=(const TAddScope&) = delete;
        TMainForm& Form;
    };
};

// The program's main window, null while there is none.
extern TMainForm* MainForm;
