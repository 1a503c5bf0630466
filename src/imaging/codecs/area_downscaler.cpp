#include "imaging/codecs/area_downscaler.h"

#include <algorithm>
#include <cmath>

namespace imaging::codecs {

// Coordinates are kept in integers: along an axis of source length S and target length T, target
// pixel t covers [t*S, (t+1)*S) and source pixel s covers [s*T, (s+1)*T), both in units of
// 1/(S*T). Boundaries are then exact and every target pixel's weights add up to one.

AreaDownscaler::AreaDownscaler(QSize source, QImage& target)
    : m_source(source), m_target(target), m_channels(target.depth() / 8) {
    const qint64 sourceWidth = source.width();
    const qint64 targetWidth = target.width();
    m_columns.reserve(target.width());
    for (qint64 x = 0; x < targetWidth; ++x) {
        const qint64 begin = x * sourceWidth;
        const qint64 end = begin + sourceWidth;
        const int first = static_cast<int>(begin / targetWidth);
        const int last = static_cast<int>((end - 1) / targetWidth);
        m_columns.push_back({first, last - first + 1, static_cast<int>(m_columnWeights.size())});
        for (qint64 s = first; s <= last; ++s) {
            const qint64 overlap = std::min(end, (s + 1) * targetWidth) - std::max(begin, s * targetWidth);
            m_columnWeights.push_back(static_cast<float>(overlap) / static_cast<float>(sourceWidth));
        }
    }
    const size_t rowValues = static_cast<size_t>(target.width()) * static_cast<size_t>(m_channels);
    m_reducedRow.resize(rowValues);
    m_currentRow.assign(rowValues, 0.0f);
    m_nextRow.assign(rowValues, 0.0f);
}

template <int Channels> void AreaDownscaler::reduceRow(const uchar* row) {
    float* out = m_reducedRow.data();
    for (const ColumnSpan& span : m_columns) {
        float sum[Channels] = {};
        const uchar* pixel = row + static_cast<ptrdiff_t>(span.firstSourceColumn) * Channels;
        const float* weight = m_columnWeights.data() + span.firstWeight;
        for (int i = 0; i < span.count; ++i, pixel += Channels) {
            for (int c = 0; c < Channels; ++c)
                sum[c] += weight[i] * static_cast<float>(pixel[c]);
        }
        for (int c = 0; c < Channels; ++c)
            *out++ = sum[c];
    }
}

void AreaDownscaler::accumulate(std::vector<float>& into, float weight) const {
    const size_t n = into.size();
    float* target = into.data();
    const float* reduced = m_reducedRow.data();
    for (size_t i = 0; i < n; ++i)
        target[i] += weight * reduced[i];
}

void AreaDownscaler::emitTargetRow() {
    uchar* out = m_target.scanLine(m_targetRow++);
    for (const float value : m_currentRow)
        *out++ = static_cast<uchar>(std::min(255.0f, value + 0.5f));
    m_currentRow.swap(m_nextRow);
    std::fill(m_nextRow.begin(), m_nextRow.end(), 0.0f);
}

void AreaDownscaler::addRow(const uchar* row) {
    if (m_channels == 4)
        reduceRow<4>(row);
    else
        reduceRow<1>(row);

    const qint64 sourceHeight = m_source.height();
    const qint64 targetHeight = m_target.height();
    const qint64 begin = m_sourceRow * targetHeight;
    const qint64 end = begin + targetHeight;
    const qint64 targetEnd = (m_targetRow + 1) * sourceHeight;
    const float scale = static_cast<float>(sourceHeight);
    // A source row lies within one target row or straddles the border of two, never more,
    // because the target is never taller than the source.
    accumulate(m_currentRow, static_cast<float>(std::min(end, targetEnd) - begin) / scale);
    if (end > targetEnd)
        accumulate(m_nextRow, static_cast<float>(end - targetEnd) / scale);
    if (end >= targetEnd)
        emitTargetRow();
    ++m_sourceRow;
}

} // namespace imaging::codecs
