#include "imaging/codecs/dxf_drawing.h"

#include "imaging/codecs/dxf_syntax.h"
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
#include <dime/Input.h>
#include <dime/Model.h>
#include <dime/State.h>
#include <mutex>
#include <numbers>
#include <QTemporaryFile>
#include <QTransform>

namespace imaging::codecs {

namespace {

constexpr double degrees = std::numbers::pi / 180.0;
constexpr double maxArcStep = 5.0 * degrees;

// Entities in object coordinates (circles, arcs, 2-D polylines, texts) whose extrusion points
// down are drawn mirrored, as CAD programs do for them.
bool mirrored(const dimeEntity& entity)
{
    const auto& extruded = static_cast<const dimeExtrusionEntity&>(entity);
    return extruded.getExtrusionDir().z < 0;
}

class Collector {
public:
    explicit Collector(DxfDrawing& drawing) : drawing_(drawing) {}

    static bool visit(const dimeState* const state, dimeEntity* entity, void* self)
    {
        static_cast<Collector*>(self)->add(*state, *entity);
        return true;
    }

private:
    static bool isFinite(QPointF point) { return std::isfinite(point.x()) && std::isfinite(point.y()); }

    // Damaged files can hold infinities and NaNs, which the painter must never see.
    void keep(QPolygonF path)
    {
        if (std::all_of(path.cbegin(), path.cend(), &Collector::isFinite))
            drawing_.paths.push_back(std::move(path));
    }

    QPointF toWorld(const dimeState& state, dimeVec3f point, bool mirror = false) const
    {
        if (mirror)
            point.x = -point.x;
        dimeVec3f world;
        state.getMatrix().multMatrixVec(point, world);
        return {world.x, world.y};
    }

    void addArc(const dimeState& state, const dimeEntity& entity, dimeVec3f centre, double radius, double start,
                double sweep)
    {
        const int steps = std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / maxArcStep)));
        QPolygonF path;
        for (int i = 0; i <= steps; ++i) {
            const double angle = start + sweep * i / steps;
            const dimeVec3f point(centre.x + static_cast<float>(radius * std::cos(angle)),
                                  centre.y + static_cast<float>(radius * std::sin(angle)), centre.z);
            path << toWorld(state, point, mirrored(entity));
        }
        keep(std::move(path));
    }

    void addLine(const dimeState& state, const dimeLine& line)
    {
        keep(QPolygonF{toWorld(state, line.getCoords(0)), toWorld(state, line.getCoords(1))});
    }

    // A bulge is the tangent of a quarter of the arc's angle between two vertices; zero means
    // a straight piece.
    void addLwPolyline(const dimeState& state, const dimeLWPolyline& polyline)
    {
        const int count = polyline.getNumVertices();
        if (count < 2)
            return;
        const bool closed = (polyline.getFlags() & 1) != 0;
        const auto vertex = [&](int i) {
            return QPointF(polyline.getXCoords()[i % count], polyline.getYCoords()[i % count]);
        };
        const dxfdouble* bulges = polyline.getBulges();
        QPolygonF path{vertex(0)};
        for (int i = 0; i < count - (closed ? 0 : 1); ++i) {
            const QPointF from = vertex(i);
            const QPointF to = vertex(i + 1);
            const double bulge = bulges != nullptr ? bulges[i] : 0.0;
            const double sweep = 4.0 * std::atan(bulge);
            const int steps = bulge == 0.0 ? 1 : std::max(2, static_cast<int>(std::ceil(std::abs(sweep) / maxArcStep)));
            for (int step = 1; step <= steps; ++step)
                path << pointOnBulge(from, to, bulge, double(step) / steps);
        }
        QPolygonF world;
        for (const QPointF& point : path)
            world << toWorld(state, dimeVec3f(float(point.x()), float(point.y()), 0.0f), mirrored(polyline));
        keep(std::move(world));
    }

    static QPointF pointOnBulge(QPointF from, QPointF to, double bulge, double fraction)
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

    void addPolyline(const dimeState& state, dimePolyline& polyline)
    {
        if (polyline.getType() != dimePolyline::POLYLINE)
            return; // meshes are 3-D surfaces, not drawings
        const bool flat = (polyline.getFlags() & dimePolyline::IS_POLYLINE_3D) == 0;
        QPolygonF path;
        for (int i = 0; i < polyline.getNumCoordVertices(); ++i)
            path << toWorld(state, polyline.getCoordVertex(i)->getCoords(), flat && mirrored(polyline));
        if ((polyline.getFlags() & dimePolyline::CLOSED) != 0 && !path.isEmpty())
            path << path.first();
        if (path.size() >= 2)
            keep(std::move(path));
    }

    void addText(const dimeState& state, const dimeText& text)
    {
        const char* string = text.getTextString();
        if (string == nullptr || *string == '\0')
            return;
        dimeVec3f origin;
        text.getOrigin(origin);
        const QPointF world = toWorld(state, origin, mirrored(text));
        // Scale and turn of an inserting block apply to the text as well.
        const QPointF unitX = toWorld(state, dimeVec3f(origin.x + 1, origin.y, origin.z), mirrored(text)) - world;
        const double blockScale = std::hypot(unitX.x(), unitX.y());
        const double blockAngle = std::atan2(unitX.y(), unitX.x()) / degrees;
        DxfText shown{world, text.getHeight() * blockScale, text.getRotation() + blockAngle, decodeText(string)};
        if (isFinite(shown.origin) && std::isfinite(shown.height) && std::isfinite(shown.angleDegrees))
            drawing_.texts.push_back(std::move(shown));
    }

    // DXF text is UTF-8 in newer files, the Windows code page (close to Latin-1) in older ones,
    // with %% codes for a few symbols.
    static QString decodeText(QByteArrayView raw)
    {
        QString text = raw.isValidUtf8() ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
        text.replace(QLatin1String("%%d"), QStringLiteral("°"), Qt::CaseInsensitive);
        text.replace(QLatin1String("%%p"), QStringLiteral("±"), Qt::CaseInsensitive);
        text.replace(QLatin1String("%%c"), QStringLiteral("⌀"), Qt::CaseInsensitive);
        text.replace(QLatin1String("%%%"), QStringLiteral("%"));
        return text;
    }

    void add(const dimeState& state, dimeEntity& entity)
    {
        switch (entity.typeId()) {
        case dimeBase::dimeLineType:
            addLine(state, static_cast<const dimeLine&>(entity));
            break;
        case dimeBase::dimeLWPolylineType:
            addLwPolyline(state, static_cast<const dimeLWPolyline&>(entity));
            break;
        case dimeBase::dimePolylineType:
            addPolyline(state, static_cast<dimePolyline&>(entity));
            break;
        case dimeBase::dimeCircleType: {
            const auto& circle = static_cast<const dimeCircle&>(entity);
            addArc(state, entity, circle.getCenter(), circle.getRadius(), 0.0, 2.0 * std::numbers::pi);
            break;
        }
        case dimeBase::dimeArcType: {
            const auto& arc = static_cast<const dimeArc&>(entity);
            dimeVec3f centre;
            arc.getCenter(centre);
            double sweep = arc.getEndAngle() - arc.getStartAngle();
            if (sweep <= 0.0)
                sweep += 360.0; // arcs always run counter-clockwise from start to end
            addArc(state, entity, centre, arc.getRadius(), arc.getStartAngle() * degrees, sweep * degrees);
            break;
        }
        case dimeBase::dimeTextType:
            addText(state, static_cast<const dimeText&>(entity));
            break;
        default:
            break;
        }
    }

    DxfDrawing& drawing_;
};

