#include "hostile_pictures.h"

#include "fixtures.h"

#include <QSize>
#include <QStringList>

namespace hostile {

namespace {

// "code\nvalue\n" for each pair.
QString groups(const std::vector<std::pair<int, QString>>& pairs)
{
    QString text;
    for (const auto& [code, value] : pairs)
        text += QStringLiteral("%1\n%2\n").arg(code).arg(value);
    return text;
}

QString block(const QString& name, const QString& entities)
{
    return groups({{0, "BLOCK"}, {8, "0"}, {2, name}, {70, "0"}, {10, "0"}, {20, "0"}, {30, "0"}}) + entities +
           groups({{0, "ENDBLK"}, {8, "0"}});
}

QString insert(const QString& blockName, double x, double y, const std::vector<std::pair<int, QString>>& extra = {})
{
    return groups({{0, "INSERT"},
                   {8, "0"},
                   {2, blockName},
                   {10, QString::number(x)},
                   {20, QString::number(y)},
                   {30, "0"}}) +
           groups(extra);
}

const QString unitLine =
    groups({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "1"}, {31, "0"}});

QByteArray drawing(const QString& blocks, const QString& entities)
{
    QString text;
    if (!blocks.isEmpty())
        text += groups({{0, "SECTION"}, {2, "BLOCKS"}}) + blocks + groups({{0, "ENDSEC"}});
    text += groups({{0, "SECTION"}, {2, "ENTITIES"}}) + entities + groups({{0, "ENDSEC"}, {0, "EOF"}});
    return text.toLatin1();
}

QByteArray eps(const char* program)
{
    return QByteArray("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 100\n%%EndComments\n") + program;
}

} // namespace

QByteArray selfInsertingBlock()
{
    return drawing(block("LOOP", insert("LOOP", 1, 1)), insert("LOOP", 0, 0));
}

QByteArray polylineDeclaringBillionsOfVertices()
{
    return drawing(
        {},
        groups(
            {{0, "LWPOLYLINE"}, {8, "0"}, {90, "2147483647"}, {70, "0"}, {10, "0"}, {20, "0"}, {10, "1"}, {20, "1"}}));
}

QByteArray insertArray()
{
    return drawing(block("CELL", unitLine), insert("CELL", 0, 0, {{70, "32767"}, {71, "32767"}, {44, "2"}, {45, "2"}}));
}

QByteArray nestedInserts(int levels)
{
    constexpr int copies = 20;
    const auto twenty = [](const QString& name) {
        QString inserts;
        for (int i = 0; i < copies; ++i)
            inserts += insert(name, 2 * i, 0);
        return inserts;
    };
    QString blocks = block("LEVEL0", unitLine);
    for (int level = 1; level < levels; ++level)
        blocks += block(QStringLiteral("LEVEL%1").arg(level), twenty(QStringLiteral("LEVEL%1").arg(level - 1)));
    return drawing(blocks, twenty(QStringLiteral("LEVEL%1").arg(levels - 1)));
}

QByteArray arcOfBillionDegrees()
{
    return drawing(
        {}, groups({{0, "ARC"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {40, "1"}, {50, "0"}, {51, "1000000000"}}));
}

std::vector<Picture> drawings()
{
    return {{"self-inserting-block.dxf", selfInsertingBlock()},
            {"polyline-declaring-billions-of-vertices.dxf", polylineDeclaringBillionsOfVertices()},
            {"insert-array.dxf", insertArray()},
            {"nested-inserts.dxf", nestedInserts()},
            {"arc-of-billion-degrees.dxf", arcOfBillionDegrees()}};
}

QByteArray metafileFilledOverAndOver()
{
    return fixtures::filledManyTimesMetafile({4000, 4000}, 15000);
}

QByteArray endlesslyPrintingEps()
{
    return eps("{ (All work and no play makes a picture that never shows.\\n) print } loop\n");
}

QByteArray memoryHungryEps()
{
    return eps("[ 0 1 24000 { pop 65000 string } for ] pop 0 0 100 100 rectfill showpage\n");
}

QByteArray endlessEps()
{
    return eps("{ } loop\n");
}

std::vector<Picture> postScripts()
{
    return {{"endlessly-printing.eps", endlesslyPrintingEps()},
            {"memory-hungry.eps", memoryHungryEps()},
            {"endless.eps", endlessEps()}};
}

} // namespace hostile
