#pragma once
// The sensor's numbered parameters in one table: what each means, what kind of value it
// holds, the limit its reads are parsed with, and the command that writes it. Pages, the
// configuration file, calibration and the command-line program all look parameters up here.

#include <QString>
#include <span>

namespace dunmere {

enum class ParameterKind {
    Number,  // shown and written through the number formatter
    Index,   // a list position 0 to count-1, written as the index
    Code,    // a code of its own list (output variable, measurement mode, arm type)
    Text,    // a text reply (firmware identification and checksum, status flags)
    Bytes,   // a binary block read with a binary reply
};

struct ParameterInfo {
    int number;
    const char* meaning;
    ParameterKind kind;
    int count;             // Index: the number of list positions; 0 otherwise
    int readLimit;         // the limit ParseIndex takes on a read; 0 when read as a number or text
    const char* writeCommand;  // "W5"; nullptr when the program never writes it
};

[[nodiscard]] std::span<const ParameterInfo> ParameterRegister();
// nullptr for a number the program does not use.
[[nodiscard]] const ParameterInfo* FindParameter(int number);

}  // namespace dunmere
