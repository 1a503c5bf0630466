// Shrinks a picture that arrives row by row, averaging the source area under each target pixel
// (a box filter with exact coverage). Used after the JPEG decoder's own reduction, which leaves
// at most a factor of two to go, and for every other format's fit; streaming means no full-size
// copy of the picture is ever held.
#pragma once

#include <QImage>
#include <QSize>
#include <vector>

namespace imaging::codecs {

class AreaDownscaler {
public:
    // target is allocated with the output size and a 1- or 4-byte-per-pixel format; source rows
    // use the same pixel layout. The output is never larger than the source.
    AreaDownscaler(QSize source, QImage& target);

    // Rows must come in order, all of them.
    void addRow(const uchar* row);

private:
    struct ColumnSpan {
        int firstSourceColumn;
        int count;
        int firstWeight;
    };

    template <int Channels> void reduceRow(const uchar* row);
    void accumulate(std::vector<float>& into, float weight) const;
    void emitTargetRow();

    QSize source_;
    QImage& target_;
    int channels_;
    std::vector<ColumnSpan> columns_;
    std::vector<float> columnWeights_;
    std::vector<float> reducedRow_;
    std::vector<float> currentRow_;
    std::vector<float> nextRow_;
    int sourceRow_ = 0;
    int targetRow_ = 0;
};

} // namespace imaging::codecs
