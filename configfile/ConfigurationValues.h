#pragma once
// The values of a sensor configuration file in one table: each value's label, how its text is
// made from the sensor's reply, the codes its text stands for, and the parameter a restore
// writes it to. The writer, the reader, the conversion, the restore and the comparison all
// work from this table.

#include "link/Messages.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <span>

namespace dunmere {

// How a value's text is made and read back.
enum class ValueCoding {
    Number,        // V(n): the number formatter; empty when the read failed
    Temperature,   // decoded with two decimals, shown with pattern "0.0"
    MaterialTemperature,  // as Temperature, "---" when the sensor has none
    OutputType,    // item of ListOPType
    Variable,      // the output variable texts, codes 0-11
    Input1,        // item of ListIP1
    Input2,        // item of ListIP2
    AverageHold,   // item of ListAvgHold
    Smoothing,     // item of ListSmoothTime, or whole seconds where "Any" is offered
    Slew,          // item of ListSlewPlus / ListSlewMinus
    Filter,        // the DSP texts, codes 0-5
    Mode,          // the measurement mode texts, codes 0-4
    Arm,           // the arm texts, codes 0, 16, 32-35, from the unparsed reply
    Frequency,     // uncompensated frequency, "P" + 11 columns 1-10
    Amplitude,     // uncompensated amplitude, same reply columns 21-30
    LowestTemperature,   // "P" + 14 columns 1-9
    HighestTemperature,  // same reply columns 11-19
    Language,      // the number of the language the file is written in
};

// Where a value line stands: one of the 32 fixed positions, or one of the lines after the
// language line whose presence depends on the sensor's type.
enum class ValueSlot { Fixed, SecondChannelOnly, AllTypes, ArmLine };

struct FileValue {
    int id;              // 0-31 for the fixed values; 32 and up name the later lines
    const char* label;   // "{LangKey}" stands for that key's text, anything else is literal
    const char* equals;  // " = " or, for two lines, "  = "
    ValueCoding coding;
    int parameter;       // read from, and restored to; 0 when neither
    int brixParameter;   // values 0-3 of a Brix file; 0 otherwise
    bool factory;        // written only onto the sensor the file came from
    ValueSlot slot;
};

// Ids of the lines after the language line.
enum ExtraValue {
    DspValue = 32,
    Mode1Value,
    AmpElectronicsValue,
    AmpResonatorValue,
    AmpMaterialValue,
    AmpWaterValue,
    AmpAirValue,
    Mode2Value,
    ArmValue,
};

inline constexpr int FixedValueCount = 32;  // values 0-31
inline constexpr int MaxValueCount = 43;    // numbers 0-42
inline constexpr int LanguageValue = 31;

// Every value in file order.
[[nodiscard]] std::span<const FileValue> FileValues();
[[nodiscard]] const FileValue& FileValueById(int id);
// The temperatures measured when the file was saved (parameters 66, 67, 75): readings, not
// settings, so a sensor may refuse them back.
[[nodiscard]] bool IsMeasuredParameter(int parameter);

// The label of a value (as written before its equals sign) in the given texts.
[[nodiscard]] QString ValueLabel(const FileValue& value, const TextSource& texts);
// "{LangKey} text" patterns for headings and labels.
[[nodiscard]] QString ComposeText(const char* pattern, const TextSource& texts);

struct CodedText {
    int code;
    QString text;
};
// The texts a coded value is written with, and converted back from, in the given language.
// Empty for the codings that are not coded.
[[nodiscard]] QList<CodedText> CodedTexts(ValueCoding coding, const TextSource& texts);
[[nodiscard]] bool IsCoded(ValueCoding coding);

// ConvertConfigurationValues's result: codes in decimal digits where a text matched, the
// text itself where nothing did.
struct ConvertedValues {
    QStringList values;   // indexed like the file's values (after the coefficient section is in place)
    bool brixVariable = false;  // an output variable reads "Brix"
};

}  // namespace dunmere
