// The interface string table: the fixed texts of skinned forms, menus, edits and dialogs, by name.
#pragma once
#include "framework/core/TComponent.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"

#include <memory>
#include <string>
#include <string_view>

// A list of "NAME=text" lines holding English defaults, which a program may edit or replace to translate
// the interface. A skin refers to one table; the consumers of that skin take their texts from it.
class TspResourceStrData : public TComponent {
    using inherited = TComponent;

public:
    explicit TspResourceStrData(TComponent* owner);
    ~TspResourceStrData() override;

    // Published properties. The table keeps its own list: the setter copies the given lines.
    TStrings* ResStrings() const { return FResStrings.get(); }
    void SetResStrings(const TStrings* value);
    // The font character set that controls and dialogs bound to a skin with this table give their fonts.
    TFontCharset CharSet() const { return FCharSet; }
    void SetCharSet(TFontCharset value) { FCharSet = value; }

    // The text after the first "=" of the first line whose name is `name` (letter case not considered),
    // or "" when no line has that name.
    std::string GetResStr(std::string_view name) const;

private:
    std::unique_ptr<TStringList> FResStrings;
    TFontCharset FCharSet = 1;
};
