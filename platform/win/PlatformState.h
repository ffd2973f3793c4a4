// The window layer's internal state (window and class records, queues, activation, input) and the helpers
// its units share. Included only by platform/win sources.
#pragma once
#include "platform/win/Platform.h"
#include "platform/win/ScrollBarLayout.h"
#include "platform/win/TBackend.h"
#include "platform/win/TRegion.h"
#include "platform/win/Windows.h"

#include <array>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct TWindowClassRecord {
    std::string Name;
    ATOM Atom = 0;
    UINT Style = 0;
    WNDPROC Proc = nullptr;
    HINSTANCE Instance = nullptr;
    HICON Icon = nullptr;
    HICON IconSmall = nullptr;
    HCURSOR Cursor = nullptr;
    HBRUSH Background = nullptr;
    std::string MenuName;
    int WindowExtra = 0;
    std::vector<uint8_t> ClassExtra;
    int WindowCount = 0;
};

// A named handle a window carries (WindowProps.cpp): by name, or by number when Atom is set.
struct TWindowProp {
    std::string Name;
    uintptr_t Atom = 0;
    HANDLE Data = nullptr;
};

// The caret (Caret.cpp). Drawn tells whether its pixels are inverted in the window's buffer now.
struct TCaretState {
    HWND Window = nullptr;
    HBITMAP Bitmap = nullptr;
    int Width = 0;
    int Height = 0;
    POINT Pos {};
    int HideCount = 0;
    bool Drawn = false;
    // BeginPaint hid it, and EndPaint shows it again.
    bool HiddenByPaint = false;
};

// One window. Children are held in z-order, the top-most first. Window is in the parent's client coordinates
// (the screen for top-level windows); Client is relative to the window's top-left corner.
struct TWindowRecord {
    HWND Handle = nullptr;
    std::shared_ptr<TWindowClassRecord> Class;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    TWindowRecord* Parent = nullptr;
    TWindowRecord* Owner = nullptr;
    std::vector<TWindowRecord*> Children;
    RECT Window {};
    RECT Client {};
    std::string Text;
    LONG_PTR Id = 0;
    LONG_PTR UserData = 0;
    HINSTANCE Instance = nullptr;
    std::vector<uint8_t> Extra;

    // The procedure chain as link tokens, the class's procedure first and the current one last.
    std::vector<uintptr_t> ProcChain;

    HRGN Region = nullptr;
    BYTE Alpha = 255;
    COLORREF ColorKey = 0;
    DWORD LayeredFlags = 0;

    // Painting: the update region in client coordinates.
    TRegion Update;
    bool ErasePending = false;
    bool FramePending = false;
    bool InternalPaint = false;
    // Between BeginPaint and EndPaint (and during an immediate erase): the region being painted, client
    // coordinates.
    TRegion PaintRegion;
    bool Painting = false;
    // Moves on whenever Painting or PaintRegion changes; only this window's client visible region uses them.
    uint64_t PaintSerial = 0;
    bool NcActive = false;

    TScrollBarState HorzBar;
    TScrollBarState VertBar;
    std::vector<TWindowProp> Props;

    // WM_SETICON's icons (not owned).
    HICON BigIcon = nullptr;
    HICON SmallIcon = nullptr;

    // Top-level windows only.
    TNativeWindow Native = 0;
    // The shape last given to the display for a colour key (window coordinates).
    std::optional<TRegion> KeyShape;
    std::unique_ptr<TBackBuffer> Buffer;
    RECT Dirty {};

    // The visible region last worked out for the whole window [0], for its client area [1] and for the client
    // area cut to the paint region of the paint under way [2], with the window-table generation (0: none kept)
    // and, for [2], the paint serial it belongs to.
    std::array<TRegion, 3> VisibleKept;
    std::array<uint64_t, 3> VisibleKeptGeneration {};
    uint64_t VisibleKeptPaintSerial = 0;

    RECT NormalRect {};
    bool RestoreMaximized = false;

    bool IsDesktop = false;
    bool IsMessageRoot = false;
    bool Created = false;
    bool Destroying = false;
    // Read by other threads through IsWindow and PostMessage.
    std::atomic<bool> Destroyed { false };
};

// One link of a window-procedure chain. GWLP_WNDPROC hands out link tokens rather than function addresses,
// so that "restore the value I saved" names one hook exactly. A link that came off stays known (not Live)
// so that a hook which saved it and chains to it reaches what it had saved in turn.
struct TProcLink {
    WNDPROC Proc = nullptr;
    uintptr_t Saved = 0;
    HWND Window = nullptr;
    bool Live = true;
};

