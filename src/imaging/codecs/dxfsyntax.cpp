#include "imaging/codecs/dxfsyntax.h"

#include "imaging/codecs/dxfgroups.h"

namespace imaging::codecs {

namespace {

constexpr int lwPolylineVertexCount = 90;

bool isLwPolylineVertexGroup(int code)
{
    return code == 10 || code == 20 || code == 40 || code == 41 || code == 42;
}

// libdime makes a lightweight polyline's coordinate arrays as long as its declared vertex
// count when it meets the first vertex, and reads them by that count afterwards. So the count
// must come once, before the vertices, and promise no more of them than follow: otherwise
// libdime takes gigabytes for a few bytes (2^31 vertices declared), or reads and writes past
// its arrays.
class LwPolylineCheck {
public:
    void start() { *this = LwPolylineCheck(); }

    // Returns what is wrong with the group, nothing when it fits.
    const char* add(const DxfGroup& group)
    {
        if (group.code == lwPolylineVertexCount) {
            if (declared_ >= 0 || xs_ > 0 || ys_ > 0)
                return "declares a polyline's vertex count again or after its vertices";
            declared_ = group.number;
        } else if (isLwPolylineVertexGroup(group.code)) {
            if (declared_ < 0)
                return "holds a polyline vertex before the vertex count";
            xs_ += group.code == 10;
            ys_ += group.code == 20;
        }
        return nullptr;
    }
    const char* end() const
    {
        return declared_ > xs_ || declared_ > ys_ ? "ends a polyline with fewer vertices than it declares" : nullptr;
    }

private:
    double declared_ = -1;
    double xs_ = 0;
    double ys_ = 0;
};

} // namespace

void checkDxfSyntax(QByteArrayView dxf)
{
    DxfGroups groups(dxf);
    bool inSection = false;
    bool first = true;
    bool inLwPolyline = false;
    LwPolylineCheck polyline;
    for (std::optional<DxfGroup> group = groups.next(); group; group = groups.next()) {
        if (group->code == 999 && !groups.isBinary())
            continue; // comments, which libdime skips in text files
        // libdime tells binary files' two kinds of group codes apart by the first group, and
        // stops the program when that is not a 0.
        if (first && group->code != 0)
            groups.refuse("lies outside any section");
        first = false;
        if (group->code != 0) {
            if (const char* wrong = inLwPolyline ? polyline.add(*group) : nullptr)
                groups.refuse(wrong);
            continue;
        }
        if (const char* wrong = inLwPolyline ? polyline.end() : nullptr)
            groups.refuse(wrong);
        inLwPolyline = group->text == "LWPOLYLINE";
        polyline.start();
        if (group->text == "SECTION") {
            if (inSection)
                groups.refuse("starts a section inside a section");
            inSection = true;
        } else if (group->text == "ENDSEC") {
            if (!inSection)
                groups.refuse("ends a section that was not started");
            inSection = false;
        } else if (group->text == "EOF") {
            return;
        } else if (!inSection) {
            groups.refuse("lies outside any section");
        }
    }
    // libdime stops the program at a binary file that ends right after its sentinel.
    if (first)
        groups.refuse("holds no groups");
    if (inSection)
        groups.refuse("ends the file inside a section");
}

} // namespace imaging::codecs
