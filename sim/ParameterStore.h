#pragma once
// A sensor's parameter memory: the working values the commands read and write, the stored
// copy that the store action keeps and a restart brings back, and the factory values.

#include "SensorTypes.h"

#include <QByteArray>
#include <QMap>
#include <optional>

namespace dunmere::sim {

class ParameterStore {
public:
    explicit ParameterStore(int typeCode);

    enum class WriteResult { Written, Missing, NotWritable, BadValue };

    [[nodiscard]] bool has(int number) const { return definitions_.contains(number); }
    [[nodiscard]] std::optional<ParameterAccess> access(int number) const;
    // The working value of a Config, ReadOnly or Output parameter; empty otherwise.
    [[nodiscard]] QByteArray value(int number) const { return working_.value(number); }
    [[nodiscard]] double number(int number) const { return working_.value(number).toDouble(); }

    // A command's write: the text must be a plain decimal number within the parameter's
    // range; it is kept in the sensor's own format (its number of decimals).
    [[nodiscard]] WriteResult write(int number, const QByteArray& text);
    // Sets a value the way the sensor itself does (calibration results, scenario set-up).
    void set(int number, const QByteArray& text);
    // Adds a parameter to the register, or changes its factory value.
    void define(int number, const QByteArray& factoryValue);
    void remove(int number);

    void store() { stored_ = working_; }
    void reloadStored() { working_ = stored_; }
    void factoryReset();
    // One parameter back to its factory value, in the working and the stored copy.
    void resetToFactory(int number);

private:
    [[nodiscard]] std::optional<QByteArray> normalise(const ParameterDefinition& d, const QByteArray& text) const;

    QMap<int, ParameterDefinition> definitions_;
    QMap<int, QByteArray> working_;
    QMap<int, QByteArray> stored_;
};

}  // namespace dunmere::sim
