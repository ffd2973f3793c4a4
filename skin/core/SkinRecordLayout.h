// The tables that describe a skin record's section: each key with its field, its kind and its two defaults.
#pragma once
#include "framework/core/TObject.h"
#include "skin/core/SkinData.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

class TCustomIniFile;
class TStrings;
class TStringList;

// Where a value lives in a record. The kind of the value follows from the field's type: 32-bit integers
// (numbers, colours, picture and cursor indexes), flags, rectangles, points, texts, font styles, alignments,
// line lists and the keywords.
using TSkinSlot = std::variant<int32_t*, bool*, TRect*, TPoint*, std::string*, TFontStyles*, TAlignment*, TStrings*,
    TspStretchType*, TMorphKind*, TspInActiveEffect*, TFramesPlacement*, TRegulatorKind*, TStdCommand*, TGaugeKind*>;

// A line list has no default but the empty list.
struct TNoDefault {
    friend constexpr bool operator==(TNoDefault, TNoDefault) = default;
};

// A default value, of the alternative that matches the slot's.
using TSkinValue = std::variant<int32_t, bool, TRect, TPoint, std::string_view, TFontStyles, TAlignment, TNoDefault,
    TspStretchType, TMorphKind, TspInActiveEffect, TFramesPlacement, TRegulatorKind, TStdCommand, TGaugeKind>;

// One key of a section.
struct TSkinField {
    // The INI key; the field is the key written in PascalCase ("activeskinrect" fills ActiveSkinRect).
    const char* Key;
    // What LoadFromFile takes when the key is missing.
    TSkinValue Missing;
    // What the class's constructor sets.
    TSkinValue Initial;
    TSkinSlot (*Slot)(TObject& record);
};

// The keys a class adds to its parent's, in the order SaveToFile writes them, and the order in which
// LoadFromFile reads them where that differs (empty: the written order). The read order matters to the
// skins' authors: it decides which of two malformed values stops a load.
struct TSkinRecordLayout {
    std::span<const TSkinField> Fields;
    std::span<const char* const> ReadOrder;
};

namespace SkinRecordLayout {

template <class T> struct TMemberPointer;
template <class Class, class Value> struct TMemberPointer<Value Class::*> {
    using TClass = Class;
    using TValue = Value;
};

template <auto Member> using TMemberValue = typename TMemberPointer<decltype(Member)>::TValue;

// How a table writes the default of a field: texts as views, lists not at all, everything else as itself.
template <class T> struct TDefaultType {
    using Type = T;
};
template <> struct TDefaultType<std::string> {
    using Type = std::string_view;
};
template <> struct TDefaultType<TStringList> {
    using Type = TNoDefault;
};
template <auto Member> using TDefaultOf = typename TDefaultType<TMemberValue<Member>>::Type;

template <auto Member> TSkinSlot SlotOf(TObject& record)
{
    // NOTE: a table is only ever applied to records of its own class or of a descendant, so this downcast
    // always names a class the record has.
    using TClass = typename TMemberPointer<decltype(Member)>::TClass;
    return TSkinSlot(&(static_cast<TClass&>(record).*Member));
}

// A row whose constructor value is its missing-key value: Field<&TspDataSkinButtonControl::FontName>("fontname",
// "Arial").
template <auto Member> constexpr TSkinField Field(const char* key, TDefaultOf<Member> missing = {})
{
    return TSkinField { key, TSkinValue(std::in_place_type<TDefaultOf<Member>>, missing),
        TSkinValue(std::in_place_type<TDefaultOf<Member>>, missing), &SlotOf<Member> };
}

// A row whose constructor sets another value than a missing key gives.
template <auto Member>
constexpr TSkinField Field(const char* key, TDefaultOf<Member> missing, TDefaultOf<Member> initial)
{
    return TSkinField { key, TSkinValue(std::in_place_type<TDefaultOf<Member>>, missing),
        TSkinValue(std::in_place_type<TDefaultOf<Member>>, initial), &SlotOf<Member> };
}

// True when `order` names every key of `fields` once, so a read order can be checked where it is declared.
constexpr bool IsReadOrderOf(std::span<const TSkinField> fields, std::span<const char* const> order)
{
    if (order.size() != fields.size())
        return false;
    for (const TSkinField& field : fields) {
        int found = 0;
        for (const char* key : order)
            found += std::string_view(key) == field.Key ? 1 : 0;
        if (found != 1)
            return false;
    }
    return true;
}

// Sets every field of the layout to its constructor value.
void InitFields(TObject& record, const TSkinRecordLayout& layout);
// Reads every field of the layout from `section`, each key with its missing-key value. A malformed rectangle
// or point raises EConvertError and leaves the rest unread.
void ReadFields(TObject& record, const TCustomIniFile* file, std::string_view section, const TSkinRecordLayout& layout);
// Writes every field of the layout into `section` in table order.
void WriteFields(
    const TObject& record, TCustomIniFile* file, std::string_view section, const TSkinRecordLayout& layout);

} // namespace SkinRecordLayout