struct TTimerRecord {
    HWND Window = nullptr;
    UINT_PTR Id = 0;
    UINT Elapse = 0;
    TIMERPROC Proc = nullptr;
    uint64_t Due = 0;
};

// The last press, to tell a double click.
struct TClickRecord {
    HWND Window = nullptr;
    UINT Message = 0;
    bool NonClient = false;
    DWORD Time = 0;
    POINT Point {};
    bool Valid = false;
};

// One file drop handed to a window (HDROP): the paths and where the pointer was, in the client coordinates of
// the window that got it.
struct TDropRecord {
    std::vector<std::string> Paths;
    POINT Point {};
    bool InClient = true;
};

struct TPlatformState {
    TBackend* Backend = nullptr;
    std::function<void()> PreviousWake;

    // Handle table (shared with other threads for IsWindow and PostMessage).
    struct TSlot {
        uint32_t Generation = 1;
        std::shared_ptr<TWindowRecord> Record;
    };
    std::mutex TableLock;
    std::vector<TSlot> Slots;
    // Changes whenever something a visible region depends on changes: a window made, destroyed, shown,
    // hidden, moved, sized, restacked or reparented, a style, window region or back buffer.
    std::atomic<uint64_t> VisibleGeneration { 1 };
    std::vector<uint32_t> FreeSlots;

    std::shared_ptr<TWindowRecord> Desktop;
    // What the screen DC drew over the windows, as XOR values over OverlayArea (screen coordinates).
    std::vector<uint32_t> Overlay;
    RECT OverlayArea {};
    std::shared_ptr<TWindowRecord> MessageRoot;

    std::vector<std::shared_ptr<TWindowClassRecord>> Classes;
    ATOM NextAtom = 0xC000;
    std::vector<std::string> RegisteredMessages;

    std::unordered_map<uintptr_t, TProcLink> ProcLinks;
    uintptr_t NextProcToken = 1;
    int SendDepth = 0;

    // Queues. Posted messages and raw input may come from any thread.
    std::mutex QueueLock;
    std::deque<MSG> Posted;
    std::deque<TRawInput> Raw;
    bool QuitPending = false;
    int QuitCode = 0;
    std::deque<MSG> Cooked;

    std::vector<TTimerRecord> Timers;
    UINT_PTR NextThreadTimerId = 0x7F00;

    HWND Active = nullptr;
    HWND Focus = nullptr;
    HWND Capture = nullptr;
    HWND SizeMoveWindow = nullptr;
    HCURSOR Cursor = nullptr;

    // Input state. KeyState is as of the last cooked message; AsyncKeyState and CursorPos as of the last raw
    // event queued.
    std::array<BYTE, 256> KeyState {};
    std::array<BYTE, 256> AsyncKeyState {};
    POINT CursorPos {};
    POINT LastMovePoint { -1, -1 };
    TClickRecord LastClick;
    bool LoneAlt = false;
    bool MenuKeyPending = false;
    DWORD MessageTime = 0;
    POINT MessagePoint {};
    UINT DoubleClickTimeOverride = 0;
    int CrossThreadSends = 0;

    // The display's text of cooked key-downs not yet translated, by the MSG's lPrivate tag. A key retrieved
    // and not translated (consumed) loses its text when a later tagged key is retrieved.
    std::unordered_map<DWORD, std::u32string> KeyTexts;
    DWORD NextKeyTextTag = 1;
    // The display reported the pointer over no window of ours, until the next move.
    bool PointerOutside = false;
    // The window active when the program lost the display's focus, to activate again when it returns.
    HWND ActiveBeforeDeactivation = nullptr;
    // File drops handed out in WM_DROPFILES and not finished yet.
    std::unordered_map<uintptr_t, TDropRecord> Drops;
    uintptr_t NextDrop = 1;

    // The clipboard while open: who opened it, what was set since (the whole new contents), and the blocks
    // handed out or taken over, freed at closing.
    bool ClipboardOpen = false;
    HWND ClipboardOpener = nullptr;
    HWND ClipboardOwner = nullptr;
    std::optional<TClipboardData> ClipboardPending;
    std::vector<HANDLE> ClipboardBlocks;

    TMessageObserver* Observer = nullptr;
    TDCProvider* DCProvider = nullptr;

    TCaretState Caret;
    UINT CaretBlinkTime = 530;

    // The back buffer of the top-level window that gave one up last, if not larger than kMaxSpareBufferPixels:
    // menus and hints open and close again and again at one size, and the next window of that size takes this
    // one, still in the cache, instead of a fresh allocation.
    std::unique_ptr<TBackBuffer> SpareBuffer;
};

