// What the container does through the forms and the screen: the change messages and the skin's cursors.
#include "framework/controls/TCustomForm.h"
#include "framework/controls/TScreen.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>
#include <limits>

namespace {

// A file that is missing or no cursor gives a null handle, which the screen's cursor table takes as "no
// cursor of our own" for that number.
HCURSOR ReadCursorFile(const std::string& path)
{
    return LoadCursorFromFile(path.c_str());
}

} // namespace

HCURSOR (*TspSkinData::LoadCursorFile)(const std::string& path) = ReadCursorFile;

void TspSkinData::SendSkinDataMessage(UINT message)
{
    auto send = [this, message](TCustomForm* form) {
        SendMessage(form->Handle(), message, reinterpret_cast<WPARAM>(this), SkinDataMessageParam);
    };
    auto* ownerForm = dynamic_cast<TCustomForm*>(Owner());
    if (ownerForm)
        send(ownerForm);
    if (!Screen)
        return;
    // A receiver may make or delete forms while it handles the message: the forms are taken in the order
    // they had when sending began, and one that has gone since is passed over.
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < Screen->FormCount(); ++i)
        forms.push_back(Screen->Forms(i));
    for (TCustomForm* form : forms) {
        if (form == ownerForm || !Screen)
            continue;
        bool listed = false;
        for (int i = 0; i < Screen->FormCount() && !listed; ++i)
            listed = Screen->Forms(i) == form;
        if (listed)
            send(form);
    }
}

void TspSkinData::SetScreenCursor(int64_t number, const std::string& path)
{
    // Numbers come from the file: one the cursor table cannot hold is passed over.
    if (!Screen || number < 1 || number > std::numeric_limits<TCursor>::max())
        return;
    Screen->SetCursors(static_cast<TCursor>(number), LoadCursorFile(path));
}
