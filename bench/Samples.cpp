#include "Samples.h"

#include <algorithm>
#include <cmath>

double Samples::percentile(double p) const
{
    if (m_values.empty())
        return 0;
    std::vector<double> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    const auto rank = std::size_t(std::ceil(p * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

double Samples::max() const
{
    return m_values.empty() ? 0 : *std::max_element(m_values.begin(), m_values.end());
}

QString Samples::summary(const QString &name) const
{
    const auto ms = [](double us) { return QString::number(us / 1000.0, 'f', 3); };
    return QStringLiteral("%1: n=%2, p50=%3 ms, p99=%4 ms, max=%5 ms")
        .arg(name)
        .arg(count())
        .arg(ms(percentile(0.5)), ms(percentile(0.99)), ms(max()));
}