int reportReading(float fraction, void* progress)
{
    auto* reading = static_cast<Progress*>(progress);
    reading->report(static_cast<int>(fraction * 90.0f));
    return reading->cancelRequested() ? 0 : 1; // zero makes libdime stop reading
}

} // namespace

QRectF DxfDrawing::extent() const
{
    QRectF extent;
    const auto include = [&extent](const QRectF& box) { extent = extent.isNull() ? box : extent.united(box); };
    for (const QPolygonF& path : paths)
        include(path.boundingRect());
    for (const DxfText& text : texts) {
        const QRectF box(0.0, 0.0, 0.6 * text.height * static_cast<double>(text.text.size()), text.height);
        include(QTransform().translate(text.origin.x(), text.origin.y()).rotate(text.angleDegrees).mapRect(box));
    }
    return extent;
}

DxfDrawing readDxf(QByteArrayView bytes, Progress& progress)
{
    const auto damaged = [](const QString& reason) {
        return Error(ErrorCode::DamagedPicture, QStringLiteral("The DXF drawing cannot be read: %1").arg(reason));
    };
    checkDxfSyntax(bytes);
    // libdime reads from files only.
    QTemporaryFile file;
    if (!file.open() || file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        throw damaged(file.errorString());

    // libdime keeps static state of its own (a lazily made default layer, shared buffers), so
    // drawings are read one at a time.
    static std::mutex libdimeInUse;
    const std::lock_guard lock(libdimeInUse);
    dimeInput input;
    if (!input.setFile(QFile::encodeName(file.fileName()).constData()))
        throw damaged(QStringLiteral("the file cannot be opened"));
    input.setCallback(&reportReading, &progress);
    dimeModel model;
    const bool read = model.read(&input);
    if (progress.cancelRequested())
        progress.throwCancelled();
    if (!read)
        throw damaged(QStringLiteral("it is not a valid DXF file"));

    DxfDrawing drawing;
    Collector collector(drawing);
    model.traverseEntities(&Collector::visit, &collector, false, true, false);
    if (drawing.paths.empty() && drawing.texts.empty())
        throw damaged(QStringLiteral("it holds nothing to draw"));
    return drawing;
}

} // namespace imaging::codecs
