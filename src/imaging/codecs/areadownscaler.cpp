#include "imaging/codecs/areadownscaler.h"

#include <algorithm>
#include <cmath>

namespace imaging::codecs {

// Coordinates are kept in integers: along an axis of source length S and target length T, target
// pixel t covers [t*S, (t+1)*S) and source pixel s covers [s*T, (s+1)*T), both in units of
// 1/(S*T). Boundaries are then exact and every target pixel's weights add up to one.

AreaDownscaler::AreaDownscaler(QSize source, QImage& target)
    : source_(source), target_(target), channels_(target.depth() / 8)
{
    const qint64 sourceWidth = source.width();
    const qint64 targetWidth = target.width();
    columns_.reserve(target.width());
    for (qint64 x = 0; x < targetWidth; ++x) {
        const qint64 begin = x * sourceWidth;
        const qint64 end = begin + sourceWidth;
        const int first = static_cast<int>(begin / targetWidth);
        const int last = static_cast<int>((end - 1) / targetWidth);
        columns_.push_back({first, last - first + 1, static_cast<int>(columnWeights_.size())});
        for (qint64 s = first; s <= last; ++s) {
            const qint64 overlap = std::min(end, (s + 1) * targetWidth) - std::max(begin, s * targetWidth);
            columnWeights_.push_back(static_cast<float>(overlap) / static_cast<float>(sourceWidth));
        }
    }
    const size_t rowValues = static_cast<size_t>(target.width()) * static_cast<size_t>(channels_);
    reducedRow_.resize(rowValues);
    currentRow_.assign(rowValues, 0.0f);
    nextRow_.assign(rowValues, 0.0f);
}

template <int Channels> void AreaDownscaler::reduceRow(const uchar* row)
{
    float* out = reducedRow_.data();
    for (const ColumnSpan& span : columns_) {
        float sum[Channels] = {};
        const uchar* pixel = row + static_cast<ptrdiff_t>(span.firstSourceColumn) * Channels;
        const float* weight = columnWeights_.data() + span.firstWeight;
        for (int i = 0; i < span.count; ++i, pixel += Channels) {
            for (int c = 0; c < Channels; ++c)
                sum[c] += weight[i] * static_cast<float>(pixel[c]);
        }
        for (int c = 0; c < Channels; ++c)
            *out++ = sum[c];
    }
}

void AreaDownscaler::accumulate(std::vector<float>& into, float weight) const
{
    const size_t n = into.size();
    float* target = into.data();
    const float* reduced = reducedRow_.data();
    for (size_t i = 0; i < n; ++i)
        target[i] += weight * reduced[i];
}

void AreaDownscaler::emitTargetRow()
{
    uchar* out = target_.scanLine(targetRow_++);
    for (const float value : currentRow_)
        *out++ = static_cast<uchar>(std::min(255.0f, value + 0.5f));
    currentRow_.swap(nextRow_);
    std::fill(nextRow_.begin(), nextRow_.end(), 0.0f);
}

void AreaDownscaler::addRow(const uchar* row)
{
    if (channels_ == 4)
        reduceRow<4>(row);
    else
        reduceRow<1>(row);

    const qint64 sourceHeight = source_.height();
    const qint64 targetHeight = target_.height();
    const qint64 begin = sourceRow_ * targetHeight;
    const qint64 end = begin + targetHeight;
    const qint64 targetEnd = (targetRow_ + 1) * sourceHeight;
    const float scale = static_cast<float>(sourceHeight);
    // A source row lies within one target row or straddles the border of two, never more,
    // because the target is never taller than the source.
    accumulate(currentRow_, static_cast<float>(std::min(end, targetEnd) - begin) / scale);
    if (end > targetEnd)
        accumulate(nextRow_, static_cast<float>(end - targetEnd) / scale);
    if (end >= targetEnd)
        emitTargetRow();
    ++sourceRow_;
}

} // namespace imaging::codecs
