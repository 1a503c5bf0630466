#include "samplepictures.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <array>

namespace {

struct Scene {
    const char* name;
    QColor skyTop;
    QColor skyBottom;
    QColor land;
    QColor sun;
    double sunX; // 0..1 across the picture
    double sunY; // 0..1 down the picture
    bool water;
    const char* memo;
    std::vector<int> categories;
    bool marked;
};

// Category numbers used below: 1 Holiday, 2 Family, 3 Nature, 4 City, 5 Favourites.
const std::array<Scene, 12> scenes{{
    {"harbour.jpg",
     {255, 140, 60},
     {255, 220, 150},
     {60, 50, 70},
     {255, 250, 200},
     0.7,
     0.55,
     true,
     "Sunset over the harbour, the evening we arrived.",
     {1, 5},
     true},
    {"alps.jpg",
     {40, 110, 200},
     {180, 220, 250},
     {90, 110, 90},
     {255, 255, 230},
     0.2,
     0.2,
     false,
     "Morning in the mountains. Cold, clear and very quiet.",
     {1, 3},
     false},
    {"lake.png",
     {90, 150, 220},
     {200, 230, 255},
     {50, 120, 60},
     {255, 240, 160},
     0.5,
     0.25,
     true,
     "The lake behind grandma's house.",
     {2, 3},
     false},
    {"skyline.jpg",
     {20, 20, 60},
     {80, 60, 120},
     {30, 30, 40},
     {240, 240, 255},
     0.85,
     0.15,
     false,
     "City lights from the hotel roof.",
     {1, 4},
     true},
    {"meadow.jpg",
     {120, 190, 255},
     {220, 240, 255},
     {110, 170, 60},
     {255, 255, 180},
     0.3,
     0.18,
     false,
     "Wild flowers along the path, early June.",
     {3},
     false},
    {"beach.png",
     {70, 170, 240},
     {200, 235, 255},
     {230, 210, 150},
     {255, 255, 210},
     0.75,
     0.2,
     true,
     "First swim of the year. The water was freezing!",
     {1, 2, 5},
     false},
    {"storm.jpg",
     {60, 60, 70},
     {140, 140, 150},
     {70, 80, 70},
     {200, 200, 200},
     0.5,
     0.3,
     true,
     "Storm coming in over the dunes.",
     {3},
     false},
    {"garden.jpg",
     {150, 200, 255},
     {230, 245, 255},
     {60, 140, 50},
     {255, 250, 190},
     0.15,
     0.15,
     false,
     "Dad's garden, finally in bloom.",
     {2},
     true},
    {"bridge.jpg",
     {230, 120, 90},
     {250, 200, 170},
     {70, 60, 60},
     {255, 230, 180},
     0.4,
     0.45,
     true,
     "The old bridge at dusk.",
     {4, 5},
     false},
    {"snow.png",
     {170, 190, 220},
     {240, 245, 250},
     {235, 240, 245},
     {255, 255, 255},
     0.6,
     0.2,
     false,
     "Snow day. No school, lots of sledging.",
     {2, 3},
     false},
    {"desert.jpg",
     {240, 170, 90},
     {255, 230, 180},
     {200, 140, 80},
     {255, 255, 220},
     0.5,
     0.12,
     false,
     "Dunes at noon, 40 degrees in the shade.",
     {1},
     false},
    {"night.jpg",
     {5, 5, 25},
     {30, 30, 70},
     {15, 15, 25},
     {250, 250, 230},
     0.25,
     0.2,
     true,
     "Full moon over the bay.",
     {5},
     true},
}};

QImage paintScene(const Scene& scene, int index)
{
    constexpr int width = 480;
    constexpr int height = 320;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, scene.skyTop);
    sky.setColorAt(1, scene.skyBottom);
    painter.fillRect(image.rect(), sky);

    painter.setPen(Qt::NoPen);
    painter.setBrush(scene.sun);
    painter.drawEllipse(QPointF(scene.sunX * width, scene.sunY * height), 28, 28);

    // Rolling hills: a path whose height varies with the picture so no two look alike.
    QRandomGenerator random(static_cast<quint32>(index + 1));
    QPainterPath hills(QPointF(0, height));
    const double horizon = height * (scene.water ? 0.62 : 0.55);
    for (int x = 0; x <= width; x += 40)
        hills.lineTo(x, horizon - random.bounded(60));
    hills.lineTo(width, height);
    hills.closeSubpath();
    painter.setBrush(scene.land);
    painter.drawPath(hills);

    if (scene.water) {
        QLinearGradient sea(0, horizon + 30, 0, height);
        sea.setColorAt(0, scene.skyBottom.darker(130));
        sea.setColorAt(1, scene.skyTop.darker(160));
        painter.setBrush(sea);
        painter.drawRect(QRectF(0, horizon + 30, width, height - horizon - 30));
    }
    return image;
}

QByteArray encode(const QImage& image, const char* name)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool png = QByteArray(name).endsWith(".png");
    image.save(&buffer, png ? "PNG" : "JPEG", png ? -1 : 88);
    return bytes;
}

} // namespace

std::vector<SamplePicture> makeSamplePictures()
{
    std::vector<SamplePicture> pictures;
    int index = 0;
    for (const Scene& scene : scenes) {
        const QImage image = paintScene(scene, index++);
        pictures.push_back({QString::fromLatin1(scene.name), encode(image, scene.name), QString::fromUtf8(scene.memo),
                            scene.categories, scene.marked});
    }
    return pictures;
}

std::vector<QString> sampleCategoryNames()
{
    return {"Holiday", "Family", "Nature", "City", "Favourites"};
}
