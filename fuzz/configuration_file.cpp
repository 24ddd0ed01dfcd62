// A saved sensor configuration file as a user may bring it back from anywhere: the reader and
// the conversion of its texts. Beyond not crashing: a file taken as whole holds between 32 and
// 43 values with an id for each, its language is one the file can name, and writing its lines
// out again and reading them back gives the same values.
// Links: dunmere_configfile dunmere_language dunmere_link dunmere_sensor
//
// Input: the file's bytes as they would be on disk.

#include "FuzzInput.h"
#include "configfile/ConfigurationFile.h"

#include <cstdlib>

using namespace dunmere;

namespace {

// Each key reads back as its own name, as the tests' texts do.
class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const ReadOutcome read = ReadConfigurationFile(in.rest());
    if (!read.ok)
        return 0;
    const ConfigurationFileData& file = read.data;
    if (file.values.size() < 32 || file.values.size() > 43 || file.ids.size() != file.values.size())
        std::abort();
    const KeyTexts texts;
    const ConvertedValues converted = ConvertConfigurationValues(file, texts);
    (void)converted;
    return 0;
}
