// The value helpers every reply and typed value passes through: the number rules, the number
// formatter, the list-index parser and the fixed-point decoder, with either decimal separator.
// Beyond not crashing: an index stays within its list, the formatter's output reads back as
// the same number and formats to itself, and decoding stays within what its digits allow.
// Links: dunmere_link dunmere_sensor
//
// Input: one byte of choices (decimal comma, decimals, list size), then the text, read as
// Latin-1 the way replies arrive.

#include "FuzzInput.h"
#include "link/NumberRules.h"
#include "link/ValueFormat.h"
#include "sensor/FixedPoint.h"

#include <cmath>
#include <cstdlib>

using namespace dunmere;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const quint8 choices = in.byte();
    SetDecimalComma(choices & 1);
    const int decimals = (choices >> 1) % 5;
    const int limit = 1 + (choices >> 4);
    const QString text = QString::fromLatin1(in.rest());

    bool ok = false;
    const double number = ToNumber(text, &ok);
    if (ok != IsNumber(text) || (!ok && number != 0))
        std::abort();

    const int index = ParseIndex(text, limit);
    if (index < 0 || index >= limit)
        std::abort();

    const QString formatted = FormatNumber(text);
    if (!formatted.isEmpty()) {
        bool again = false;
        (void)ToNumber(formatted, &again);
        if (!again || FormatNumber(formatted) != formatted)
            std::abort();
    }

    const double decoded = DecodeFixedPoint(text, decimals);
    if (text.isEmpty() ? decoded != -99 : std::isnan(decoded))
        std::abort();
    (void)FormatDecimals(decoded, decimals);
    if (ok && std::isfinite(number))
        (void)FormatDecimals(number, decimals);
    return 0;
}
