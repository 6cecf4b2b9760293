#pragma once

#include <QString>
#include <vector>

// Measured durations of one kind, in microseconds, and their summary.
class Samples
{
public:
    void add(double microseconds) { m_values.push_back(microseconds); }
    std::size_t count() const { return m_values.size(); }
    // The value below which the fraction p (0..1) of the samples lie.
    double percentile(double p) const;
    double max() const;
    // "name: n=..., p50=... ms, p99=... ms, max=... ms".
    QString summary(const QString &name) const;

private:
    std::vector<double> m_values;
};
