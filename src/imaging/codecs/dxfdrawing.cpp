#include "imaging/codecs/dxfdrawing.h"

#include "imaging/codecs/dxfentities.h"
#include "imaging/codecs/dxfgroups.h"
#include "imaging/codecs/dxfsyntax.h"
#include "imaging/error.h"

#include <dime/entities/Block.h>
#include <dime/entities/Insert.h>
#include <dime/Input.h>
#include <dime/Model.h>
#include <dime/sections/EntitiesSection.h>
#include <mutex>
#include <QTemporaryFile>
#include <QTransform>

namespace imaging::codecs {

namespace {

Error damaged(const QString& reason)
{
    return Error(ErrorCode::DamagedPicture, QStringLiteral("The DXF drawing cannot be read: %1").arg(reason));
}

dimeParam record(const dimeEntity& entity, int code)
{
    dimeParam value{};
    entity.getRecord(code, value);
    return value;
}

// Where an insert puts its block's contents: the insert's own coordinate system, insertion
// point, scale and turn, with the block's base point at the insertion point (the placement
// libdime itself uses when it explodes inserts).
dimeMatrix insertPlacement(const dimeInsert& insert, const dimeBlock& block)
{
    dimeMatrix placement = dimeMatrix::identity();
    const dimeVec3f extrusion(record(insert, 210).double_data, record(insert, 220).double_data,
                              record(insert, 230).double_data);
    dimeMatrix step;
    if (extrusion != dimeVec3f(0, 0, 1)) {
        dimeEntity::generateUCS(extrusion, step);
        placement.multRight(step);
    }
    step.makeIdentity();
    step.setTranslate(insert.getInsertionPoint());
    placement.multRight(step);
    step.setTransform(dimeVec3f(0, 0, 0), insert.getScale(), dimeVec3f(0, 0, insert.getRotAngle()));
    placement.multRight(step);
    step.makeIdentity();
    step.setTranslate(-block.getBasePoint());
    placement.multRight(step);
    return placement;
}

// Walks the entities and, unlike libdime's own traversal, the inserted blocks with bounded
// depth and work: a block may insert itself, or be inserted billions of times.
class Traversal {
public:
    Traversal(DxfDrawing& drawing, DxfWork& work) : drawing_(drawing), work_(work) {}

    void entities(dimeModel& model)
    {
        auto* section = static_cast<dimeEntitiesSection*>(model.findSection("ENTITIES"));
        if (section == nullptr)
            return;
        const dimeMatrix identity = dimeMatrix::identity();
        const int count = section->getNumEntities();
        for (int i = 0; i < count; ++i) {
            work_.progress().report(90 + 5 * i / count);
            visit(identity, *section->getEntity(i), 0);
        }
    }

private:
    void visit(const dimeMatrix& toWorld, dimeEntity& entity, int depth)
    {
        work_.visit();
        if (entity.isDeleted())
            return;
        if (entity.typeId() == dimeBase::dimeInsertType)
            insert(toWorld, static_cast<dimeInsert&>(entity), depth);
        else
            addDxfEntity(toWorld, entity, drawing_, work_);
    }

    // An insert may repeat its block in rows and columns.
    void insert(const dimeMatrix& toWorld, const dimeInsert& insert, int depth)
    {
        dimeBlock* block = insert.getBlock();
        if (block == nullptr)
            return;
        if (depth >= DxfLimits::blockDepth) {
            throw damaged(QStringLiteral("its blocks insert each other more than %1 deep (or a block inserts itself)")
                              .arg(DxfLimits::blockDepth));
        }
        const int columns = record(insert, 70).int16_data;
        const int rows = record(insert, 71).int16_data;
        const dxfdouble columnSpacing = record(insert, 44).double_data;
        const dxfdouble rowSpacing = record(insert, 45).double_data;
        const dimeMatrix placement = insertPlacement(insert, *block);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                work_.visit();
                dimeMatrix copy = toWorld;
                dimeMatrix offset = dimeMatrix::identity();
                offset.setTranslate(dimeVec3f(static_cast<dxfdouble>(column) * columnSpacing,
                                              static_cast<dxfdouble>(row) * rowSpacing, 0));
                copy.multRight(offset);
                copy.multRight(placement);
                for (int i = 0; i < block->getNumEntities(); ++i)
                    visit(copy, *block->getEntity(i), depth + 1);
            }
        }
    }

    DxfDrawing& drawing_;
    DxfWork& work_;
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
    const QByteArrayView dxf = withoutByteOrderMark(bytes);
    if (dxf.size() > DxfLimits::fileBytes) {
        throw Error(ErrorCode::TooLarge, QStringLiteral("The DXF drawing is too large to show: more than %1 MB")
                                             .arg(DxfLimits::fileBytes / (1024 * 1024)));
    }
    checkDxfSyntax(dxf);
    // libdime reads from files only.
    QTemporaryFile file;
    if (!file.open() || file.write(dxf.data(), dxf.size()) != dxf.size() || !file.flush())
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
    DxfWork work(progress);
    Traversal(drawing, work).entities(model);
    if (drawing.paths.empty() && drawing.texts.empty())
        throw damaged(QStringLiteral("it holds nothing to draw"));
    return drawing;
}

} // namespace imaging::codecs
