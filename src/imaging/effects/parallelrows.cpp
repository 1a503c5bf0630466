#include "imaging/effects/parallelrows.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "imaging/codecs/progress.h"

namespace imaging::effects {

void forEachRow(int height, const TaskControl& control, const std::function<void(int y)>& row)
{
    codecs::Progress progress(control, QStringLiteral("Applying the effect"));
    const int bands = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(1, height));
    std::atomic_bool stop{false};
    // The first band runs here and speaks for all: bands are of equal size and go at one pace.
    const auto band = [&](int index, bool reporting) {
        const int first = height * index / bands;
        const int last = height * (index + 1) / bands;
        for (int y = first; y < last && !stop; ++y) {
            if (reporting) {
                if (progress.cancelRequested())
                    stop = true;
                progress.report(y - first, last - first);
            }
            row(y);
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int index = 1; index < bands; ++index)
            helpers.emplace_back(band, index, false);
        band(0, true);
    }
    if (stop || progress.cancelRequested())
        progress.throwCancelled();
    progress.report(100);
}

} // namespace imaging::effects
