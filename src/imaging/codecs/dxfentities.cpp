#include "imaging/codecs/dxfentities.h"

#include "imaging/error.h"

#include <algorithm>
#include <cmath>
#include <dime/entities/Arc.h>
#include <dime/entities/Circle.h>
#include <dime/entities/Line.h>
#include <dime/entities/LWPolyline.h>
#include <dime/entities/Polyline.h>
#include <dime/entities/Text.h>
#include <dime/entities/Vertex.h>
#include <numbers>

namespace imaging::codecs {

namespace {

constexpr double degrees = std::numbers::pi / 180.0;
constexpr double maxArcStep = 5.0 * degrees;
// How often the work is checked for a cancel request: cheap enough for every entity, and
// still well under a millisecond between checks.
constexpr qint64 cancelCheckInterval = 1024;

Error tooLarge(const QString& what)
{
    return Error(ErrorCode::TooLarge, QStringLiteral("The DXF drawing is too large to show: %1").arg(what));
}

// Pieces an arc of `sweep` radians is drawn with.
int arcSteps(double sweep)
{
    return std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / maxArcStep)));
}

// Angles in degrees as a start in [0, 360) and a counter-clockwise sweep in (0, 360]: DXF
// arcs always run counter-clockwise from start to end, and any number of whole turns in the
// angles changes nothing (an end angle of 10^9 degrees is one of 280).
std::pair<double, double> arcAngles(double start, double end)
{
    const double from = std::fmod(start, 360.0);
    double sweep = std::fmod(std::fmod(end, 360.0) - from, 360.0);
    if (sweep <= 0.0)
        sweep += 360.0;
    return {from, sweep};
}

// Entities in object coordinates (circles, arcs, 2-D polylines, texts) whose extrusion points
// down are drawn mirrored, as CAD programs do for them.
bool mirrored(const dimeEntity& entity)
{
    const auto& extruded = static_cast<const dimeExtrusionEntity&>(entity);
    return extruded.getExtrusionDir().z < 0;
}

