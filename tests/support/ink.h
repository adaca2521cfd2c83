// Where a grabbed text has ink: pixels that stand out from the background, which the top-left
// corner of the grab shows.
#pragma once

#include <QImage>
#include <cstdlib>

namespace tovimar::testing {

// The first row, from the top, with a pixel well apart from the background; the height when none.
inline int firstInkRow(const QImage& img) {
    const int background = qGray(img.pixel(0, 0));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (std::abs(qGray(img.pixel(x, y)) - background) > 40)
                return y;
    return img.height();
}

}  // namespace tovimar::testing
