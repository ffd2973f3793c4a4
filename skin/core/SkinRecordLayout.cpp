#include "skin/core/SkinRecordLayout.h"

#include "framework/core/TIniFile.h"
#include "framework/core/TStrings.h"

#include <stdexcept>

using namespace SkinData;
using namespace SPUtils;

namespace SkinRecordLayout {

namespace {

    struct TInitVisitor {
        const TSkinValue& Value;

        void operator()(TStrings* list) const { list->Clear(); }
        void operator()(std::string* text) const { *text = std::get<std::string_view>(Value); }
        template <class T> void operator()(T* field) const { *field = std::get<T>(Value); }
    };

    struct TReadVisitor {
        const TCustomIniFile* File;
        std::string_view Section;
        const TSkinField& Field;

        void operator()(int32_t* value) const
        {
            *value = File->ReadInteger(Section, Field.Key, std::get<int32_t>(Field.Missing));
        }
        void operator()(bool* value) const { *value = ReadBoolean(File, Section, Field.Key); }
        void operator()(TRect* value) const { *value = ReadRect(File, Section, Field.Key); }
        void operator()(TPoint* value) const { *value = ReadPoint(File, Section, Field.Key); }
        void operator()(std::string* value) const
        {
            *value = File->ReadString(Section, Field.Key, std::get<std::string_view>(Field.Missing));
        }
        void operator()(TFontStyles* value) const { *value = ReadFontStyles(File, Section, Field.Key); }
        void operator()(TAlignment* value) const { *value = ReadAlignment(File, Section, Field.Key); }
        // Lines are appended to what the list holds.
        void operator()(TStrings* list) const { ReadStrings(File, Section, Field.Key, list); }
        void operator()(TspStretchType* value) const { *value = ReadStretchType(File, Section, Field.Key); }
        void operator()(TMorphKind* value) const { *value = ReadMorphKind(File, Section, Field.Key); }
        void operator()(TspInActiveEffect* value) const { *value = ReadInActiveEffect(File, Section, Field.Key); }
        void operator()(TFramesPlacement* value) const { *value = ReadFramesPlacement(File, Section, Field.Key); }
        void operator()(TRegulatorKind* value) const { *value = ReadRegulatorKind(File, Section, Field.Key); }
        void operator()(TStdCommand* value) const { *value = ReadStdCommand(File, Section, Field.Key); }
        void operator()(TGaugeKind* value) const { *value = ReadGaugeKind(File, Section, Field.Key); }
    };

    struct TWriteVisitor {
        TCustomIniFile* File;
        std::string_view Section;
        const char* Key;

        void operator()(int32_t* value) const { File->WriteInteger(Section, Key, *value); }
        void operator()(bool* value) const { WriteBoolean(File, Section, Key, *value); }
        void operator()(TRect* value) const { WriteRect(File, Section, Key, *value); }
        void operator()(TPoint* value) const { WritePoint(File, Section, Key, *value); }
        void operator()(std::string* value) const { File->WriteString(Section, Key, *value); }
        void operator()(TFontStyles* value) const { WriteFontStyles(File, Section, Key, *value); }
        void operator()(TAlignment* value) const { WriteAlignment(File, Section, Key, *value); }
        void operator()(TStrings* list) const { WriteStrings(File, Section, Key, list); }
        void operator()(TspStretchType* value) const { WriteStretchType(File, Section, Key, *value); }
        void operator()(TMorphKind* value) const { WriteMorphKind(File, Section, Key, *value); }
        void operator()(TspInActiveEffect* value) const { WriteInActiveEffect(File, Section, Key, *value); }
        void operator()(TFramesPlacement* value) const { WriteFramesPlacement(File, Section, Key, *value); }
        void operator()(TRegulatorKind* value) const { WriteRegulatorKind(File, Section, Key, *value); }
        void operator()(TStdCommand* value) const { WriteStdCommand(File, Section, Key, *value); }
        void operator()(TGaugeKind* value) const { WriteGaugeKind(File, Section, Key, *value); }
    };

    const TSkinField& FieldOf(const TSkinRecordLayout& layout, std::string_view key)
    {
        for (const TSkinField& field : layout.Fields) {
            if (key == field.Key)
                return field;
        }
        // The read orders are checked against their tables at compile time.
        throw std::logic_error("skin record layout without the key " + std::string(key));
    }

} // namespace

void InitFields(TObject& record, const TSkinRecordLayout& layout)
{
    for (const TSkinField& field : layout.Fields)
        std::visit(TInitVisitor { field.Initial }, field.Slot(record));
}

void ReadFields(TObject& record, const TCustomIniFile* file, std::string_view section, const TSkinRecordLayout& layout)
{
    if (layout.ReadOrder.empty()) {
        for (const TSkinField& field : layout.Fields)
            std::visit(TReadVisitor { file, section, field }, field.Slot(record));
        return;
    }
    for (const char* key : layout.ReadOrder) {
        const TSkinField& field = FieldOf(layout, key);
        std::visit(TReadVisitor { file, section, field }, field.Slot(record));
    }
}

void WriteFields(const TObject& record, TCustomIniFile* file, std::string_view section, const TSkinRecordLayout& layout)
{
    for (const TSkinField& field : layout.Fields)
        std::visit(TWriteVisitor { file, section, field.Key }, field.Slot(const_cast<TObject&>(record)));
}

} // namespace SkinRecordLayout
