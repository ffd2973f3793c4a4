#include "framework/controls/TCustomRichEdit.h"

#include "framework/controls/Messages.h"
#include "framework/core/Numbers.h"
#include "framework/core/Streams.h"
#include "platform/controls/RichEditControl.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>

namespace {

// The bytes of one EM_STREAMIN or EM_STREAMOUT.
struct StreamBytes {
    std::string Bytes;
    size_t At = 0;
};

DWORD ReadBytes(uintptr_t cookie, BYTE* buffer, LONG cb, LONG* pcb)
{
    auto* source = reinterpret_cast<StreamBytes*>(cookie);
    size_t n = std::min(static_cast<size_t>(std::max<LONG>(cb, 0)), source->Bytes.size() - source->At);
    std::memcpy(buffer, source->Bytes.data() + source->At, n);
    source->At += n;
    *pcb = static_cast<LONG>(n);
    return 0;
}

DWORD WriteBytes(uintptr_t cookie, BYTE* buffer, LONG cb, LONG* pcb)
{
    reinterpret_cast<StreamBytes*>(cookie)->Bytes.append(reinterpret_cast<const char*>(buffer), cb);
    *pcb = cb;
    return 0;
}

// Streams `bytes` into the window (the whole text); the window's error code, 0 when all was read.
DWORD StreamIn(HWND window, WPARAM format, std::string bytes)
{
    StreamBytes source {std::move(bytes)};
    EDITSTREAM stream {reinterpret_cast<uintptr_t>(&source), 0, &ReadBytes};
    SendMessage(window, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError;
}

std::string StreamOut(HWND window, WPARAM format)
{
    StreamBytes target;
    EDITSTREAM stream {reinterpret_cast<uintptr_t>(&target), 0, &WriteBytes};
    SendMessage(window, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    return std::move(target.Bytes);
}

constexpr int kTwipsPerPoint = 20;

// A font's height in twips, from its pixels where it gives them (a point count would round them off).
LONG FontTwips(TFont* font)
{
    // NOTE: a positive height (the cell height) gives a negative Size; the characters are taken as high as the
    // cell then, rather than turning into a font of no size.
    const int height = font->Height() < 0 ? -font->Height() : font->Height();
    return MulDiv(height, 1440, font->PixelsPerInch());
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

// --- TTextAttributes ----------------------------------------------------------------------------------------

struct TTextAttributes::Format {
    CHARFORMAT Record {};
    DWORD Mask = 0;
};

TTextAttributes::Format TTextAttributes::Get() const
{
    Format format;
    format.Record.cbSize = sizeof(CHARFORMAT);
    if (FType == atDefaultText && !FRichEdit->HandleAllocated()) {
        // No window yet: the default text is the control's font.
        TFont* font = FRichEdit->Font();
        CHARFORMAT& cf = format.Record;
        cf.dwMask = format.Mask = CFM_KEPT;
        cf.yHeight = FontTwips(font);
        cf.dwEffects = (font->Style().Contains(fsBold) ? CFE_BOLD : 0) |
                       (font->Style().Contains(fsItalic) ? CFE_ITALIC : 0) |
                       (font->Style().Contains(fsUnderline) ? CFE_UNDERLINE : 0) |
                       (font->Style().Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0) |
                       (font->Color() == clWindowText ? CFE_AUTOCOLOR : 0);
        cf.crTextColor = static_cast<COLORREF>(ColorToRGB(font->Color()));
        std::strncpy(cf.szFaceName, font->Name().c_str(), sizeof cf.szFaceName - 1);
        return format;
    }
    format.Mask = static_cast<DWORD>(SendMessage(FRichEdit->Handle(), EM_GETCHARFORMAT,
        FType == atSelected ? SCF_SELECTION : SCF_DEFAULT, reinterpret_cast<LPARAM>(&format.Record)));
    return format;
}

void TTextAttributes::Set(const Format& format)
{
    if (FType == atDefaultText && !FRichEdit->HandleAllocated()) {
        // Taken from the font when the window is made.
        TFont* font = FRichEdit->Font();
        const CHARFORMAT& cf = format.Record;
        if (cf.dwMask & CFM_FACE)
            font->SetName(cf.szFaceName);
        if (cf.dwMask & CFM_SIZE)
            font->SetSize(cf.yHeight / kTwipsPerPoint);
        if (cf.dwMask & CFM_COLOR)
            font->SetColor((cf.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(cf.crTextColor));
        if (cf.dwMask & (CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT)) {
            TFontStyles style;
            if (cf.dwEffects & CFE_BOLD)
                style.Include(fsBold);
            if (cf.dwEffects & CFE_ITALIC)
                style.Include(fsItalic);
            if (cf.dwEffects & CFE_UNDERLINE)
                style.Include(fsUnderline);
            if (cf.dwEffects & CFE_STRIKEOUT)
                style.Include(fsStrikeOut);
            font->SetStyle(style);
        }
        return;
    }
    CHARFORMAT cf = format.Record;
    cf.cbSize = sizeof cf;
    SendMessage(FRichEdit->Handle(), EM_SETCHARFORMAT, FType == atSelected ? SCF_SELECTION : SCF_DEFAULT,
        reinterpret_cast<LPARAM>(&cf));
}

TColor TTextAttributes::Color() const
{
    Format f = Get();
    return (f.Record.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(f.Record.crTextColor);
}

// The window text colour is "automatic": it follows the system's colour rather than being fixed.
void TTextAttributes::SetColor(TColor value)
{
    Format f;
    f.Record.dwMask = CFM_COLOR;
    if (value == clWindowText)
        f.Record.dwEffects = CFE_AUTOCOLOR;
    else
        f.Record.crTextColor = static_cast<COLORREF>(ColorToRGB(value));
    Set(f);
}

std::string TTextAttributes::Name() const
{
    Format f = Get();
    return std::string(f.Record.szFaceName, strnlen(f.Record.szFaceName, sizeof f.Record.szFaceName));
}

void TTextAttributes::SetName(std::string_view value)
{
    Format f;
    f.Record.dwMask = CFM_FACE;
    std::memcpy(f.Record.szFaceName, value.data(), std::min(value.size(), sizeof f.Record.szFaceName - 1));
    Set(f);
}

int TTextAttributes::Size() const { return Get().Record.yHeight / kTwipsPerPoint; }

void TTextAttributes::SetSize(int value)
{
    Format f;
    f.Record.dwMask = CFM_SIZE;
    f.Record.yHeight = value * kTwipsPerPoint;
    Set(f);
}

int TTextAttributes::Height() const
{
    return -MulDiv(Size(), FRichEdit->Font()->PixelsPerInch(), 72);
}

void TTextAttributes::SetHeight(int value)
{
    SetSize(MulDiv(std::abs(value), 72, FRichEdit->Font()->PixelsPerInch()));
}

TFontStyles TTextAttributes::Style() const
{
    DWORD effects = Get().Record.dwEffects;
    TFontStyles style;
    if (effects & CFE_BOLD)
        style.Include(fsBold);
    if (effects & CFE_ITALIC)
        style.Include(fsItalic);
    if (effects & CFE_UNDERLINE)
        style.Include(fsUnderline);
    if (effects & CFE_STRIKEOUT)
        style.Include(fsStrikeOut);
    return style;
}

void TTextAttributes::SetStyle(TFontStyles value)
{
    Format f;
    f.Record.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    f.Record.dwEffects = (value.Contains(fsBold) ? CFE_BOLD : 0) | (value.Contains(fsItalic) ? CFE_ITALIC : 0) |
                         (value.Contains(fsUnderline) ? CFE_UNDERLINE : 0) |
                         (value.Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0);
    Set(f);
}

TConsistentAttributes TTextAttributes::ConsistentAttributes() const
{
    DWORD mask = Get().Mask;
    TConsistentAttributes result;
    const std::pair<DWORD, TConsistentAttribute> kBits[] = {{CFM_BOLD, caBold}, {CFM_COLOR, caColor},
        {CFM_FACE, caFace}, {CFM_ITALIC, caItalic}, {CFM_SIZE, caSize}, {CFM_STRIKEOUT, caStrikeOut},
        {CFM_UNDERLINE, caUnderline}};
    for (auto [bit, attribute] : kBits)
        if (mask & bit)
            result.Include(attribute);
    return result;
}

void TTextAttributes::Assign(TPersistent* source)
{
    if (auto* font = dynamic_cast<TFont*>(source)) {
        Format f;
        CHARFORMAT& cf = f.Record;
        cf.dwMask = CFM_KEPT;
        cf.yHeight = FontTwips(font);
        if (font->Color() == clWindowText)
            cf.dwEffects |= CFE_AUTOCOLOR;
        else
            cf.crTextColor = static_cast<COLORREF>(ColorToRGB(font->Color()));
        cf.dwEffects |= (font->Style().Contains(fsBold) ? CFE_BOLD : 0) |
                        (font->Style().Contains(fsItalic) ? CFE_ITALIC : 0) |
                        (font->Style().Contains(fsUnderline) ? CFE_UNDERLINE : 0) |
                        (font->Style().Contains(fsStrikeOut) ? CFE_STRIKEOUT : 0);
        std::strncpy(cf.szFaceName, font->Name().c_str(), sizeof cf.szFaceName - 1);
        Set(f);
        return;
    }
    if (auto* other = dynamic_cast<TTextAttributes*>(source)) {
        Format f = other->Get();
        f.Record.dwMask = CFM_KEPT;
        Set(f);
        return;
    }
    inherited::Assign(source);
}

void TTextAttributes::AssignTo(TPersistent* dest)
{
    if (auto* font = dynamic_cast<TFont*>(dest)) {
        font->SetName(Name());
        font->SetSize(Size());
        font->SetColor(Color());
        font->SetStyle(Style());
        return;
    }
    inherited::AssignTo(dest);
}

// --- TParaAttributes ----------------------------------------------------------------------------------------

TAlignment TParaAttributes::Alignment() const
{
    PARAFORMAT pf {};
    pf.cbSize = sizeof pf;
    SendMessage(FRichEdit->Handle(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    return pf.wAlignment == PFA_CENTER ? taCenter : pf.wAlignment == PFA_RIGHT ? taRightJustify : taLeftJustify;
}

void TParaAttributes::SetAlignment(TAlignment value)
{
    PARAFORMAT pf {};
    pf.cbSize = sizeof pf;
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = value == taCenter ? PFA_CENTER : value == taRightJustify ? PFA_RIGHT : PFA_LEFT;
    SendMessage(FRichEdit->Handle(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
}

void TParaAttributes::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TParaAttributes*>(source)) {
        SetAlignment(other->Alignment());
        return;
    }
    inherited::Assign(source);
}

// --- TRichEditStrings ---------------------------------------------------------------------------------------

TRichEditStrings::TRichEditStrings(TCustomRichEdit* richEdit)
    : TMemoStrings(richEdit)
    , FRichEdit(richEdit)
{
}

void TRichEditStrings::LoadFromStream(TStream& stream)
{
    int64_t size = std::max<int64_t>(0, stream.Size() - stream.Position());
    std::string bytes(static_cast<size_t>(size), '\0');
    for (int64_t done = 0; done < size;) {
        auto n = static_cast<int32_t>(std::min<int64_t>(size - done, 1 << 20));
        stream.ReadBuffer(bytes.data() + done, n);
        done += n;
    }
    if (std::string_view(bytes).starts_with(kUtf8Bom))
        bytes.erase(0, kUtf8Bom.size());
    DWORD error = StreamIn(FRichEdit->Handle(), FRichEdit->PlainText() ? SF_TEXT : SF_RTF, std::move(bytes));
    if (error == SE_BADRTF)
        throw EOutOfResources("Failed to load stream: the RTF could not be read and was loaded as plain text");
    if (error)
        throw EOutOfResources("Failed to load stream");
}

void TRichEditStrings::SaveToStream(TStream& stream) const
{
    std::string bytes = StreamOut(FRichEdit->Handle(), FRichEdit->PlainText() ? SF_TEXT : SF_RTF);
    for (size_t done = 0; done < bytes.size();) {
        auto n = static_cast<int32_t>(std::min<size_t>(bytes.size() - done, 1 << 20));
        stream.WriteBuffer(bytes.data() + done, n);
        done += static_cast<size_t>(n);
    }
}

// --- TCustomRichEdit ----------------------------------------------------------------------------------------

TCustomRichEdit::TCustomRichEdit(TComponent* owner)
    : TCustomMemo(owner, std::make_unique<TRichEditStrings>(this))
    , FDefAttributes(std::make_unique<TTextAttributes>(this, atDefaultText))
    , FSelAttributes(std::make_unique<TTextAttributes>(this, atSelected))
    , FParagraph(std::make_unique<TParaAttributes>(this))
{
}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // The window is a "RICHEDIT" under the control's own class name.
    RegisterRichEditClass();
    WNDCLASS rich {};
    GetClassInfo(nullptr, WC_RICHEDIT, &rich);
    params.WindowClass.lpfnWndProc = rich.lpfnWndProc;
    params.WindowClass.cbWndExtra = rich.cbWndExtra;
    params.WindowClass.hCursor = rich.hCursor;
    // A rich edit wraps at its width whatever scroll bars it has, and has no paragraph-wide alignment style.
    if (WordWrap())
        params.Style &= ~ES_AUTOHSCROLL;
    params.Style &= ~(ES_CENTER | ES_RIGHT);
    if (!FHideScrollBars)
        params.Style |= ES_DISABLENOSCROLL;
}

void TCustomRichEdit::CreateWnd()
{
    inherited::CreateWnd();
    HWND window = Handle();
    SendMessage(window, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    FDefAttributes->Assign(Font());
    if (!FSavedRtf.empty()) {
        // The formatted text of the window before; its modified flag comes back with it.
        bool modified = SendMessage(window, EM_GETMODIFY, 0, 0) != 0;
        StreamIn(window, SF_RTF, std::move(FSavedRtf));
        FSavedRtf.clear();
        SendMessage(window, EM_SETMODIFY, modified, 0);
    }
    SendMessage(window, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
}

void TCustomRichEdit::DestroyWnd()
{
    FSavedRtf = StreamOut(Handle(), SF_RTF);
    inherited::DestroyWnd();
}

void TCustomRichEdit::SetHideScrollBars(bool value)
{
    if (value == FHideScrollBars)
        return;
    FHideScrollBars = value;
    UpdateStyle();
}

void TCustomRichEdit::SelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange(this);
}

void TCustomRichEdit::CNNotify(TMessage& message)
{
    const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
    if (header && header->code == EN_SELCHANGE)
        SelectionChange();
    message.Result = 0;
}

void TCustomRichEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        CNNotify(message);
        return;
    case CM_COLORCHANGED:
        inherited::WndProc(message);
        SendToWindow(EM_SETBKGNDCOLOR, 0, static_cast<intptr_t>(ColorToRGB(Color())));
        return;
    case CM_FONTCHANGED:
        // The font is the default text's format; text formatted otherwise keeps its own.
        inherited::WndProc(message);
        if (HandleAllocated())
            FDefAttributes->Assign(Font());
        return;
    default:
        inherited::WndProc(message);
    }
}
