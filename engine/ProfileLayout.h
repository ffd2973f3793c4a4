// The tables that describe each profile format: its words, its section and its fields with their defaults.
#pragma once
#include "engine/TVideoProfile.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

// Where one setting lives in a profile, by its type: int32 numbers, signed 8-bit codes, flags, reals, texts.
using TProfileSlot = std::variant<int32_t*, int8_t*, bool*, double*, std::string*>;
// A setting's constructor value, of the same alternative as its slot.
using TProfileValue = std::variant<int32_t, int8_t, bool, double, std::string_view>;

// One key of a format section, in the order the file holds it.
struct TProfileField {
    // The INI key, which is also the name of the field.
    const char* Key;
    // The value a new profile holds, and Load's default for a missing or unreadable key.
    TProfileValue Default;
    // Whether Equals compares it.
    bool Compared;
    // The field in a profile of the format's class.
    TProfileSlot (*Slot)(TVideoProfile& profile);
};

// Everything the generic Load, Save, Equals and Clone need to know about one format.
struct TProfileLayout {
    VideoFormatType Code;
    // The word stored under "VideoFormat", in upper case.
    const char* FormatWord;
    const char* Section;
    // The output extension a new profile gets.
    const char* Extension;
    std::span<const TProfileField> Fields;
    // A new, default profile of the format's class.
    std::unique_ptr<TVideoProfile> (*Create)(const std::string& profileName, const std::string& fileName);
    // A copy of a profile of the format's class, every member included.
    std::unique_ptr<TVideoProfile> (*Copy)(const TVideoProfile& profile);
};

namespace ProfileLayout {

template <class T> struct TMemberPointer;
template <class Class, class Value> struct TMemberPointer<Value Class::*> {
    using TClass = Class;
    using TValue = Value;
};

template <auto Member> using TMemberValue = typename TMemberPointer<decltype(Member)>::TValue;

// What a field's constructor value is written as in a table: the member's own type, or text for strings.
template <auto Member>
using TDefaultOf
    = std::conditional_t<std::is_same_v<TMemberValue<Member>, std::string>, std::string_view, TMemberValue<Member>>;

template <auto Member> TProfileSlot SlotOf(TVideoProfile& profile)
{
    // NOTE: a table is only ever applied to profiles of its own class (Layout() is the profile's own table),
    // so this downcast always names the real class.
    using TClass = typename TMemberPointer<decltype(Member)>::TClass;
    return &(static_cast<TClass&>(profile).*Member);
}

enum TCompared : bool { NotCompared = false, Compared = true };

// A table row for `Member`: Field<&TAVIProfile::VideoBitrate>("VideoBitrate", 768000).
template <auto Member>
constexpr TProfileField Field(const char* key, TDefaultOf<Member> defaultValue, TCompared compared = Compared)
{
    return TProfileField { key, TProfileValue(std::in_place_type<TDefaultOf<Member>>, defaultValue),
        compared == Compared, &SlotOf<Member> };
}

template <class TProfile>
std::unique_ptr<TVideoProfile> Create(const std::string& profileName, const std::string& fileName)
{
    return std::make_unique<TProfile>(profileName, fileName);
}

template <class TProfile> std::unique_ptr<TVideoProfile> Copy(const TVideoProfile& profile)
{
    // A table is only used with profiles of its own class, so the downcast names the real class.
    return std::make_unique<TProfile>(static_cast<const TProfile&>(profile));
}

} // namespace ProfileLayout