// Null while the layer is stopped.
extern TPlatformState* GPlatform;

// SetWindowPos flag the system adds when a window was minimized, maximized or restored (as Windows does),
// so the default WM_WINDOWPOSCHANGED reports the new WM_SIZE type even when the client size stayed.
constexpr UINT SWP_STATECHANGED_INTERNAL = 0x8000;
// Back buffers are limited to this many pixels per side; a larger window is drawable in that part only.
constexpr int kMaxBufferSide = 8192;
// The largest back buffer kept for reuse once its window has let go of it (4 MB).
constexpr size_t kMaxSpareBufferPixels = size_t(1024) * 1024;
// What a back buffer shows where its window has not drawn yet: opaque black.
constexpr uint32_t kUnpaintedPixel = 0xFF000000u;

namespace WinCore {

bool IsUiThread();
// The pointer position as of the last raw event queued (any thread may be queuing).
POINT CursorNow();
// True when the layer runs and the caller is the UI thread; otherwise sets the last error and returns false.
bool Ready();

// Handle table.
HWND AllocateHandle(const std::shared_ptr<TWindowRecord>& record);
void ReleaseHandle(HWND hwnd);
std::shared_ptr<TWindowRecord> FindShared(HWND hwnd);
// The live (not destroyed) record of a handle, or null. UI thread.
TWindowRecord* Find(HWND hwnd);
// Like Find, and sets ERROR_INVALID_WINDOW_HANDLE when there is none. Entry points use the checks in
// EntryChecks.h (NeedWindow and its kin), which this forwards to.
TWindowRecord* Need(HWND hwnd);
bool IsPseudoWindow(const TWindowRecord* w);
// A class by name (case-insensitive) or atom.
std::shared_ptr<TWindowClassRecord> FindClass(const char* name);

// Tree.
bool IsTopLevel(const TWindowRecord* w);
bool IsChildWindow(const TWindowRecord* w);
bool IsMessageOnly(const TWindowRecord* w);
TWindowRecord* RootOf(TWindowRecord* w);
bool IsAncestorOf(const TWindowRecord* ancestor, const TWindowRecord* w);
bool IsVisibleChain(const TWindowRecord* w);
// Screen position of the window's and the client's top-left corners.
POINT WindowOrigin(const TWindowRecord* w);
POINT ClientOrigin(const TWindowRecord* w);
RECT WindowScreenRect(const TWindowRecord* w);
RECT ClientScreenRect(const TWindowRecord* w);
// Forgets every kept visible region; called by whatever changes the windows' layout, styles or regions.
void VisibleLayoutChanged();
// Top-level windows in z-order, top first.
std::vector<TWindowRecord*>& TopLevels();
void ForEachDescendant(TWindowRecord* w, const std::function<void(TWindowRecord*)>& f);

// Messages.
LRESULT Send(TWindowRecord* w, UINT message, WPARAM wParam, LPARAM lParam);
// Starts a window's procedure chain with the class procedure; forgets the chain of a destroyed window.
void InitProcChain(TWindowRecord* w);
void ForgetProcChain(TWindowRecord* w);
void DropQueuedMessages(HWND hwnd);

// Z-order and placement (WindowPos.cpp).
void PlaceInZOrder(TWindowRecord* w, HWND insertAfter);
void SyncNativeStacking();
bool SetWindowPosInternal(TWindowRecord* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// Gives a top-level window a back buffer of its size: what it drew stays where the sizes overlap, the rest is
// kUnpaintedPixel (at its first use, for a new window's reused buffer). A window that is not top-level lets its
// buffer go.
void EnsureBuffer(TWindowRecord* w);
// The window's buffer goes (the window is destroyed or becomes a child); it may serve the next new window.
void ReleaseBuffer(TWindowRecord* w);
// Fills a buffer that still owes the unpainted colour (TBackBuffer::Unfilled). Every use of a buffer's pixels
// comes after it, except a copy through CopyToWindow, which fills only what it does not cover.
void SettleBuffer(TBackBuffer& buffer);
// Hands a top-level window's text and icon (WM_SETICON's big one, else its small one, else its class's) to its
// native window, for the desktop's task bar and window lists (DesktopNames.cpp).
void SyncNativeTitle(TWindowRecord* w);
void SyncNativeIcon(TWindowRecord* w);
MINMAXINFO QueryMinMaxInfo(TWindowRecord* w);
// A client rectangle proposed by WM_NCCALCSIZE, kept inside the window with no negative size.
RECT ClampClient(RECT proposed, const RECT& window);

// Activation and focus (Activation.cpp).
void Activate(TWindowRecord* w, WORD how);
void ActivateNextAfter(TWindowRecord* leaving);
void FocusWindow(TWindowRecord* w);
void LoseCaptureOf(TWindowRecord* w);
// The program lost the display's keyboard focus: capture ends and the active window deactivates. And got it
// back: the window that was active before becomes active again.
void DeactivateApp();
void ReactivateApp();

// Non-client area (NonClient.cpp).
RECT DefaultClientFromWindow(DWORD style, DWORD exStyle, const RECT& window);
LRESULT DefaultHitTest(TWindowRecord* w, POINT screen);
void PaintDefaultFrame(TWindowRecord* w, bool active);
int CaptionHeight(DWORD style, DWORD exStyle);

// Painting (Painting.cpp). Children: kChildrenByStyle passes invalidation on unless WS_CLIPCHILDREN.
enum TChildren : uint8_t { kChildrenByStyle, kChildrenAll, kChildrenNone };
void InvalidateClient(TWindowRecord* w, const TRegion* clientRegion, bool erase, bool children);
void InvalidateTree(TWindowRecord* w, const TRegion* clientRegion, bool erase, TChildren children);
void InvalidateFrame(TWindowRecord* w);
void InvalidateParentArea(TWindowRecord* w, const RECT& windowRectInParent);
bool NeedsPaint(const TWindowRecord* w);
// True when some visible window waits for WM_NCPAINT or WM_PAINT.
bool AnyPaintPending();
void SendPendingNcPaint(TWindowRecord* w);
TWindowRecord* FindWindowToPaint(TWindowRecord* filter);
void PresentDirty();
void MarkDirty(TWindowRecord* top, const RECT& bufferRect);
// The area a window may draw on, in its top-level's buffer coordinates, and that top-level.
TRegion VisibleRegion(TWindowRecord* w, bool client, TWindowRecord** top);
// The same without a copy: the window's kept region when it is current, else `scratch` holding the answer.
const TRegion& KeptVisibleRegion(TWindowRecord* w, bool client, TWindowRecord** top, TRegion& scratch);
void FillBuffer(TWindowRecord* w, bool client, const TRegion* clip, const RECT& rect, COLORREF color);

// Input (Input.cpp).
bool CookNextInput();
TWindowRecord* HitWindow(POINT screen, LRESULT* hit, bool sendHitTest, TWindowRecord* skip);

// Timers (Timers.cpp).
void KillTimersOf(HWND hwnd);
bool IsTimerProc(HWND hwnd, UINT_PTR id, TIMERPROC proc);
std::optional<uint64_t> NextTimerDue();
bool TakeDueTimer(HWND filter, bool remove, MSG* msg);

// Move and size loops (SizeMoveLoop.cpp).
enum class TModal { Message, Quit, Stopped };
// The next message for a modal loop, waiting (and serving synchronised calls) as GetMessage does. WM_QUIT
// ends the loop and is posted again for the loop outside it.
TModal NextModalMessage(MSG& msg);
bool IsMouseMessage(UINT message);
bool IsKeyMessage(UINT message);
void RunSizeMoveLoop(TWindowRecord* w, WPARAM command, POINT start);
// Follows the mouse while a caption button is held; a release over it sends its system command.
void TrackCaptionButton(TWindowRecord* w, LRESULT hit);
// Waits for the next event, serving synchronised calls; used by GetMessage and modal loops.
void WaitForNextEvent();

// The caret (Caret.cpp): BeginPaint takes the caret of the window away and EndPaint puts it back, so painting
// never leaves a half-inverted caret behind; a destroyed window's caret goes with it.
void HideCaretForPaint(HWND hwnd);
void ShowCaretAfterPaint(HWND hwnd);
void ForgetCaretOf(HWND hwnd);

// Standard scroll bars (ScrollBars.cpp).
// Takes the bars the style asks for out of a proposed client rectangle (window-relative or parent coordinates).
void RemoveScrollBarsFromClient(DWORD style, DWORD exStyle, RECT& client);
// HTHSCROLL, HTVSCROLL, HTSIZE (the corner between both bars), or HTNOWHERE.
LRESULT ScrollBarHitTest(TWindowRecord* w, POINT screen);
void PaintScrollBars(TWindowRecord* w);
// The mouse loop of a press on a bar (SC_HSCROLL/SC_VSCROLL): arrows and page areas repeat, the thumb drags.
void TrackScrollBar(TWindowRecord* w, int bar, POINT screen);

} // namespace WinCore