bool isFinite(QPointF point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

// A bulge is the tangent of a quarter of the arc's angle between two vertices; zero means a
// straight piece.
QPointF pointOnBulge(QPointF from, QPointF to, double bulge, double fraction)
{
    if (bulge == 0.0)
        return from + (to - from) * fraction;
    const QPointF chord = to - from;
    const double sweep = 4.0 * std::atan(bulge);
    const double length = std::hypot(chord.x(), chord.y());
    const double radius = length / (2.0 * std::sin(sweep / 2.0));
    // The centre lies on the chord's perpendicular bisector, on the left for positive bulges.
    const double offset = radius * std::cos(sweep / 2.0);
    const QPointF middle = (from + to) / 2.0;
    const QPointF normal(-chord.y() / length, chord.x() / length);
    const QPointF centre = middle + normal * offset;
    const double start = std::atan2(from.y() - centre.y(), from.x() - centre.x());
    const double angle = start + sweep * fraction;
    return centre + QPointF(std::cos(angle), std::sin(angle)) * std::abs(radius);
}

// DXF text is UTF-8 in newer files, the Windows code page (close to Latin-1) in older ones,
// with %% codes for a few symbols.
QString decodeText(QByteArrayView raw)
{
    QString text = raw.isValidUtf8() ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
    text.replace(QLatin1String("%%d"), QStringLiteral("°"), Qt::CaseInsensitive);
    text.replace(QLatin1String("%%p"), QStringLiteral("±"), Qt::CaseInsensitive);
    text.replace(QLatin1String("%%c"), QStringLiteral("⌀"), Qt::CaseInsensitive);
    text.replace(QLatin1String("%%%"), QStringLiteral("%"));
    return text;
}

class EntityReader {
public:
    EntityReader(const dimeMatrix& toWorld, DxfDrawing& drawing, DxfWork& work)
        : toWorld_(toWorld), drawing_(drawing), work_(work)
    {}

    void add(dimeEntity& entity)
    {
        switch (entity.typeId()) {
        case dimeBase::dimeLineType:
            addLine(static_cast<const dimeLine&>(entity));
            break;
        case dimeBase::dimeLWPolylineType:
            addLwPolyline(static_cast<const dimeLWPolyline&>(entity));
            break;
        case dimeBase::dimePolylineType:
            addPolyline(static_cast<dimePolyline&>(entity));
            break;
        case dimeBase::dimeCircleType: {
            const auto& circle = static_cast<const dimeCircle&>(entity);
            addArc(entity, circle.getCenter(), circle.getRadius(), 0.0, 2.0 * std::numbers::pi);
            break;
        }
        case dimeBase::dimeArcType: {
            const auto& arc = static_cast<const dimeArc&>(entity);
            dimeVec3f centre;
            arc.getCenter(centre);
            const auto [start, sweep] = arcAngles(arc.getStartAngle(), arc.getEndAngle());
            addArc(entity, centre, arc.getRadius(), start * degrees, sweep * degrees);
            break;
        }
        case dimeBase::dimeTextType:
            addText(static_cast<const dimeText&>(entity));
            break;
        default:
            break;
        }
    }

private:
    // Damaged files can hold infinities and NaNs, which the painter must never see.
    void keep(QPolygonF path)
    {
        if (std::all_of(path.cbegin(), path.cend(), &isFinite))
            drawing_.paths.push_back(std::move(path));
    }

    QPointF toWorld(dimeVec3f point, bool mirror = false) const
    {
        if (mirror)
            point.x = -point.x;
        dimeVec3f world;
        toWorld_.multMatrixVec(point, world);
        return {world.x, world.y};
    }

    void addArc(const dimeEntity& entity, dimeVec3f centre, double radius, double start, double sweep)
    {
        const int steps = arcSteps(sweep);
        work_.points(steps + 1);
        QPolygonF path;
        path.reserve(steps + 1);
        for (int i = 0; i <= steps; ++i) {
            const double angle = start + sweep * i / steps;
            const dimeVec3f point(centre.x + static_cast<float>(radius * std::cos(angle)),
                                  centre.y + static_cast<float>(radius * std::sin(angle)), centre.z);
            path << toWorld(point, mirrored(entity));
        }
        keep(std::move(path));
    }

    void addLine(const dimeLine& line)
    {
        work_.points(2);
        keep(QPolygonF{toWorld(line.getCoords(0)), toWorld(line.getCoords(1))});
    }

    void addLwPolyline(const dimeLWPolyline& polyline)
    {
        const int count = polyline.getNumVertices();
        const dxfdouble* xs = polyline.getXCoords();
        const dxfdouble* ys = polyline.getYCoords();
        if (count < 2 || xs == nullptr || ys == nullptr)
            return;
        const bool closed = (polyline.getFlags() & 1) != 0;
        const int pieces = count - (closed ? 0 : 1);
        const dxfdouble* bulges = polyline.getBulges();
        const auto bulge = [bulges](int i) { return bulges != nullptr ? bulges[i] : 0.0; };
        const auto stepsOf = [](double b) { return b == 0.0 ? 1 : arcSteps(4.0 * std::atan(b)); };
        qint64 points = 1;
        for (int i = 0; i < pieces; ++i)
            points += stepsOf(bulge(i));
        work_.points(points); // before the memory is taken: bulges turn each piece into up to 72
        const auto vertex = [&](int i) { return QPointF(xs[i % count], ys[i % count]); };
        QPolygonF path;
        path.reserve(points);
        path << vertex(0);
        for (int i = 0; i < pieces; ++i) {
            const int steps = stepsOf(bulge(i));
            for (int step = 1; step <= steps; ++step)
                path << pointOnBulge(vertex(i), vertex(i + 1), bulge(i), double(step) / steps);
        }
        for (QPointF& point : path)
            point = toWorld(dimeVec3f(float(point.x()), float(point.y()), 0.0f), mirrored(polyline));
        keep(std::move(path));
    }

    void addPolyline(dimePolyline& polyline)
    {
        if (polyline.getType() != dimePolyline::POLYLINE)
            return; // meshes are 3-D surfaces, not drawings
        const bool flat = (polyline.getFlags() & dimePolyline::IS_POLYLINE_3D) == 0;
        const int count = polyline.getNumCoordVertices();
        work_.points(count + 1);
        QPolygonF path;
        path.reserve(count + 1);
        for (int i = 0; i < count; ++i)
            path << toWorld(polyline.getCoordVertex(i)->getCoords(), flat && mirrored(polyline));
        if ((polyline.getFlags() & dimePolyline::CLOSED) != 0 && !path.isEmpty())
            path << path.first();
        if (path.size() >= 2)
            keep(std::move(path));
    }

    void addText(const dimeText& text)
    {
        const char* string = text.getTextString();
        if (string == nullptr || *string == '\0')
            return;
        const QByteArrayView raw(string);
        work_.characters(raw.size());
        dimeVec3f origin;
        text.getOrigin(origin);
        const QPointF world = toWorld(origin, mirrored(text));
        // Scale and turn of an inserting block apply to the text as well.
        const QPointF unitX = toWorld(dimeVec3f(origin.x + 1, origin.y, origin.z), mirrored(text)) - world;
        const double blockScale = std::hypot(unitX.x(), unitX.y());
        const double blockAngle = std::atan2(unitX.y(), unitX.x()) / degrees;
        DxfText shown{world, text.getHeight() * blockScale, text.getRotation() + blockAngle, decodeText(raw)};
        if (isFinite(shown.origin) && std::isfinite(shown.height) && std::isfinite(shown.angleDegrees))
            drawing_.texts.push_back(std::move(shown));
    }

    const dimeMatrix& toWorld_;
    DxfDrawing& drawing_;
    DxfWork& work_;
};

} // namespace

void DxfWork::visit()
{
    if (++entities_ > DxfLimits::entities) {
        throw tooLarge(QStringLiteral("it has more than %1 entities, counting every copy of an inserted block")
                           .arg(DxfLimits::entities));
    }
    if (entities_ % cancelCheckInterval == 0 && progress_.cancelRequested())
        progress_.throwCancelled();
}

void DxfWork::points(qint64 count)
{
    points_ += count;
    if (points_ > DxfLimits::points)
        throw tooLarge(QStringLiteral("its lines have more than %1 points").arg(DxfLimits::points));
}

void DxfWork::characters(qint64 count)
{
    characters_ += count;
    if (characters_ > DxfLimits::textCharacters)
        throw tooLarge(QStringLiteral("its texts have more than %1 characters").arg(DxfLimits::textCharacters));
}

void addDxfEntity(const dimeMatrix& toWorld, dimeEntity& entity, DxfDrawing& drawing, DxfWork& work)
{
    EntityReader(toWorld, drawing, work).add(entity);
}

} // namespace imaging::codecs
