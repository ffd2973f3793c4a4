// TAboutForm: the product's name, version, web page and support address.
#pragma once
#include "framework/controls/Forms.h"

#include <cstdint>
#include <string_view>

class TFrLabel;
class TFrURLLabel;
class TspSkinButton;

// The version line the about box and the splash window show.
extern const std::string_view ProductVersionLine;
// Where the about box's links lead.
extern const std::string_view ProductWebSite;
extern const std::string_view ProductSupportMail;

class TAboutForm : public TForm {
    using inherited = TForm;

public:
    explicit TAboutForm(TComponent* owner);

    TFrLabel* lblNameAndCopy = nullptr;
    TFrLabel* lblVersion = nullptr;
    TFrURLLabel* lblSiteURL = nullptr;
    TFrURLLabel* lblSupportMail = nullptr;
    TspSkinButton* btnClose = nullptr;

    void FormKeyDown(TObject* sender, uint16_t& key, TShiftState shift);
};
