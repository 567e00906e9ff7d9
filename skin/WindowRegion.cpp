#include "WindowRegion.h"

std::vector<QRect> NonKeyRuns(const QImage& image, QRgb key)
{
    std::vector<QRect> runs;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const QRgb keyRgb = key & 0xFFFFFF;
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && (row[x] & 0xFFFFFF) == keyRgb)
                ++x;
            const int start = x;
            while (x < pixels.width() && (row[x] & 0xFFFFFF) != keyRgb)
                ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    return runs;
}

QRegion RegionFromBitmap(const QImage& image, QRgb key)
{
    const std::vector<QRect> runs = NonKeyRuns(image, key);
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}
