#include "ParameterStore.h"

#include <QRegularExpression>
#include <cmath>

namespace dunmere::sim {

namespace {

int decimalsOf(const QByteArray& text)
{
    const qsizetype dot = text.indexOf('.');
    return dot < 0 ? 0 : int(text.size() - dot - 1);
}

bool holdsValue(ParameterAccess access) { return access != ParameterAccess::Live; }

}  // namespace

ParameterStore::ParameterStore(int typeCode)
{
    for (const ParameterDefinition& d : parameterRegister(typeCode))
        definitions_.insert(d.number, d);
    factoryReset();
}

std::optional<ParameterAccess> ParameterStore::access(int number) const
{
    auto it = definitions_.find(number);
    if (it == definitions_.end())
        return std::nullopt;
    return it->access;
}

std::optional<QByteArray> ParameterStore::normalise(const ParameterDefinition& d, const QByteArray& text) const
{
    // The firmware's parser: digits with an optional sign and decimal point, nothing else
    // (a decimal comma is not a number to it).
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QByteArray trimmed = text.trimmed();
    if (!plain.match(QString::fromLatin1(trimmed)).hasMatch())
        return std::nullopt;
    const double v = trimmed.toDouble();
    if (v < d.minimum || v > d.maximum)
        return std::nullopt;
    if (d.integral) {
        if (v != std::floor(v))
            return std::nullopt;
        if (!d.allowed.isEmpty() && !d.allowed.contains(int(v)))
            return std::nullopt;
        return QByteArray::number(qint64(v));
    }
    return QByteArray::number(v, 'f', decimalsOf(d.factoryValue));
}

ParameterStore::WriteResult ParameterStore::write(int number, const QByteArray& text)
{
    auto it = definitions_.find(number);
    if (it == definitions_.end())
        return WriteResult::Missing;
    if (it->access == ParameterAccess::Live || it->access == ParameterAccess::ReadOnly)
        return WriteResult::NotWritable;
    const auto value = normalise(*it, text);
    if (!value)
        return WriteResult::BadValue;
    working_[number] = *value;
    return WriteResult::Written;
}

void ParameterStore::set(int number, const QByteArray& text)
{
    auto it = definitions_.find(number);
    if (it == definitions_.end() || !holdsValue(it->access))
        return;
    const auto value = normalise(*it, text);
    working_[number] = value ? *value : text;
}

void ParameterStore::define(int number, const QByteArray& factoryValue)
{
    auto it = definitions_.find(number);
    if (it == definitions_.end())
        it = definitions_.insert(number, ParameterDefinition{number, ParameterAccess::Config, factoryValue});
    it->factoryValue = factoryValue;
    if (holdsValue(it->access)) {
        working_[number] = factoryValue;
        stored_[number] = factoryValue;
    }
}

void ParameterStore::remove(int number)
{
    definitions_.remove(number);
    working_.remove(number);
    stored_.remove(number);
}

void ParameterStore::resetToFactory(int number)
{
    const auto it = definitions_.constFind(number);
    if (it == definitions_.cend() || !holdsValue(it->access))
        return;
    working_[number] = it->factoryValue;
    stored_[number] = it->factoryValue;
}

void ParameterStore::factoryReset()
{
    working_.clear();
    for (const ParameterDefinition& d : std::as_const(definitions_)) {
        if (holdsValue(d.access))
            working_.insert(d.number, d.factoryValue);
    }
    stored_ = working_;
}

}  // namespace dunmere::sim
